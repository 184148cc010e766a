#include "forms/ProjectFile.h"
#include "common/FileError.h"
#include "engine/Worksheet.h"
#include "support/TestSupport.h"

#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace camini;
using camini::test::RecordingMessages;
using camini::test::TempDir;

namespace {

const std::string exampleFile =
    "esempio 1\r\n250\r\n20\r\n130\r\n15\r\n8\r\n40\r\n20\r\n20\r\n20\r\n10\r\n100\r\n85\r\n"
    "rot\r\n 5\r\n 1\r\n 1\r\n 9\r\n";

struct Window {
    Worksheet sheet;
    MaterialArchive archive = test::constantArchive();
    RecordingMessages messages;
    Window() {
        setStartProject(sheet);
        showMaterialChoices(sheet, archive);
    }
};

} // namespace

TEST(ProjectFile, TheStartProjectIsEighteenLines) {
    TempDir dir;
    Window w;
    saveProject(w.sheet, dir.file("esempio 1.CAM"));
    EXPECT_EQ(test::readFile(dir.file("esempio 1.CAM")), exampleFile);
}

TEST(ProjectFile, RoundTripKeepsBlanksShapeAndMaterials) {
    TempDir dir;
    Window w;
    w.sheet.projectTitle = "  canna fumaria \xE8 nuova  ";
    w.sheet.input(InputRow::InnerDiameter) = " 80";
    w.sheet.input(InputRow::InsulationThickness) = "40 ";
    w.sheet.input(InputRow::Screen2Thickness) = "";
    w.sheet.squareSection = true;
    w.sheet.materials = {100, 12, 3, 9};
    saveProject(w.sheet, dir.file("p.CAM"));
    EXPECT_NE(test::readFile(dir.file("p.CAM")).find("\r\nquad\r\n100\r\n12\r\n 3\r\n 9\r\n"),
              std::string::npos);

    Window other;
    other.sheet.singleWall = true;
    other.sheet.results[1][2] = "risultato";
    other.sheet.fireResistanceLines = {"riga"};
    loadProject(dir.file("p.CAM"), other.sheet, other.archive, other.messages);
    EXPECT_EQ(other.sheet.projectTitle, w.sheet.projectTitle);
    EXPECT_EQ(other.sheet.inputTexts, w.sheet.inputTexts);
    EXPECT_TRUE(other.sheet.squareSection);
    EXPECT_EQ(other.sheet.materials, w.sheet.materials);
    EXPECT_TRUE(other.messages.messages.empty());
    // What the file does not hold stays as the window shows it.
    EXPECT_TRUE(other.sheet.singleWall);
    EXPECT_EQ(other.sheet.results[1][2], "risultato");
    EXPECT_EQ(other.sheet.fireResistanceLines, std::vector<std::string>{"riga"});
    EXPECT_EQ(other.sheet.materialChoiceLines.size(), 8u);
}

// A refused material line is named in the message without its leading
// blanks, cut after 20 characters.
TEST(ProjectFile, ShapeAndMaterialLines) {
    struct Case {
        const char* shape;
        bool square;
        const char* material;
        int loaded;        // 0: refused, the previous material stays
        const char* shown; // the refused line as the message names it
    };
    const Case cases[] = {
        {"quad", true, "12.9", 12, ""},
        {"QUAD", false, " 7", 7, ""},
        {"quad ", false, "100", 100, ""},
        {"", false, "1", 1, ""},
        {"rot", false, "0", 0, "0"},
        {"quad", true, "101", 0, "101"},
        {"quad", true, "-3", 0, "-3"},
        {"rot", false, "1e9", 0, "1e9"},
        {"rot", false, "abc", 0, "abc"},
        {"rot", false, "", 0, "(vuoto)"},
        {"rot", false, "   ", 0, "(vuoto)"},
        {"rot", false, "300", 0, "300"},
        {"rot", false, "44abc", 44, ""},
        {"rot", false, "  materiale non valido", 0, "materiale non valido"},
        {"rot", false, "materiale non valido!", 0, "materiale non valido..."},
    };
    for (const Case& c : cases) {
        TempDir dir;
        std::string text = exampleFile;
        text.replace(text.find("rot\r\n 5"), 7, std::string(c.shape) + "\r\n" + c.material);
        test::writeFile(dir.file("p.cam"), text);
        Window w;
        w.sheet.material(MaterialSlot::Insulation) = 8;
        loadProject(dir.file("p.cam"), w.sheet, w.archive, w.messages);
        EXPECT_EQ(w.sheet.squareSection, c.square) << '"' << c.shape << '"';
        EXPECT_EQ(w.sheet.material(MaterialSlot::Insulation), c.loaded ? c.loaded : 8)
            << c.material;
        const std::vector<std::string> refused = {
            "numero di materiale non valido per lo strato \"isolante\": " + std::string(c.shown) +
            "; resta il materiale 8"};
        EXPECT_EQ(w.messages.messages, c.loaded ? std::vector<std::string>{} : refused)
            << c.material;
    }
}

