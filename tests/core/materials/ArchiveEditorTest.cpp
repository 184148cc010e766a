#include "materials/ArchiveEditor.h"
#include "engine/ViewerDocument.h"
#include "materials/MaterialArchive.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace camini;
using camini::test::RecordingMessages;
using camini::test::setMaterial;

namespace {

// An archive in memory with a few materials whose derived values are those
// of a load.
MaterialArchive sampleArchive() {
    MaterialArchive a;
    setMaterial(a, 1, "calcestruzzo", {{20, 0.33}, {200, 0.36}, {400, 0.4}});
    setMaterial(a, 5, "lana di roccia 100 kg/m3",
                {{50, 0.041}, {100, 0.049}, {200, 0.069}, {300, 0.099}, {400, 0.139}});
    setMaterial(a, 7, "silicato", {{100.5, 0.05804}, {1234.4, 0.12345}});
    return a;
}

// The page of material m with one temperature and conductivity cell replaced.
EditorPage pageWith(const MaterialArchive& a, int m, std::size_t row,
                    const std::string& temperature, const std::string& conductivity) {
    EditorPage p = editorPageOf(a, m);
    p.cells[row][0] = temperature;
    p.cells[row][1] = conductivity;
    return p;
}

} // namespace

// ---------------------------------------------------------------- the page

TEST(ShowEditorPage, CellsDescriptionAndStatusLine) {
    const MaterialArchive a = sampleArchive();
    const EditorPage p = editorPageOf(a, 5);
    EXPECT_EQ(p.description, "lana di roccia 100 kg/m3");
    EXPECT_EQ(p.status, "progr= 5 punti=  5 temp min=   50 max=  400");
    EXPECT_EQ(p.cells[0][0], "     50");
    EXPECT_EQ(p.cells[0][1], " 0.0410");
    EXPECT_EQ(p.cells[4][0], "    400");
    EXPECT_EQ(p.cells[4][1], " 0.1390");
    // Empty points show as 0 and 0.0000.
    EXPECT_EQ(p.cells[5][0], "      0");
    EXPECT_EQ(p.cells[5][1], " 0.0000");
}

TEST(ShowEditorPage, NumbersAreRoundedHalvesAwayFromZeroAndFieldsGrow) {
    MaterialArchive a = sampleArchive();
    setMaterial(a, 100, "", {{0.5, 12345.67896}});
    struct Case {
        int m;
        std::string status;
        std::string temperature0, conductivity0;
    };
    const Case cases[] = {
        {7, "progr= 7 punti=  2 temp min=  101 max= 1234", "    101", " 0.0580"},
        {100, "progr=100 punti=  1 temp min=    1 max=    1", "      1", "12345.6790"},
        {42, "progr=42 punti=  0 temp min=    0 max=    0", "      0", " 0.0000"},
    };
    for (const Case& c : cases) {
        const EditorPage p = editorPageOf(a, c.m);
        EXPECT_EQ(p.status, c.status) << c.m;
        EXPECT_EQ(p.cells[0][0], c.temperature0) << c.m;
        EXPECT_EQ(p.cells[0][1], c.conductivity0) << c.m;
    }
}

TEST(ShowEditorPage, StatusLineShowsTheDerivedValuesOfTheLastLoad) {
    MaterialArchive a = sampleArchive();
    Material& mat = a.material(1);
    mat.temperatures[3] = 900;
    mat.lambdas[3] = 0.5;
    const EditorPage p = editorPageOf(a, 1);
    EXPECT_EQ(p.status, "progr= 1 punti=  3 temp min=   20 max=  400");
    EXPECT_EQ(p.cells[3][0], "    900"); // the cells show the point itself
}

// ---------------------------------------------------------------- storing

TEST(StoreEditorPage, AnUnchangedPageStoresTheSameValues) {
    MaterialArchive a = sampleArchive();
    const Material before = a.material(5);
    RecordingMessages messages;
    storeEditorPage(a, 5, editorPageOf(a, 5), messages);
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_EQ(a.material(5).temperatures, before.temperatures);
    EXPECT_EQ(a.material(5).lambdas, before.lambdas);
    EXPECT_EQ(a.material(5).description, before.description);
}

TEST(StoreEditorPage, SkipRuleOfTheTemperatureCell) {
    struct Case {
        std::string temperature;
        std::string conductivity;
        double storedTemperature;
        double storedConductivity;
    };
    // Material 1, point 2 holds (200, 0.36).
    const Case cases[] = {
        {"", "0.9", 200, 0.36},       // empty: row skipped, conductivity too
        {"0", "0.9", 200, 0.36},      // exactly "0": skipped
        {" 0", "0.9", 0, 0.9},        // padded: parsed
        {"      0", " 0.0000", 0, 0}, // the padded 0 the page shows
        {"0.0", "0.9", 0, 0.9},       {"00", "0.9", 0, 0.9},
        {"250", "0.37", 250, 0.37},   {"  -1.5e2", "1E-1", -150, 0.1},
    };
    for (const Case& c : cases) {
        MaterialArchive a = sampleArchive();
        RecordingMessages messages;
        storeEditorPage(a, 1, pageWith(a, 1, 1, c.temperature, c.conductivity), messages);
        EXPECT_TRUE(messages.messages.empty()) << "'" << c.temperature << "'";
        EXPECT_EQ(a.material(1).temperatures[1], c.storedTemperature)
            << "'" << c.temperature << "'";
        EXPECT_EQ(a.material(1).lambdas[1], c.storedConductivity) << "'" << c.temperature << "'";
    }
}

