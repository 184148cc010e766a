#include "engine/Report.h"
#include "EngineFixture.h"
#include "engine/Calculation.h"
#include "engine/RtfWriter.h"
#include "engine/Session.h"
#include "support/TestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace camini;
using camini::test::RecordingMessages;

using Calculated = camini::test::CalculatedSession;

TEST(Report, NeedsACalculationFirst) {
    Session session;
    RecordingMessages messages;
    setStartProject(session.sheet);
    session.viewer.append("niente");
    EXPECT_FALSE(requestReport(session, messages, test::fixedClock()));
    EXPECT_EQ(messages.messages, std::vector<std::string>{"eseguire prima il calcolo!"});
    EXPECT_EQ(session.viewer.paragraphs, std::vector<std::string>{"niente"});
}

TEST(Report, LinesOfTheExample) {
    Calculated c;
    const auto& r = c.report();
    ASSERT_EQ(r.size(), 34u);
    EXPECT_EQ(r[0], "titolo progetto=esempio 1 08/12/2026 14:05:09");
    EXPECT_EQ(r[1], std::string(49, '-'));
    EXPECT_EQ(r[4], "diametro interno [mm]" + std::string(13, ' ') + "130");
    // Where each input value starts (1-based columns).
    const std::pair<int, std::size_t> starts[] = {{0, 35}, {7, 39}, {9, 29}, {10, 40}, {11, 34}};
    for (auto [row, column] : starts)
        EXPECT_EQ(r[static_cast<std::size_t>(2 + row)].find_last_of(' ') + 2, column) << row;
    EXPECT_EQ(r[14], std::string(49, '-'));
    // The results table: nine lines of 104 characters.
    for (std::size_t i = 15; i < 24; ++i)
        EXPECT_EQ(r[i].size(), 104u) << i;
    EXPECT_EQ(r[15].substr(0, 54), "strato" + std::string(25, ' ') + "lamda" + std::string(8, ' ') +
                                       "Rcalc" + std::string(5, ' '));
    EXPECT_EQ(r[16].substr(0, 54), "strato liminare interno" + std::string(8, ' ') +
                                       std::string(13, ' ') + " 0.06667  ");
    EXPECT_EQ(r[24], std::string(49, '-'));
    EXPECT_EQ(r[25], "temp per resistenza al fuoco(est)= 1153.1\xB0"
                     "C");
    EXPECT_EQ(r[26], "temp per resistenza al fuoco(int)=  793.0\xB0"
                     "C");
    EXPECT_EQ(r[27], "-->Isolante=isolante costante");
    EXPECT_EQ(r[28], "-->asola tecnica=calcestruzzo");
    EXPECT_EQ(r[29], "-->schermo 1=calcestruzzo");
    EXPECT_EQ(r[30], "-->schermo 2=acciaio");
    EXPECT_EQ(r[31], "conducibilit\xE0 termica in W/m K");
    EXPECT_EQ(r[32], "resistenza  termica in mq K/w");
    EXPECT_EQ(r[33], "");
    EXPECT_EQ(c.session.viewer.fontName, "courier new");
    EXPECT_EQ(c.session.viewer.fontSize, 14);
}

TEST(Report, DiameterNoteAndRaisedDiameter) {
    Calculated c([](Worksheet& w) { w.raiseSmallDiameter = true; });
    const auto& r = c.report();
    EXPECT_EQ(r[4], "diametro interno [mm]" + std::string(13, ' ') + "130");
    EXPECT_EQ(r[15], "N.B.  il diametro interno <200 mm viene portato a 200 mm");
    EXPECT_EQ(r[17].substr(94, 8), "     200"); // D2 of the inner film
    EXPECT_EQ(r[18].substr(84, 8), "     200"); // D1 of the insulation
    Calculated big([](Worksheet& w) {
        w.raiseSmallDiameter = true;
        w.input(InputRow::InnerDiameter) = "250";
    });
    EXPECT_EQ(big.report()[15].substr(0, 6), "strato");
}

TEST(Report, EmptyTitleAndSingleWall) {
    Calculated c([](Worksheet& w) {
        w.projectTitle.clear();
        w.singleWall = true;
    });
    const auto& r = c.report();
    EXPECT_EQ(r[0], "titolo progetto= 08/12/2026 14:05:09");
    EXPECT_EQ(r[17], "isolante" + std::string(96, ' '));
}

TEST(Report, AppendedTwiceAfterOneCalculation) {
    Calculated c;
    c.report();
    const auto once = c.session.viewer.paragraphs;
    c.report();
    ASSERT_EQ(c.session.viewer.paragraphs.size(), 2 * once.size());
    EXPECT_TRUE(
        std::equal(once.begin(), once.end(), c.session.viewer.paragraphs.begin() + once.size()));
    // The next calculation empties the viewer.
    calculate(c.session, c.messages);
    EXPECT_TRUE(c.session.viewer.paragraphs.empty());
}

TEST(Report, ChecksAllFourLayersWithTodaysMaterials) {
    Calculated c;
    test::setMaterial(c.session.archive, 1, "basso", {{10, 0.5}, {30, 0.5}});
    const auto& r = c.report();
    std::vector<std::string> checks;
    for (const auto& line : r)
        if (line.rfind("temperatura media ", 0) == 0)
            checks.push_back(line.substr(0, line.find(" =")));
    const std::vector<std::string> expected = {"temperatura media asola tecnica",
                                               "temperatura media schermo 1"};
    EXPECT_EQ(checks, expected);
}