TEST(ProjectFile, AShortFileEmptiesTheCellsAndKeepsTheMaterials) {
    TempDir dir;
    test::writeFile(dir.file("corto.cam"), "titolo\n300\n");
    Window w;
    w.sheet.squareSection = true;
    loadProject(dir.file("corto.cam"), w.sheet, w.archive, w.messages);
    EXPECT_EQ(w.sheet.projectTitle, "titolo");
    EXPECT_EQ(w.sheet.input(InputRow::FlueGasTemp), "300");
    for (std::size_t r = 1; r < 12; ++r)
        EXPECT_EQ(w.sheet.inputTexts[r], "");
    EXPECT_FALSE(w.sheet.squareSection);
    EXPECT_EQ(w.sheet.materials, (std::array<std::uint8_t, 4>{5, 1, 1, 9}));
    EXPECT_EQ(w.messages.messages.size(), 4u); // four empty material lines
}

TEST(ProjectFile, LinesAfterTheEighteenthAreNotRead) {
    TempDir dir;
    test::writeFile(dir.file("lungo.cam"), exampleFile + "altro\r\n" + std::string(100000, 'x'));
    Window w;
    w.sheet.projectTitle = "diverso";
    loadProject(dir.file("lungo.cam"), w.sheet, w.archive, w.messages);
    EXPECT_EQ(w.sheet.projectTitle, "esempio 1");
    EXPECT_EQ(w.sheet.materials, (std::array<std::uint8_t, 4>{5, 1, 1, 9}));
}

TEST(ProjectFile, AFailedLoadChangesNothing) {
    TempDir dir;
    Window w;
    w.sheet.input(InputRow::FlueGasTemp) = "999";
    const Worksheet before = w.sheet;
    std::filesystem::create_directory(dir.file("cartella.cam"));
    for (const std::string& path : {dir.file("manca.cam"), dir.file("cartella.cam")}) {
        EXPECT_THROW(loadProject(path, w.sheet, w.archive, w.messages), FileError) << path;
        EXPECT_EQ(w.sheet.inputTexts, before.inputTexts);
        EXPECT_EQ(w.sheet.projectTitle, before.projectTitle);
    }
}

// The disk filling part-way (a file size limit) and a read-only file as an
// unprivileged user.
TEST(ProjectFile, AFailedSaveLeavesTheOldFile) {
    for (const bool asNobody : {false, true}) {
        TempDir dir;
        ::chmod(dir.path().c_str(), 0755);
        test::writeFile(dir.file("p.CAM"), exampleFile);
        ::chmod(dir.file("p.CAM").c_str(), 0444);
        Window w;
        w.sheet.projectTitle = "nuovo titolo molto lungo";
        const int rc = test::runInChild(
            [&] {
                std::signal(SIGXFSZ, SIG_IGN);
                const rlimit limit{10, 10};
                if (!asNobody)
                    ::setrlimit(RLIMIT_FSIZE, &limit);
                try {
                    saveProject(w.sheet, dir.file("p.CAM"));
                } catch (const FileError& e) {
                    return e.text() == (asNobody ? "File access denied" : "File too large") ? 0 : 2;
                }
                return 1;
            },
            asNobody);
        EXPECT_EQ(rc, 0) << asNobody;
        EXPECT_EQ(test::readFile(dir.file("p.CAM")), exampleFile) << asNobody;
    }
}

TEST(ProjectFile, ALineEndInsideATextCannotShiftTheLines) {
    TempDir dir;
    Window w;
    w.sheet.projectTitle = "due\r\nrighe";
    saveProject(w.sheet, dir.file("p.CAM"));
    Window back;
    loadProject(dir.file("p.CAM"), back.sheet, back.archive, back.messages);
    EXPECT_EQ(back.sheet.projectTitle, "due  righe");
    EXPECT_EQ(back.sheet.input(InputRow::FlueGasTemp), "250");
}

