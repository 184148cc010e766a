#include "materials/MaterialArchive.h"
#include "common/FileError.h"
#include "common/TextFile.h"
#include "materials/ArchiveEditor.h"
#include "support/TestSupport.h"

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace camini;
using camini::test::setMaterial;
using camini::test::TempDir;

namespace {

std::string block(const std::string& description, std::initializer_list<const char*> lines) {
    std::string s = description + "\r\n";
    for (const char* l : lines)
        s += std::string(l) + "\r\n";
    return s;
}

} // namespace

TEST(MaterialArchiveFile, WritesTheLiteralFields) {
    TempDir dir;
    MaterialArchive a(dir.file("materiali.TXT"));
    setMaterial(a, 1, "lana", {{20, 0.035}, {300, 100.0}});
    a.material(2).description = "bordo";
    a.material(2).temperatures[0] = 20.6;
    a.save();
    const std::string text = test::readFile(dir.file("materiali.TXT"));
    const std::string expectedFirst =
        block("lana", {"     20", " 0.0350", "    300", "100.0000", "      0", " 0.0000", "      0",
                       " 0.0000", "      0", " 0.0000", "      0", " 0.0000"});
    EXPECT_EQ(text.substr(0, expectedFirst.size()), expectedFirst);
    EXPECT_EQ(text.substr(expectedFirst.size(), 16), "bordo\r\n     21\r\n");
    // 100 blocks of 13 lines, CR LF after every line.
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1300);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), 1300);

    // 20.6 reads back as 21.
    a.load();
    EXPECT_EQ(a.material(2).temperatures[0], 21.0);
}

TEST(MaterialArchiveFile, SaveAfterLoadGivesIdenticalBytes) {
    TempDir dir;
    const std::string shipped = test::readFile(test::sourceDir() + "/data/materiali.TXT");
    test::writeFile(dir.file("materiali.TXT"), shipped);
    MaterialArchive a(dir.file("materiali.TXT"));
    a.load();
    a.save();
    EXPECT_EQ(test::readFile(dir.file("materiali.TXT")), shipped);
    EXPECT_EQ(a.fileText(), shipped);
}

TEST(MaterialArchiveFile, ShippedArchiveFillsTheDefaultLayers) {
    MaterialArchive a(test::sourceDir() + "/data/materiali.TXT");
    a.load();
    for (int m : {1, 5, 9}) {
        EXPECT_FALSE(a.description(m).empty()) << m;
        EXPECT_GE(a.pointCount(m), 2) << m;
    }
    EXPECT_EQ(a.pointCount(13), 1);
    EXPECT_TRUE(a.description(17).empty());
    EXPECT_EQ(a.pointCount(100), 0);
}

TEST(MaterialArchiveFile, LoadDerivesCountAndRange) {
    TempDir dir;
    std::string text =
        block("tre punti", {"20", "0.1", "0", "0.2", "300", "0.3", "0", "0", "", "", "0", "0"});
    text += block("azzerato", {"0", "0.1", "-5", "0.2", "0", "0", "0", "0", "0", "0", "0", "0"});
    test::writeFile(dir.file("m.TXT"), text);
    MaterialArchive a(dir.file("m.TXT"));
    setMaterial(a, 2, "prima", {{20, 1}, {40, 2}});
    a.load();
    EXPECT_EQ(a.pointCount(1), 3);
    EXPECT_EQ(a.tempMin(1), 20);
    EXPECT_EQ(a.tempMax(1), 300);
    EXPECT_EQ(a.pointCount(2), 0); // all temperatures 0 or below
    // A file of 26 lines: the rest is empty.
    EXPECT_TRUE(a.description(3).empty());
    EXPECT_EQ(a.material(100).temperatures[5], 0.0);
}

