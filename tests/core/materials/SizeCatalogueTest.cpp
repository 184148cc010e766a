#include "materials/SizeCatalogue.h"
#include "common/FileError.h"
#include "support/TestSupport.h"

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

TEST(SizeCatalogue, ShippedCatalogueHoldsEightRealisticSizes) {
    SizeCatalogue cat(test::sourceDir() + "/data/stabile1.txt");
    cat.load();
    for (int i = 1; i <= 8; ++i) {
        EXPECT_GE(cat.entry(i).innerDiameter, 80.0);
        EXPECT_GT(cat.insulationThickness(i), 0.0);
        if (i > 1) {
            EXPECT_GT(cat.entry(i).innerDiameter, cat.entry(i - 1).innerDiameter);
        }
    }
}