TEST(ProjectFile, NameRule) {
    const std::pair<const char*, const char*> cases[] = {
        {"esempio 1", "esempio 1.CAM"},
        {"a.cam", "a.cam"},
        {"a.CAM", "a.CAM"},
        {"a.Cam", "a.Cam.CAM"},
        {"x", "x.CAM"},
        {"cam", "cam.CAM"},
        {".cam", ".cam"},
        {"", ".CAM"},
    };
    for (auto [chosen, saved] : cases)
        EXPECT_EQ(projectFileName(chosen), saved) << chosen;
}

TEST(ProjectFile, AnUnreadableFileAsAnUnprivilegedUser) {
    TempDir dir;
    ::chmod(dir.path().c_str(), 0755); // "nobody" must reach the file
    test::writeFile(dir.file("p.CAM"), exampleFile);
    ::chmod(dir.file("p.CAM").c_str(), 0);
    const int rc = test::runInChild(
        [&] {
            Window other;
            other.sheet.projectTitle = "prima";
            try {
                loadProject(dir.file("p.CAM"), other.sheet, other.archive, other.messages);
            } catch (const FileError& e) {
                return (e.text() == "File access denied" && other.sheet.projectTitle == "prima")
                           ? 0
                           : 2;
            }
            return 1;
        },
        true);
    EXPECT_EQ(rc, 0);
}

// A title just within the 1 MiB no project reaches is read whole; one of
// 1 MiB is refused, the window left as it was.
TEST(ProjectFile, NulBytesAndAHugeTitle) {
    TempDir dir;
    std::string text = exampleFile;
    const std::string title = std::string(1024 * 1024 - 100, 't') + std::string("\0x", 2);
    text.replace(0, 9, title);
    test::writeFile(dir.file("p.cam"), text);
    Window w;
    loadProject(dir.file("p.cam"), w.sheet, w.archive, w.messages);
    EXPECT_EQ(w.sheet.projectTitle, title);
    EXPECT_EQ(w.sheet.input(InputRow::FlueGasTemp), "250");
    EXPECT_TRUE(w.messages.messages.empty());

    text = exampleFile;
    text.replace(0, 9, std::string(1024 * 1024, 't'));
    test::writeFile(dir.file("p.cam"), text);
    Window other;
    try {
        loadProject(dir.file("p.cam"), other.sheet, other.archive, other.messages);
        ADD_FAILURE() << "a title of 1 MiB was read";
    } catch (const FileError& e) {
        EXPECT_EQ(e.text(), "File too large (line 1 does not end within 1048576 bytes)");
    }
    EXPECT_EQ(other.sheet.projectTitle, "esempio 1");
}

TEST(ProjectFile, ProposedNameIsTheTitleAsOneFileName) {
    EXPECT_EQ(proposedProjectName("esempio 1"), "esempio 1");
    EXPECT_EQ(proposedProjectName("camino 1/2"), "camino 1-2");
    EXPECT_EQ(proposedProjectName(""), "");
}

// The project in memory: the bytes parse by the file's rules, a material
// line that gives no number 1..100 reads 0 with its text kept, and the text
// of the worksheet is the file a save writes.
TEST(ProjectText, ParsesAndSerializesInMemory) {
    const ProjectContent example = parseProject(exampleFile);
    EXPECT_EQ(example.title, "esempio 1");
    EXPECT_EQ(example.inputTexts[0], "250");
    EXPECT_EQ(example.inputTexts[11], "85");
    EXPECT_FALSE(example.squareSection);
    EXPECT_EQ(example.materials, (std::array<int, 4>{5, 1, 1, 9}));

    const ProjectContent odd = parseProject("t\n\n\n\n\n\n\n\n\n\n\n\n\nquad\n 12.9x\n101\n\n-3");
    EXPECT_TRUE(odd.squareSection);
    EXPECT_EQ(odd.materials, (std::array<int, 4>{12, 0, 0, 0}));
    EXPECT_EQ(odd.materialTexts[1], "101");
    EXPECT_EQ(odd.materialTexts[3], "-3");
    EXPECT_EQ(parseProject("quad").squareSection, false); // line 14, not line 1

    Window w;
    applyProject(odd, w.sheet, w.archive, w.messages);
    EXPECT_EQ(w.sheet.materials, (std::array<std::uint8_t, 4>{12, 1, 1, 9}));
    EXPECT_EQ(w.messages.messages.size(), 3u);

    Window start;
    EXPECT_EQ(serializeProject(start.sheet), exampleFile);
}