TEST(MaterialArchiveFile, AShortFileFillsOnlyItsMaterials) {
    TempDir dir;
    test::writeFile(dir.file("m.TXT"), block("solo il primo", {"100", "0.5", "200", "0.6", "0", "0",
                                                               "0", "0", "0", "0", "0", "0"}));
    MaterialArchive a(dir.file("m.TXT"));
    setMaterial(a, 50, "vecchio", {{20, 1}});
    a.load();
    EXPECT_EQ(a.description(1), "solo il primo");
    EXPECT_EQ(a.pointCount(1), 2);
    for (int m = 2; m <= 100; ++m) {
        EXPECT_TRUE(a.description(m).empty());
        EXPECT_EQ(a.pointCount(m), 0);
    }
}

TEST(MaterialArchiveFile, AFailedLoadChangesNothing) {
    TempDir dir;
    MaterialArchive a(dir.file("missing.TXT"));
    setMaterial(a, 5, "in memoria", {{20, 0.04}, {220, 0.06}});
    try {
        a.load();
        FAIL();
    } catch (const FileError& e) {
        EXPECT_EQ(e.text(), "File not found");
    }
    EXPECT_EQ(a.description(5), "in memoria");
    a.setPath(dir.path()); // a folder
    EXPECT_THROW(a.load(), FileError);
    EXPECT_EQ(a.description(5), "in memoria");
    EXPECT_EQ(a.pointCount(5), 2);
}

TEST(MaterialArchiveFile, AFailedSaveLeavesTheOldFile) {
    TempDir dir;
    const std::string shipped = test::readFile(test::sourceDir() + "/data/materiali.TXT");
    test::writeFile(dir.file("materiali.TXT"), shipped);
    MaterialArchive a(dir.file("materiali.TXT"));
    a.load();
    a.material(1).description = "modificato";
    int rc = test::runInChild([&] {
        std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit lim {
            1000, 1000
        };
        ::setrlimit(RLIMIT_FSIZE, &lim);
        try {
            a.save();
        } catch (const FileError&) {
            return 0;
        }
        return 1;
    });
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(test::readFile(dir.file("materiali.TXT")), shipped);

    std::filesystem::create_directory(dir.file("cartella"));
    a.setPath(dir.file("cartella"));
    EXPECT_THROW(a.save(), FileError);
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("cartella")));
}

struct LookupCase {
    double temperature;
    double lambda;
};

TEST(Conductivity, InterpolatesBetweenPointsAndHoldsBeyondThem) {
    MaterialArchive a;
    setMaterial(a, 1, "due punti", {{20, 0.04}, {220, 0.06}});
    const LookupCase cases[] = {{120, 0.05}, {20, 0.04},  {10, 0.04},
                                {-5, 0.04},  {220, 0.06}, {1000, 0.06}};
    for (const auto& c : cases)
        EXPECT_NEAR(a.conductivity(1, c.temperature), c.lambda, 1e-15) << c.temperature;

    setMaterial(a, 2, "tre punti", {{20, 1.0}, {200, 2.0}, {400, 5.0}});
    EXPECT_EQ(a.conductivity(2, 200), 2.0);
    EXPECT_EQ(a.conductivity(2, 300), 3.5);

    // A gap in the points: temperatures 20, 0, 300.
    setMaterial(a, 3, "buco", {{20, 1.0}, {0, 2.0}, {300, 3.0}});
    EXPECT_EQ(a.pointCount(3), 3);
    EXPECT_EQ(a.tempMax(3), 300);
    EXPECT_EQ(a.conductivity(3, 350), 3.0);
    EXPECT_EQ(a.conductivity(3, 15), 1.0);
    EXPECT_EQ(a.conductivity(3, 150), 0.0); // no segment begins at 0

    // Two points at one temperature: a segment of no width, which answers its
    // first point where no later segment begins.
    setMaterial(a, 4, "salto", {{20, 1.0}, {200, 2.0}, {200, 3.0}, {0, 0.0}, {400, 5.0}});
    for (const LookupCase& c : {LookupCase{110, 1.5}, {200, 2.0}, {201, 0.0}, {400, 5.0}})
        EXPECT_EQ(a.conductivity(4, c.temperature), c.lambda) << c.temperature;
}