TEST(StoreEditorPage, FaultyCellsKeepTheirValuesAndOneMessageNamesTheLast) {
    MaterialArchive a = sampleArchive();
    EditorPage p = editorPageOf(a, 1);
    p.description = "calcestruzzo nuovo";
    p.cells[0][0] = "12a"; // row 1 temperature
    p.cells[0][1] = "0.31";
    p.cells[1][0] = "210";
    p.cells[2][0] = "410";
    p.cells[2][1] = "x"; // row 3 conductivity
    p.cells[3][0] = "600";
    p.cells[3][1] = "0.45";
    RecordingMessages messages;
    storeEditorPage(a, 1, p, messages);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0], "x errore nell immissione dati!");
    EXPECT_TRUE(messages.errors.empty());
    const Material& mat = a.material(1);
    EXPECT_EQ(mat.description, "calcestruzzo nuovo");
    EXPECT_EQ(mat.temperatures[0], 20); // faulty: kept
    EXPECT_EQ(mat.lambdas[0], 0.31);    // parsed although the temperature was faulty
    EXPECT_EQ(mat.temperatures[1], 210);
    EXPECT_EQ(mat.temperatures[2], 410); // stored
    EXPECT_EQ(mat.lambdas[2], 0.4);      // faulty: kept
    EXPECT_EQ(mat.temperatures[3], 600);
    EXPECT_EQ(mat.lambdas[3], 0.45);
}

TEST(StoreEditorPage, StrictSyntax) {
    const std::string faulty[] = {"12a", "x", "1,5", "12 ", "1.2.3", "e5", "+", ".", "--1", "1e"};
    for (const std::string& text : faulty) {
        MaterialArchive a = sampleArchive();
        RecordingMessages messages;
        storeEditorPage(a, 1, pageWith(a, 1, 0, text, "0.5"), messages);
        ASSERT_EQ(messages.messages.size(), 1u) << text;
        EXPECT_EQ(messages.messages[0], text + " errore nell immissione dati!");
        EXPECT_EQ(a.material(1).temperatures[0], 20) << text;
        EXPECT_EQ(a.material(1).lambdas[0], 0.5) << text;
    }
    const std::pair<std::string, double> good[] = {{"   7", 7},    {"+7", 7},        {"7.", 7},
                                                   {".5", 0.5},    {"-0.25", -0.25}, {"1e3", 1000},
                                                   {"2.5E+2", 250}};
    for (const auto& [text, value] : good) {
        MaterialArchive a = sampleArchive();
        RecordingMessages messages;
        storeEditorPage(a, 1, pageWith(a, 1, 0, text, text), messages);
        EXPECT_TRUE(messages.messages.empty()) << text;
        EXPECT_EQ(a.material(1).temperatures[0], value) << text;
        EXPECT_EQ(a.material(1).lambdas[0], value) << text;
    }
}

TEST(StoreEditorPage, AnEmptyConductivityOfAStoredRowIsFaulty) {
    MaterialArchive a = sampleArchive();
    RecordingMessages messages;
    storeEditorPage(a, 1, pageWith(a, 1, 0, "30", ""), messages);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0], " errore nell immissione dati!");
    EXPECT_EQ(a.material(1).temperatures[0], 30);
    EXPECT_EQ(a.material(1).lambdas[0], 0.33);
}

TEST(StoreEditorPage, CellsAreCutToTwentyCharacters) {
    MaterialArchive a = sampleArchive();
    RecordingMessages messages;
    // What lies beyond the 20th character is never read.
    storeEditorPage(a, 1, pageWith(a, 1, 0, "00000000000000000125abc", "0.00000000000000000017x"),
                    messages);
    EXPECT_EQ(a.material(1).temperatures[0], 125);
    EXPECT_EQ(a.material(1).lambdas[0], 0.0);
    // No cell is faulty; the conductivity of 0 is named, and stored.
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].rfind("materiale 1 \"calcestruzzo\", punto 1: "
                                         "conducibilit\xE0 0 ",
                                         0),
              0u);
    messages.messages.clear();
    // A faulty text is named as cut.
    storeEditorPage(a, 1, pageWith(a, 1, 0, std::string(25, 'y'), "1"), messages);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0], std::string(20, 'y') + " errore nell immissione dati!");
}

TEST(StoreEditorPage, DerivedValuesAreNotRecomputed) {
    MaterialArchive a = sampleArchive();
    RecordingMessages messages;
    storeEditorPage(a, 1, pageWith(a, 1, 3, "600", "0.45"), messages);
    const Material& mat = a.material(1);
    EXPECT_EQ(mat.temperatures[3], 600);
    EXPECT_EQ(mat.pointCount, 3);
    EXPECT_EQ(mat.tempMin, 20);
    EXPECT_EQ(mat.tempMax, 400);
    EXPECT_EQ(editorPageOf(a, 1).status, "progr= 1 punti=  3 temp min=   20 max=  400");
}

