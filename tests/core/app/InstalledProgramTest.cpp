// The programs as an installed tree runs them: --version and --help without a
// display, the shipped data found from bin/ in share/camini, the user's own
// archive in the user's data folder.
#include "support/TestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace camini;
using namespace camini::test;

namespace fs = std::filesystem;

TEST(InstalledProgram, VersionAndHelpOnStandardOutputWithoutADisplay) {
    const struct {
        const char* program;
        const char* option;
        const char* firstLine;
    } cases[] = {
        {"camini-calc", "--version", "camini-calc 1.1.0"},
        {"camini-calc", "--help", "Uso: camini-calc [opzioni] [--] [PROGETTO.CAM]"},
        {"camini", "--version", "camini 1.1.0"},
        {"camini", "--help", "Uso: camini [PROGETTO.CAM]"},
        {"camini", "-h", "Uso: camini [PROGETTO.CAM]"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.program) + " " + c.option);
        const std::string program = binDir() + "/" + c.program;
        if (!fs::exists(program))
            continue; // the windowed program is not built here
        // No display to open: the answer must come before the toolkit starts.
        const auto r = runCommand("env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb " +
                                  shellQuote(program) + " " + c.option);
        EXPECT_EQ(r.status, 0) << r.err;
        const auto lines = textLines(r.out);
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines[0], c.firstLine);
        EXPECT_EQ(r.err, "");
    }
}

TEST(InstalledProgram, ReadsTheUsersArchiveWhenThereIsOneAndTheShippedOneOtherwise) {
    TempDir dir;
    const std::string root = dir.path();
    for (const char* f : {"usr/bin", "usr/share/camini", "home", "xdg/camini", "mine"})
        fs::create_directories(root + "/" + f);
    fs::copy_file(binDir() + "/camini-calc", root + "/usr/bin/camini-calc");
    const std::string shipped = readFile(sourceDir() + "/data/materiali.TXT");
    writeFile(root + "/usr/share/camini/materiali.TXT", shipped);
    // An archive whose material 5 (the insulation) has its own description.
    auto archiveWith = [&](const std::string& description) {
        std::string a = shipped;
        const std::string old = "lana di roccia 100 kg/m3";
        return a.replace(a.find(old), old.size(), description);
    };
    const std::string homeArchive = root + "/home/.local/share/camini/materiali.TXT";
    const std::string home = "HOME=" + shellQuote(root + "/home");
    writeFile(root + "/xdg/camini/materiali.TXT", archiveWith("lana in XDG_DATA_HOME"));
    writeFile(root + "/mine/materiali.TXT", archiveWith("lana in --data-dir"));

    const struct {
        const char* name;
        bool homeArchiveThere;
        std::string environment;
        std::string options;
        const char* insulation;
    } cases[] = {
        {"no user's archive: the shipped one", false, "-u XDG_DATA_HOME " + home, "",
         "-->Isolante=lana di roccia 100 kg/m3"},
        {"the user's archive in ~/.local/share/camini", true, "-u XDG_DATA_HOME " + home, "",
         "-->Isolante=lana dell utente"},
        {"XDG_DATA_HOME names the user's data folder", true,
         home + " XDG_DATA_HOME=" + shellQuote(root + "/xdg"), "",
         "-->Isolante=lana in XDG_DATA_HOME"},
        {"--data-dir wins over both", true, home + " XDG_DATA_HOME=" + shellQuote(root + "/xdg"),
         "--data-dir " + shellQuote(root + "/mine"), "-->Isolante=lana in --data-dir"},
    };
    for (const auto& c : cases) {
        fs::remove_all(root + "/home/.local");
        if (c.homeArchiveThere) {
            fs::create_directories(root + "/home/.local/share/camini");
            writeFile(homeArchive, archiveWith("lana dell utente"));
        }
        const auto r = runCommand("env " + c.environment + " " +
                                  shellQuote(root + "/usr/bin/camini-calc") + " " + c.options);
        SCOPED_TRACE(c.name);
        ASSERT_EQ(r.status, 0) << r.err;
        const auto lines = textLines(r.out);
        EXPECT_NE(std::find(lines.begin(), lines.end(), c.insulation), lines.end()) << r.out;
    }
    // Running never writes an archive.
    EXPECT_EQ(readFile(root + "/usr/share/camini/materiali.TXT"), shipped);
}