TEST(Conductivity, OnePointMaterialAnswersItsPointEverywhere) {
    MaterialArchive a;
    setMaterial(a, 4, "un punto", {{300, 0.1}});
    EXPECT_EQ(a.tempMin(4), 300);
    EXPECT_EQ(a.tempMax(4), 300);
    for (double t : {-50.0, 0.0, 300.0, 5000.0})
        EXPECT_EQ(a.conductivity(4, t), 0.1);
    EXPECT_TRUE(a.withinMaxTemperature(4, 300));
    EXPECT_FALSE(a.withinMaxTemperature(4, 300.5));

    // Edited in the editor, the stored page moves the range to the edited
    // point; the lookup only reads.
    EditorPage page = editorPageOf(a, 4);
    page.cells[0][0] = "500";
    test::RecordingMessages messages;
    storeEditorPage(a, 4, page, messages);
    EXPECT_EQ(a.tempMin(4), 500);
    EXPECT_EQ(a.tempMax(4), 500);
    const MaterialArchive& read = a;
    EXPECT_EQ(read.conductivity(4, 20), 0.1);
}

TEST(Conductivity, EmptySlotsAndNumbersOutsideTheArchive) {
    MaterialArchive a;
    for (int m : {0, 17, 101, 255, -3, 1000})
        EXPECT_EQ(a.conductivity(m, 100), 0.0) << m;
    EXPECT_TRUE(a.withinMaxTemperature(0, 1e9));
    EXPECT_TRUE(a.withinMaxTemperature(101, 1e9));
    EXPECT_TRUE(a.description(0).empty());
    EXPECT_TRUE(a.description(101).empty());
    // Writing through a number outside the archive stores nothing.
    a.material(101).description = "fuori";
    EXPECT_TRUE(a.description(101).empty());
}

TEST(Conductivity, RangeCheckCountsEqualityAsWithin) {
    MaterialArchive a;
    setMaterial(a, 1, "lana", {{50, 0.04}, {400, 0.14}});
    EXPECT_TRUE(a.withinMaxTemperature(1, 400));
    EXPECT_FALSE(a.withinMaxTemperature(1, 400.05));
    EXPECT_TRUE(a.withinMaxTemperature(1, -100));
}

TEST(MaterialArchiveFile, OddLinesReadQuietly) {
    TempDir dir;
    // NUL bytes, a number too large for a double, a comma, letters, a 3 MiB
    // line (within the 4 MiB no archive reaches).
    std::string text = std::string("nul\0byte", 8) + "\r\n1e999\r\n0,5\r\nabc\r\n-1e999\r\n";
    text += std::string(3 * 1024 * 1024, 'x') + "\r\n";
    test::writeFile(dir.file("m.TXT"), text);
    MaterialArchive a(dir.file("m.TXT"));
    a.load();
    EXPECT_EQ(a.description(1), std::string("nul\0byte", 8));
    EXPECT_EQ(a.material(1).temperatures[0], 0.0); // too large: read as 0
    EXPECT_EQ(a.material(1).lambdas[0], 0.0);
    EXPECT_EQ(a.material(1).temperatures[1], 0.0); // "abc"
    EXPECT_EQ(a.material(1).lambdas[1], 0.0);
    EXPECT_EQ(a.material(1).temperatures[2], 0.0); // the long line is a number line: 0
    // Saved and loaded again, nothing moves.
    a.setPath(dir.file("copia.TXT"));
    a.save();
    const std::string first = test::readFile(dir.file("copia.TXT"));
    a.load();
    a.save();
    EXPECT_EQ(test::readFile(dir.file("copia.TXT")), first);
}