TEST(StoreEditorPage, StoresIntoTheGivenMaterialOnly) {
    MaterialArchive a = sampleArchive();
    RecordingMessages messages;
    EditorPage p = editorPageOf(a, 5);
    p.description = "nuovo";
    storeEditorPage(a, 6, p, messages);
    EXPECT_EQ(a.material(6).description, "nuovo");
    EXPECT_EQ(a.material(6).temperatures[4], 400);
    EXPECT_EQ(a.material(5).description, "lana di roccia 100 kg/m3");
}

// ---------------------------------------------------------------- moving

TEST(EditorMoves, HeldWithinOneToHundred) {
    const std::pair<int, int> next[] = {{1, 2}, {50, 51}, {99, 100}, {100, 100}};
    for (auto [from, to] : next)
        EXPECT_EQ(nextMaterial(from), to) << from;
    const std::pair<int, int> previous[] = {{100, 99}, {50, 49}, {2, 1}, {1, 1}};
    for (auto [from, to] : previous)
        EXPECT_EQ(previousMaterial(from), to) << from;
}

// ---------------------------------------------------------------- listing

TEST(ArchiveListing, ListsDescribedMaterialsAndTheirPointsAboveZero) {
    MaterialArchive a;
    setMaterial(a, 1, "calcestruzzo", {{20, 0.33}, {200, 0.36}});
    setMaterial(a, 2, "0 libero", {{20, 1}});
    setMaterial(a, 3, "", {{20, 1}});
    setMaterial(a, 4, "senza punti", {});
    setMaterial(a, 5, " 0 con blank", {{1000, 12.34567}});
    Material& holes = a.material(6);
    holes.description = "con buchi";
    holes.temperatures = {100, 0, -20, 300, 0, 0};
    holes.lambdas = {0.1, 0.9, 0.8, 0.3, 0, 0};
    setMaterial(a, 100, "ultimo", {{50, 0.05}});

    ViewerDocument doc;
    doc.paragraphs = {"testo precedente"};
    doc.fontName = "arial";
    doc.fontSize = 9;
    doc.showListing(archiveListing(a));
    const std::vector<std::string> expected = {
        "Archivio materiali",
        "     calcestruzzo",
        "temp        20    200",
        "lambda  0.3300 0.3600",
        "     senza punti",
        "temp   ",
        "lambda ",
        "      0 con blank",
        "temp       1000",
        "lambda  12.3457",
        "     con buchi",
        "temp       100    300",
        "lambda  0.1000 0.3000",
        "     ultimo",
        "temp        50",
        "lambda  0.0500",
    };
    EXPECT_EQ(doc.paragraphs, expected);
    EXPECT_EQ(doc.fontName, "courier new");
    EXPECT_EQ(doc.fontSize, 14);
}

TEST(ArchiveListing, AnEmptyArchiveGivesTheHeadingAlone) {
    ViewerDocument doc;
    doc.paragraphs = {"a", "b"};
    doc.showListing(archiveListing(MaterialArchive{}));
    EXPECT_EQ(doc.paragraphs, std::vector<std::string>{"Archivio materiali"});
}

TEST(ArchiveListing, TheShippedArchive) {
    MaterialArchive a(test::sourceDir() + "/data/materiali.TXT");
    a.load();
    ViewerDocument doc;
    doc.showListing(archiveListing(a));
    ASSERT_EQ(doc.paragraphs.size(), 1u + 3u * 16u);
    EXPECT_EQ(doc.paragraphs[1], "     calcestruzzo alleggerito 1000 kg/m3");
    EXPECT_EQ(doc.paragraphs[2], "temp        20    200    400    600");
    EXPECT_EQ(doc.paragraphs[3], "lambda  0.3300 0.3600 0.4000 0.4500");
    // Columns line up and two values never touch: fields are 7 characters
    // wide, or one more than the widest number of the material.
    for (std::size_t i = 2; i < doc.paragraphs.size(); i += 3) {
        EXPECT_EQ(doc.paragraphs[i].size(), doc.paragraphs[i + 1].size()) << doc.paragraphs[i];
        EXPECT_EQ(doc.paragraphs[i + 1].find("00."), std::string::npos) << doc.paragraphs[i + 1];
    }
    EXPECT_EQ(doc.paragraphs[25], "     acciaio inox AISI 316");
    EXPECT_EQ(doc.paragraphs[26], "temp         20     100     300     500     700     800");
    EXPECT_EQ(doc.paragraphs[27], "lambda  13.6000 15.4000 19.5000 22.9000 25.8000 27.0000");
    EXPECT_EQ(doc.paragraphs[43], "     alluminio");
    EXPECT_EQ(doc.paragraphs[44], "temp          27      127      327      527");
    EXPECT_EQ(doc.paragraphs[45], "lambda  237.0000 240.0000 231.0000 218.0000");
}
