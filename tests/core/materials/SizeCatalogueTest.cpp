#include "materials/SizeCatalogue.h"
#include "common/FileError.h"
#include "support/TestSupport.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

using namespace camini;
using camini::test::TempDir;

namespace {
std::string numberLines(int count) {
    std::string s;
    for (int i = 1; i <= count; ++i)
        s += std::to_string(i * 10) + "\n";
    return s;
}
} // namespace

TEST(SizeCatalogue, ReadsEightEntriesOfThreeLines) {
    TempDir dir;
    struct Case {
        int lines;
        int filledEntries;
    };
    for (Case c : {Case{30, 8}, Case{24, 8}, Case{12, 4}, Case{0, 0}}) {
        test::writeFile(dir.file("stabile1.txt"), numberLines(c.lines));
        SizeCatalogue cat(dir.file("stabile1.txt"));
        cat.load();
        for (int i = 1; i <= 8; ++i) {
            if (i <= c.filledEntries) {
                EXPECT_EQ(cat.entry(i).innerDiameter, (3 * i - 2) * 10.0);
                EXPECT_EQ(cat.entry(i).outerDiameter, (3 * i - 1) * 10.0);
            } else {
                EXPECT_EQ(cat.entry(i).innerDiameter, 0.0) << c.lines << " lines, entry " << i;
                EXPECT_EQ(cat.entry(i).outerDiameter, 0.0);
            }
        }
    }
}

TEST(SizeCatalogue, InsulationThicknessIsHalfTheDifference) {
    TempDir dir;
    test::writeFile(dir.file("s.txt"), "150\r\n250\r\n1\r\n");
    SizeCatalogue cat(dir.file("s.txt"));
    cat.load();
    EXPECT_EQ(cat.insulationThickness(1), 50.0);
    EXPECT_EQ(cat.entry(0).innerDiameter, 0.0);
    EXPECT_EQ(cat.entry(9).innerDiameter, 0.0);
}

TEST(SizeCatalogue, AFailedLoadKeepsTheEntries) {
    TempDir dir;
    test::writeFile(dir.file("s.txt"), "150\r\n250\r\n1\r\n");
    SizeCatalogue cat(dir.file("s.txt"));
    cat.load();
    cat.setPath(dir.file("missing.txt"));
    try {
        cat.load();
        FAIL();
    } catch (const FileError& e) {
        EXPECT_EQ(e.text(), "File not found");
    }
    EXPECT_EQ(cat.entry(1).innerDiameter, 150.0);
}

// The catalogue in memory: the bytes parse by the file's rules, and what is
// serialized parses back to the same values, whatever they are.
TEST(SizeCatalogueText, ParsesAndSerializesInMemory) {
    const SizeEntries e = parseSizeCatalogue("80\r\n180\r\n1\r\n100.5\n2e2\n2\nx\n-0.25");
    EXPECT_EQ(e[0].innerDiameter, 80.0);
    EXPECT_EQ(e[0].outerDiameter, 180.0);
    EXPECT_EQ(e[1].innerDiameter, 100.5);
    EXPECT_EQ(e[1].outerDiameter, 200.0);
    EXPECT_EQ(e[2].innerDiameter, 0.0);
    EXPECT_EQ(e[2].outerDiameter, -0.25);
    EXPECT_EQ(e[7].outerDiameter, 0.0);

    const std::string text = serializeSizeCatalogue(e);
    EXPECT_EQ(text.substr(0, 40), "80\r\n180\r\n1\r\n100.5\r\n200\r\n2\r\n0\r\n-0.25\r\n3\r\n");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 24);

    SizeEntries odd{};
    odd[0] = {0.1, 1e300};
    odd[1] = {-0.0, 123456.789};
    const SizeEntries back = parseSizeCatalogue(serializeSizeCatalogue(odd));
    EXPECT_EQ(back[0].innerDiameter, 0.1);
    EXPECT_EQ(back[0].outerDiameter, 1e300);
    EXPECT_EQ(back[1].outerDiameter, 123456.789);
    EXPECT_TRUE(std::signbit(back[1].innerDiameter));
}

// The shipped catalogue: eight sizes, each with 50 mm of insulation, the same
// loaded from the file or parsed from its bytes.
TEST(SizeCatalogueText, TheShippedFileLoadsAsItParses) {
    const std::string path = test::sourceDir() + "/data/stabile1.txt";
    SizeCatalogue cat(path);
    cat.load();
    const SizeEntries parsed = parseSizeCatalogue(test::readFile(path));
    const double inner[] = {80, 100, 130, 150, 180, 200, 250, 300};
    const double outer[] = {180, 200, 230, 250, 280, 300, 350, 400};
    for (int i = 1; i <= SizeCount; ++i) {
        const auto k = static_cast<std::size_t>(i - 1);
        EXPECT_EQ(cat.entry(i).innerDiameter, inner[k]) << i;
        EXPECT_EQ(cat.entry(i).outerDiameter, outer[k]) << i;
        EXPECT_EQ(cat.insulationThickness(i), 50.0) << i;
        EXPECT_EQ(parsed[k].innerDiameter, inner[k]) << i;
        EXPECT_EQ(parsed[k].outerDiameter, outer[k]) << i;
    }
}