TEST(MaterialArchiveFile, PermissionsAsAnUnprivilegedUser) {
    TempDir dir;
    const std::string shipped = test::readFile(test::sourceDir() + "/data/materiali.TXT");
    test::writeFile(dir.file("materiali.TXT"), shipped);
    ::chmod(dir.file("materiali.TXT").c_str(), 0444);
    // Reading works, saving over a read-only file is refused.
    int rc = test::runInChild(
        [&] {
            MaterialArchive a(dir.file("materiali.TXT"));
            a.load();
            a.material(1).description = "cambiato";
            try {
                a.save();
            } catch (const FileError& e) {
                return e.text() == "File access denied" ? 0 : 2;
            }
            return 1;
        },
        true);
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(test::readFile(dir.file("materiali.TXT")), shipped);

    // A file that may not be read: the load fails and memory keeps its slots.
    ::chmod(dir.file("materiali.TXT").c_str(), 0);
    rc = test::runInChild(
        [&] {
            MaterialArchive a(dir.file("materiali.TXT"));
            test::setMaterial(a, 3, "in memoria", {{20, 1.0}});
            try {
                a.load();
            } catch (const FileError& e) {
                return (e.text() == "File access denied" && a.description(3) == "in memoria") ? 0
                                                                                              : 2;
            }
            return 1;
        },
        true);
    EXPECT_EQ(rc, 0);
}

// The archive in memory: an empty slot written as its block, a slot with a
// negative conductivity that rounds to zero keeps the sign, and the text of a
// parse is what the file of the same bytes loads.
TEST(MaterialArchiveText, ParsesAndSerializesInMemory) {
    ArchiveSlots slots;
    slots[0].description = "lana";
    slots[0].temperatures = {20, 300, 0, 0, 0, 0};
    slots[0].lambdas = {0.035, -0.00004, 0, 0, 0, 0};
    const std::string text = serializeMaterialArchive(slots);
    const std::string first =
        block("lana", {"     20", " 0.0350", "    300", "-0.0000", "      0", " 0.0000", "      0",
                       " 0.0000", "      0", " 0.0000", "      0", " 0.0000"});
    const std::string empty =
        block("", {"      0", " 0.0000", "      0", " 0.0000", "      0", " 0.0000", "      0",
                   " 0.0000", "      0", " 0.0000", "      0", " 0.0000"});
    EXPECT_EQ(text.substr(0, first.size()), first);
    EXPECT_EQ(text.substr(first.size(), empty.size()), empty);
    EXPECT_EQ(text.size(), first.size() + 99 * empty.size());

    const ArchiveSlots back = parseMaterialArchive(text);
    EXPECT_EQ(back[0].description, "lana");
    EXPECT_EQ(back[0].pointCount, 2);
    EXPECT_EQ(back[0].tempMax, 300.0);
    EXPECT_EQ(back[0].lambdas[1], 0.0);
    EXPECT_EQ(back[1], Material{});
    // The sign went with the rounding: the second text has the plain zero.
    const std::string second = serializeMaterialArchive(back);
    EXPECT_EQ(second.substr(0, first.size()),
              block("lana", {"     20", " 0.0350", "    300", " 0.0000", "      0", " 0.0000",
                             "      0", " 0.0000", "      0", " 0.0000", "      0", " 0.0000"}));
    EXPECT_EQ(serializeMaterialArchive(parseMaterialArchive(second)), second);
}

// Lines that only look like an empty block (LF line ends, or a slot cut off
// by the end of the text) read by the line rules all the same.
TEST(MaterialArchiveText, EmptyBlocksAndShortTextsReadByTheLineRules) {
    struct Case {
        std::string text;
        int slot;
        const char* description;
        double firstTemperature;
    };
    const std::string emptyCrLf =
        block("", {"      0", " 0.0000", "      0", " 0.0000", "      0", " 0.0000", "      0",
                   " 0.0000", "      0", " 0.0000", "      0", " 0.0000"});
    const Case cases[] = {
        {emptyCrLf + "secondo\r\n40\r\n", 2, "secondo", 40},
        {std::string(13, '\n') + "lf\n50\n", 2, "lf", 50},
        {"solo\n60", 1, "solo", 60},
        {emptyCrLf.substr(0, 20) + "\r\n", 1, "", 0},
        {"", 1, "", 0},
    };
    // Slots and text reused from one parse to the next keep nothing of the
    // archive they held before (the shipped one, every slot's kind in it).
    ArchiveSlots reused =
        parseMaterialArchive(test::readFile(test::sourceDir() + "/data/materiali.TXT"));
    std::string reusedText = serializeMaterialArchive(reused);
    for (const auto& c : cases) {
        const ArchiveSlots s = parseMaterialArchive(c.text);
        EXPECT_EQ(s[c.slot - 1].description, c.description) << c.slot;
        EXPECT_EQ(s[c.slot - 1].temperatures[0], c.firstTemperature) << c.slot;
        EXPECT_EQ(s[99], Material{});
        parseMaterialArchive(c.text, reused);
        EXPECT_EQ(reused, s) << c.slot;
        serializeMaterialArchive(reused, reusedText);
        EXPECT_EQ(reusedText, serializeMaterialArchive(s)) << c.slot;
    }
}

