#include "forms/MainActions.h"
#include "engine/Session.h"
#include "forms/ProjectFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace camini;
using camini::test::RecordingMessages;
using camini::test::TempDir;

namespace {

struct Started {
    TempDir dir;
    Session session{dir.path()};
    RecordingMessages messages;
    explicit Started(bool withFiles = true) {
        if (withFiles) {
            test::writeFile(dir.file("materiali.TXT"),
                            test::readFile(test::sourceDir() + "/data/materiali.TXT"));
            test::writeFile(
                dir.file("stabile1.txt"),
                "80\r\n180\r\n1\r\n150\r\n250\r\n2\r\n0\r\n0\r\n0\r\n1004\r\n1100\r\n4\r\n");
        }
        startUp(session, messages);
    }
};

} // namespace

// The shipped archive reads as written; one misread number gives one
// message at start-up, the value read as before.
TEST(StartUp, NamesTheArchiveNumbersNotReadAsWritten) {
    EXPECT_TRUE(Started().messages.messages.empty());
    TempDir dir;
    std::string text = test::readFile(test::sourceDir() + "/data/materiali.TXT");
    // Material 3, point 2's conductivity, with a comma.
    text.replace(text.find("\r\n50.7000\r\n", text.find("acciaio al carbonio")) + 2, 7, "50,7000");
    test::writeFile(dir.file("materiali.TXT"), text);
    Session session{dir.path()};
    RecordingMessages messages;
    startUp(session, messages, {.readSizeCatalogue = false, .goOnAfterFailure = false});
    EXPECT_EQ(messages.messages, std::vector<std::string>{"materiale 3 \"acciaio al carbonio\", "
                                                          "punto 2: \"50,7000\" letto come 50"});
    EXPECT_EQ(session.archive.material(3).lambdas[1], 50);
}

TEST(StartUp, WritesTheStartProject) {
    Started s;
    const Worksheet& w = s.session.sheet;
    EXPECT_TRUE(s.messages.errors.empty());
    EXPECT_EQ(w.input(InputRow::FlueGasTemp), "250");
    EXPECT_EQ(w.projectTitle, "esempio 1");
    EXPECT_EQ(w.materials, (std::array<std::uint8_t, 4>{5, 1, 1, 9}));
    EXPECT_TRUE(w.fireResistanceLines.empty());
    EXPECT_EQ(w.materialChoiceLines.size(), 8u);
    EXPECT_EQ(w.materialChoiceLines[1], "lana di roccia 100 kg/m3");
    EXPECT_FALSE(w.materialListVisible);
    EXPECT_TRUE(w.pictureVisible);
    EXPECT_EQ(w.results[0][3], "T \xB0"
                               "C");
    EXPECT_EQ(w.results[8][0], "R totale");
    const std::vector<std::string> items = {" 80", "150", "  0", "1004",
                                            "  0", "  0", "  0", "  0"};
    EXPECT_EQ(sizeListItems(s.session.sizes), items);
}

TEST(StartUp, MissingFilesAreReportedWithTheirPath) {
    Started s(false);
    ASSERT_EQ(s.messages.errors.size(), 2u);
    EXPECT_EQ(s.messages.errors[0], "File not found: " + s.dir.file("materiali.TXT"));
    EXPECT_EQ(s.messages.errors[1], "File not found: " + s.dir.file("stabile1.txt"));
    EXPECT_EQ(s.session.sheet.input(InputRow::FlueGasTemp), "250"); // the window still works
}

TEST(MainActions, ClearKeepsHeadingsAndEverythingElse) {
    Started s;
    Worksheet& w = s.session.sheet;
    w.results[3][4] = "  12.0";
    w.fireResistanceLines = {"a", "b"};
    clearInputsAndResults(w);
    for (const auto& t : w.inputTexts)
        EXPECT_TRUE(t.empty());
    EXPECT_TRUE(w.results[3][4].empty());
    EXPECT_EQ(w.results[0][0], "strato");
    EXPECT_EQ(w.results[3][0], "camera d aria");
    EXPECT_EQ(w.projectTitle, "esempio 1");
    EXPECT_EQ(w.fireResistanceLines.size(), 2u);
    EXPECT_EQ(w.material(MaterialSlot::Insulation), 5);
}

TEST(MainActions, StandardSizes) {
    struct Case {
        int entry;
        bool singleWall;
        const char* diameter;
        const char* insulation;
        const char* screen1;
    };
    const Case cases[] = {
        {1, false, " 80", "50", "20"}, {2, false, "150", "50", "20"},  {2, true, "150", "0", "0"},
        {3, false, "  0", " 0", "20"}, {4, false, "1004", "48", "20"},
    };
    for (const Case& c : cases) {
        Started s;
        Worksheet& w = s.session.sheet;
        w.singleWall = c.singleWall;
        w.material(MaterialSlot::Insulation) = 7;
        w.materialListVisible = true;
        chooseStandardSize(w, s.session.sizes, s.session.archive, c.entry);
        EXPECT_EQ(w.input(InputRow::InnerDiameter), c.diameter) << c.entry;
        EXPECT_EQ(w.input(InputRow::InsulationThickness), c.insulation) << c.entry;
        EXPECT_EQ(w.input(InputRow::Screen1Thickness), c.screen1) << c.entry;
        EXPECT_EQ(w.material(MaterialSlot::Insulation), 1);
        EXPECT_EQ(w.materialChoiceLines[1], s.session.archive.description(1));
        EXPECT_FALSE(w.materialListVisible);
    }
}

