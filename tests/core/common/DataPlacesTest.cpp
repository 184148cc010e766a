// Where the data files are read and the archive is kept: a portable folder,
// an installed tree with and without a user's data folder, --data-dir.
#include "common/DataPlaces.h"
#include "common/FileError.h"
#include "support/TestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace camini;
using camini::test::TempDir;

namespace {

// A tree with a portable copy (portable/ with its archive), an installed
// tree (usr/bin/ beside usr/share/camini/), both at once (both/bin/ holding
// an archive beside both/share/camini/) and an empty folder (bare/).
struct Trees {
    TempDir dir;
    std::string root = dir.path() + "/";
    Trees() {
        for (const char* f :
             {"portable", "usr/bin", "usr/share/camini", "both/bin", "both/share/camini", "bare"})
            std::filesystem::create_directories(root + f);
        test::writeFile(root + "portable/materiali.TXT", "");
        test::writeFile(root + "both/bin/materiali.TXT", "");
    }
};

} // namespace

TEST(DataPlaces, FromTheExecutablesFolderTheEnvironmentAndDataDir) {
    Trees t;
    const std::string r = t.root;
    struct Case {
        const char* name;
        std::string executable;
        DataEnvironment env;
        std::optional<std::string> dataDir;
        DataPlaces expected;
    };
    const DataEnvironment user{.xdgDataHome = r + "xdg", .home = r + "home"};
    const DataEnvironment homeOnly{.xdgDataHome = "", .home = r + "home"};
    const DataEnvironment relative{.xdgDataHome = "rel/data", .home = r + "home"};
    // Everything in one folder, the archive there unless named.
    const auto beside = [&](const std::string& folder, std::string archive = "") {
        return DataPlaces{r + folder, archive.empty() ? r + folder + "materiali.TXT" : archive, "",
                          r + folder};
    };
    // The data in usr/share/camini/, the projects at home.
    const auto installed = [&](const std::string& archive, const std::string& shipped,
                               const std::string& home) {
        return DataPlaces{r + "usr/share/camini/", archive, shipped, home};
    };
    const std::string shipped = r + "usr/share/camini/materiali.TXT";
    const std::string local = r + "home/.local/share/camini/materiali.TXT";
    const std::string mine = r + "mine/materiali.TXT";
    const Case cases[] = {
        {"portable copy: everything beside the executable", r + "portable/", user, std::nullopt,
         beside("portable/")},
        {"portable copy named without the final slash", r + "portable", user, std::nullopt,
         beside("portable/")},
        {"installed: the user's archive in XDG_DATA_HOME", r + "usr/bin/", user, std::nullopt,
         installed(r + "xdg/camini/materiali.TXT", shipped, r + "home/")},
        {"installed: without XDG_DATA_HOME, in ~/.local/share", r + "usr/bin/", homeOnly,
         std::nullopt, installed(local, shipped, r + "home/")},
        {"installed: a relative XDG_DATA_HOME is ignored", r + "usr/bin/", relative, std::nullopt,
         installed(local, shipped, r + "home/")},
        {"installed without a home: nowhere to save",
         r + "usr/bin/",
         {},
         std::nullopt,
         installed("", shipped, "")},
        {"installed with --data-dir: the archive there, the rest shipped", r + "usr/bin/", user,
         r + "mine", installed(mine, "", r + "home/")},
        {"portable with --data-dir", r + "portable/", user, r + "mine/", beside("portable/", mine)},
        {"the archive beside the executable wins over share/camini", r + "both/bin/", user,
         std::nullopt, beside("both/bin/")},
        {"neither: the executable's folder, whose files are missing", r + "bare/", user,
         std::nullopt, beside("bare/")},
    };
    for (const Case& c : cases) {
        const DataPlaces p = findDataPlaces(c.executable, c.env, c.dataDir);
        EXPECT_EQ(p.dataFolder, c.expected.dataFolder) << c.name;
        EXPECT_EQ(p.archive, c.expected.archive) << c.name;
        EXPECT_EQ(p.shippedArchive, c.expected.shippedArchive) << c.name;
        EXPECT_EQ(p.projectFolder, c.expected.projectFolder) << c.name;
    }
}

TEST(DataPlaces, MakeFoldersMakesTheMissingOnesForTheUserOnly) {
    TempDir dir;
    makeFolders(dir.file("a/b/c/"));
    makeFolders(dir.file("a/b/c")); // already there
    for (const char* f : {"a", "a/b", "a/b/c"}) {
        struct stat st;
        ASSERT_EQ(::stat(dir.file(f).c_str(), &st), 0) << f;
        EXPECT_TRUE(S_ISDIR(st.st_mode)) << f;
        EXPECT_EQ(st.st_mode & 07777, 0700u) << f;
    }
    test::writeFile(dir.file("file"), "");
    try {
        makeFolders(dir.file("file/camini"));
        ADD_FAILURE() << "a folder under a file was made";
    } catch (const FileError& e) {
        EXPECT_EQ(e.what(), "Not a directory: " + dir.file("file/camini"));
    }
}