TEST(MaterialArchiveText, TheShippedFileLoadsAsItParses) {
    const std::string path = test::sourceDir() + "/data/materiali.TXT";
    MaterialArchive a(path);
    a.load();
    const std::string bytes = test::readFile(path);
    EXPECT_EQ(a.allMaterials(), parseMaterialArchive(bytes));
    EXPECT_EQ(serializeMaterialArchive(parseMaterialArchive(bytes)), bytes);
}

// Every number line that is not entirely a finite number is named once, in
// file order, with the value it was read as; the values are read as before.
TEST(MaterialArchiveWarnings, MisreadNumbersNamedWithTheirPoint) {
    struct Case {
        const char* line; // the conductivity line of point 2 of material 3
        double read;
        const char* warning; // nothing: read as written
    };
    const Case cases[] = {
        {"0,0690", 0, "materiale 3 \"acciaio al carbonio\", punto 2: \"0,0690\" letto come 0"},
        {"nan", 0, "materiale 3 \"acciaio al carbonio\", punto 2: \"nan\" letto come 0"},
        {"1e999", 0, "materiale 3 \"acciaio al carbonio\", punto 2: \"1e999\" letto come 0"},
        {" 12abc", 12, "materiale 3 \"acciaio al carbonio\", punto 2: \" 12abc\" letto come 12"},
        {"0.0350000000000000000000000x", 0.035,
         "materiale 3 \"acciaio al carbonio\", punto 2: \"0.035000000000000000...\" letto come "
         "0.035"},
        {" 50.7000 ", 50.7, nullptr},
        {"", 0, nullptr},
        {"-2e-1", -0.2, nullptr},
    };
    // The shipped archive with that line replaced.
    const std::string shipped = test::readFile(test::sourceDir() + "/data/materiali.TXT");
    const std::size_t at = shipped.find("\r\n50.7000\r\n", shipped.find("acciaio al carbonio")) + 2;
    for (const Case& c : cases) {
        MaterialArchive a;
        a.parse(std::string(shipped).replace(at, 7, c.line));
        EXPECT_EQ(a.material(3).lambdas[1], c.read) << c.line;
        EXPECT_EQ(a.misreadNumbers(),
                  c.warning ? std::vector<std::string>{c.warning} : std::vector<std::string>{})
            << c.line;
    }
}

TEST(MaterialArchiveWarnings, OneMessageOfAtMostTwentyLines) {
    std::vector<std::string> lines;
    EXPECT_EQ(joinWarnings(lines), "");
    for (int i = 1; i <= 22; ++i)
        lines.push_back("w" + std::to_string(i));
    EXPECT_EQ(joinWarnings(lines), "w1\nw2\nw3\nw4\nw5\nw6\nw7\nw8\nw9\nw10\nw11\nw12\nw13\nw14\n"
                                   "w15\nw16\nw17\nw18\nw19\nw20\ne altri 2");
    lines.resize(20);
    EXPECT_EQ(joinWarnings(lines), "w1\nw2\nw3\nw4\nw5\nw6\nw7\nw8\nw9\nw10\nw11\nw12\nw13\nw14\n"
                                   "w15\nw16\nw17\nw18\nw19\nw20");
}