TEST(MainActions, MaterialListModes) {
    struct Case {
        MaterialListMode mode;
        int position;
        MaterialSlot layer;
    };
    const Case cases[] = {
        {MaterialListMode::Insulation, 6, MaterialSlot::Insulation},
        {MaterialListMode::TechnicalGap, 0, MaterialSlot::TechnicalGap},
        {MaterialListMode::Screen1, 99, MaterialSlot::Screen1},
        {MaterialListMode::Screen2, 16, MaterialSlot::Screen2}, // an empty slot can be chosen
    };
    for (const Case& c : cases) {
        Started s;
        Worksheet& w = s.session.sheet;
        auto items = openMaterialList(w, s.session.archive, c.mode);
        ASSERT_EQ(items.size(), 100u);
        EXPECT_EQ(items[0], s.session.archive.description(1));
        EXPECT_TRUE(w.materialListVisible);
        EXPECT_FALSE(w.pictureVisible);
        EXPECT_FALSE(chooseMaterial(w, s.session.archive, c.position));
        EXPECT_EQ(w.material(c.layer), c.position + 1);
        EXPECT_FALSE(w.materialListVisible);
        EXPECT_TRUE(w.pictureVisible);
        EXPECT_EQ(w.materialChoiceLines[2 * index(c.layer) + 1],
                  s.session.archive.description(c.position + 1));
        EXPECT_EQ(w.listMode, c.mode); // the mode is not reset
    }
    // A position before the first or past the last chooses nothing.
    for (const int position : {-1, 100}) {
        Started s;
        Worksheet& w = s.session.sheet;
        openMaterialList(w, s.session.archive, MaterialListMode::Screen1);
        EXPECT_FALSE(chooseMaterial(w, s.session.archive, position));
        EXPECT_EQ(w.materials, (std::array<std::uint8_t, 4>{5, 1, 1, 9})) << position;
        EXPECT_TRUE(w.materialListVisible) << position;
    }
}

// The graph's choice makes the material the insulation's at once (material 7
// of the shipped archive has five points); the other layers keep theirs.
TEST(MainActions, GraphModeSetsTheGraphMaterialAndTheInsulation) {
    Started s;
    Worksheet& w = s.session.sheet;
    openMaterialList(w, s.session.archive, MaterialListMode::Graph);
    EXPECT_TRUE(chooseMaterial(w, s.session.archive, 6));
    EXPECT_EQ(w.graphMaterial, 7);
    EXPECT_EQ(w.materials, (std::array<std::uint8_t, 4>{7, 1, 1, 9}));
    EXPECT_FALSE(w.materialListVisible);
}

TEST(MainActions, CalculateWhileTheListIsOpenLeavesThePictureAreaEmpty) {
    Started s;
    Worksheet& w = s.session.sheet;
    openMaterialList(w, s.session.archive, MaterialListMode::Insulation);
    showMaterialChoices(w, s.session.archive); // what every rewrite of Memo2 does
    EXPECT_FALSE(w.materialListVisible);
    EXPECT_FALSE(w.pictureVisible);
    EXPECT_EQ(w.material(MaterialSlot::Insulation), 5);
}

TEST(MainActions, SingleWallTick) {
    Started s;
    Worksheet& w = s.session.sheet;
    singleWallClicked(w, true);
    EXPECT_EQ(w.input(InputRow::InsulationThickness), "0");
    EXPECT_EQ(w.input(InputRow::Screen1Thickness), "20");
    w.input(InputRow::InsulationThickness) = "0";
    singleWallClicked(w, false);
    EXPECT_EQ(w.input(InputRow::InsulationThickness), "0");
}

// "salvare il progetto?" is asked when what the project file holds differs
// from the project last loaded or saved, the start project before either.
TEST(ProjectChanged, AgainstTheProjectLastLoadedOrSaved) {
    Started s;
    Session& session = s.session;
    EXPECT_FALSE(projectChanged(session));
    session.sheet.singleWall = true; // not in the project file
    session.sheet.raiseSmallDiameter = true;
    EXPECT_FALSE(projectChanged(session));
    struct Case {
        const char* what;
        void (*change)(Session&);
    };
    const Case changes[] = {
        {"cell", [](Session& x) { x.sheet.input(InputRow::AirGapThickness) = "25"; }},
        {"title", [](Session& x) { x.sheet.projectTitle += " bis"; }},
        {"quadrata", [](Session& x) { x.sheet.squareSection = true; }},
        {"material", [](Session& x) { x.sheet.material(MaterialSlot::TechnicalGap) = 3; }},
    };
    for (const Case& c : changes) {
        c.change(session);
        EXPECT_TRUE(projectChanged(session)) << c.what;
        saveSessionProject(session, s.dir.file(std::string(c.what) + ".CAM"));
        EXPECT_FALSE(projectChanged(session)) << c.what;
    }
    setStartProject(session.sheet);
    EXPECT_TRUE(projectChanged(session));
    loadSessionProject(session, s.dir.file("cell.CAM"), s.messages);
    EXPECT_FALSE(projectChanged(session));
    EXPECT_EQ(session.sheet.input(InputRow::AirGapThickness), "25");
}