TEST(ReportFiles, RtfNameRule) {
    const std::pair<const char*, const char*> cases[] = {
        {"report", "report.rtf"},     {"report.rtf", "report.rtf"},
        {"report.RTF", "report.RTF"}, {"/tmp/a b/x", "/tmp/a b/x.rtf"},
        {"rtf", "rtf.rtf"},           {"x.rtf.txt", "x.rtf.txt.rtf"},
    };
    for (auto [chosen, saved] : cases)
        EXPECT_EQ(reportFileName(chosen), saved) << chosen;
}

TEST(ReportFiles, RtfKeepsFontSizeAndCharacters) {
    ViewerDocument doc;
    doc.append("T \xB0"
               "C {a} \\ b");
    doc.append("  due blanks davanti");
    doc.append("conducibilit\xE0 termica in W/m K");
    const std::string rtf = toRtf(doc);
    EXPECT_EQ(rtf.rfind("{\\rtf1\\ansi\\ansicpg1252", 0), 0u);
    EXPECT_NE(rtf.find("Courier New;"), std::string::npos);
    EXPECT_NE(rtf.find("\\fs28"), std::string::npos);
    EXPECT_NE(rtf.find("T \\'b0C \\{a\\} \\\\ b\\par"), std::string::npos);
    EXPECT_NE(rtf.find("\n  due blanks davanti\\par"), std::string::npos);
    EXPECT_EQ(rtf.back(), '\n');
}

TEST(ReportFiles, FixedPitchFittingPoints) {
    struct Case {
        std::size_t characters;
        int points;
        int room; // twips
        int expected;
    };
    const Case cases[] = {
        {0, 14, 15138, 14},     // an empty document keeps its size
        {90, 14, 15138, 14},    // 15120 twips wide at 14 points
        {91, 14, 15138, 13},    //
        {104, 14, 15138, 12},   // the report's table lines
        {105, 14, 15138, 12},   // 15120 twips at 12 points
        {106, 14, 15138, 11},   //
        {180, 14, 15138, 7},    // 15120 twips at 7 points
        {181, 14, 15138, 7},    // too wide even at 7 points: wraps at 7
        {100000, 14, 15138, 7}, //
        {104, 10, 15138, 10},   // never larger than the document's size
        {1000, 5, 15138, 5},    // nor than a size already below 7
        {1, 14, -1, 7},         // no room at all
        {10, 14, 1680, 14},     // exactly 10 * 12 * 14
        {10, 14, 1679, 13},     //
    };
    for (const Case& c : cases)
        EXPECT_EQ(fixedPitchFittingPoints(c.characters, c.points, c.room), c.expected)
            << c.characters << " characters at " << c.points << " points in " << c.room;
}

TEST(ReportFiles, RtfDeclaresTheLandscapePageAndTheFittingSize) {
    Calculated c;
    c.report();
    const std::string rtf = toRtf(c.session.viewer);
    const std::string header = "{\\rtf1\\ansi\\ansicpg1252\\deff0\n"
                               "{\\fonttbl{\\f0\\fmodern\\fcharset0 Courier New;}}\n"
                               "\\paperw16838\\paperh11906\\landscape"
                               "\\margl850\\margr850\\margt850\\margb850\n"
                               "\\pard\\plain\\f0\\fs24\n"
                               "titolo progetto=esempio 1 08/12/2026 14:05:09\\par\n";
    EXPECT_EQ(rtf.substr(0, header.size()), header);
    EXPECT_EQ(c.session.viewer.fontSize, 14); // the viewer keeps its size

    // The size follows the longest paragraph, counted in CP1252 bytes (the
    // degree sign is one character, written as four).
    struct Case {
        std::string longest;
        const char* size;
    };
    const Case cases[] = {
        {"", "\\fs28\n"},
        {std::string(90, 'x'), "\\fs28\n"},
        {std::string(91, 'x'), "\\fs26\n"},
        {std::string(104, '\\'), "\\fs24\n"}, // escaped as two bytes each
        {std::string(104, 'x') + "\xB0", "\\fs24\n"},
        {std::string(104, 'x') + "\xB0" + "C", "\\fs22\n"},
        {std::string(400, '-'), "\\fs14\n"},
    };
    for (const Case& k : cases) {
        ViewerDocument doc;
        doc.append("breve");
        doc.append(k.longest);
        doc.append("breve");
        const std::string out = toRtf(doc);
        EXPECT_NE(out.find("\\landscape"), std::string::npos);
        EXPECT_NE(out.find("\\f0" + std::string(k.size)), std::string::npos)
            << k.longest.size() << "\n"
            << out.substr(0, 200);
    }
}

// A real reader finds the font, the size and the characters.
TEST(ReportFiles, RtfReadsBackWithUnrtf) {
    if (std::system("command -v unrtf >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "unrtf is not installed";
    Calculated c;
    c.report();
    test::TempDir dir;
    saveRtf(c.session.viewer, dir.file("r.rtf"));
    auto run = test::runCommand("unrtf --html " + test::shellQuote(dir.file("r.rtf")));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("Courier New"), std::string::npos);
    EXPECT_NE(run.out.find("T &deg;C"), std::string::npos) << run.out.substr(0, 2000);
    EXPECT_NE(run.out.find("conducibilit&agrave;"), std::string::npos);
    EXPECT_NE(run.out.find("titolo progetto=esempio 1 08/12/2026 14:05:09"), std::string::npos);
    EXPECT_NE(run.out.find("1153.1"), std::string::npos);
}
