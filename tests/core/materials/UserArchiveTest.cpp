// The archive of an installed program: the shipped file read until the user
// has one, the editor's save going to the user's file, never to the shipped.
#include "common/FileError.h"
#include "materials/MaterialArchive.h"
#include "support/TestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace camini;
using camini::test::TempDir;

namespace {

std::string oneMaterial(const std::string& description) {
    std::string s = description + "\r\n     20\r\n 0.0400\r\n";
    for (int k = 1; k < MaxPoints; ++k)
        s += "      0\r\n 0.0000\r\n";
    return s;
}

} // namespace

TEST(UserArchive, ReadsTheShippedFileUntilTheFirstSaveMakesTheUsersOwn) {
    TempDir dir;
    const std::string shipped = dir.file("share/materiali.TXT");
    const std::string user = dir.file("xdg/camini/materiali.TXT");
    std::filesystem::create_directory(dir.file("share"));
    test::writeFile(shipped, oneMaterial("fornito"));
    MaterialArchive a(user, shipped);

    a.load();
    EXPECT_EQ(a.description(1), "fornito");
    a.material(1).description = "mio";
    a.save();
    EXPECT_EQ(test::readFile(shipped), oneMaterial("fornito"));
    EXPECT_EQ(test::readFile(user).substr(0, 5), "mio\r\n");
    struct stat st;
    ASSERT_EQ(::stat(dir.file("xdg/camini").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0700u);

    a.material(1).description = "in memoria";
    a.load(); // the editor's next opening
    EXPECT_EQ(a.description(1), "mio");
    EXPECT_EQ(a.readPath(), user);
}

TEST(UserArchive, FailuresNameTheFileThatFailed) {
    TempDir dir;
    const std::string shipped = dir.file("materiali.TXT");
    test::writeFile(shipped, oneMaterial("fornito"));
    test::writeFile(dir.file("file"), "");
    std::filesystem::create_directories(dir.file("folder/materiali.TXT"));
    struct Case {
        const char* name;
        std::string user;
        const char* operation;
        std::string error;
    };
    const Case cases[] = {
        {"no home: the shipped archive is not written", "", "save",
         "File access denied: " + shipped},
        {"a file where the user's folder goes", dir.file("file/camini/materiali.TXT"), "save",
         "Not a directory: " + dir.file("file/camini")},
        {"a user's archive that is there but unreadable is not passed over",
         dir.file("folder/materiali.TXT"), "load",
         "Is a directory: " + dir.file("folder/materiali.TXT")},
    };
    for (const Case& c : cases) {
        MaterialArchive a(c.user, shipped);
        try {
            if (std::string(c.operation) == "save")
                a.save();
            else
                a.load();
            ADD_FAILURE() << c.name;
        } catch (const FileError& e) {
            EXPECT_EQ(e.what(), c.error) << c.name;
        }
    }
    EXPECT_EQ(test::readFile(shipped), oneMaterial("fornito"));
}
