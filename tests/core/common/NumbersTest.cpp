#include "common/FixedPoint.h"
#include "common/NumberReader.h"
#include "support/TestSupport.h"

#include <clocale>
#include <cstdlib>
#include <iostream>

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using namespace camini;

struct FixedCase {
    double value;
    int width;
    int decimals;
    const char* text;
};

class FixedPointTest : public ::testing::TestWithParam<FixedCase> {};

TEST_P(FixedPointTest, WritesExactly) {
    const auto& c = GetParam();
    EXPECT_EQ(formatFixed(c.value, c.width, c.decimals), c.text)
        << c.value << " width " << c.width << " decimals " << c.decimals;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FixedPointTest,
    ::testing::Values(
        // Halves away from zero on the exact binary value.
        FixedCase{2.5, 0, 0, "3"}, FixedCase{0.125, 0, 2, "0.13"}, FixedCase{-2.5, 0, 0, "-3"},
        FixedCase{1.005, 0, 2, "1.00"}, FixedCase{0.5, 0, 0, "1"}, FixedCase{1.5, 0, 0, "2"},
        FixedCase{-0.5, 0, 0, "-1"}, FixedCase{9.5, 0, 0, "10"}, FixedCase{99.95, 0, 1, "100.0"},
        FixedCase{0.03125, 0, 4, "0.0313"}, FixedCase{1153.125, 7, 1, " 1153.1"},
        FixedCase{792.96875, 7, 1, "  793.0"}, FixedCase{512.34, 7, 1, "  512.3"},
        // Right-aligned fields that grow and never cut.
        FixedCase{0.0666667, 8, 5, " 0.06667"}, FixedCase{232.126, 8, 1, "   232.1"},
        FixedCase{350, 8, 0, "     350"}, FixedCase{20, 7, 0, "     20"},
        FixedCase{0.035, 7, 4, " 0.0350"}, FixedCase{0, 7, 0, "      0"},
        FixedCase{0, 7, 4, " 0.0000"}, FixedCase{100, 7, 4, "100.0000"},
        FixedCase{237, 7, 4, "237.0000"}, FixedCase{20.6, 7, 0, "     21"},
        FixedCase{-12.25, 8, 1, "   -12.3"}, FixedCase{123456789.0, 3, 0, "123456789"},
        FixedCase{1e20, 0, 0, "100000000000000000000"},
        // A negative value that rounds to zero keeps its sign; zero itself,
        // 0 or -0, has none.
        FixedCase{-0.03, 0, 1, "-0.0"}, FixedCase{-0.04, 6, 1, "  -0.0"},
        FixedCase{-0.4, 0, 0, "-0"}, FixedCase{-0.4, 3, 0, " -0"},
        FixedCase{-0.00004, 7, 4, "-0.0000"}, FixedCase{0.03, 0, 1, "0.0"},
        FixedCase{-0.0, 0, 0, "0"}, FixedCase{-0.0, 6, 1, "   0.0"}, FixedCase{0.0, 4, 1, " 0.0"},
        FixedCase{80, 3, 0, " 80"},
        // A half that carries into a new first digit, with a sign and a field.
        FixedCase{999.5, 0, 0, "1000"}, FixedCase{-9.5, 5, 0, "  -10"},
        FixedCase{99.75, 6, 1, "  99.8"}, FixedCase{-0.25, 0, 1, "-0.3"},
        // A half at the 60th decimal, the most written.
        FixedCase{0x1p-61, 0, 60, "0.000000000000000000433680868994201773602981120347976684570313"},
        FixedCase{5e-324, 0, 3, "0.000"}, FixedCase{-5e-324, 0, 3, "-0.000"},
        FixedCase{5, 2, 0, " 5"},
        // Either side of the limits of the written integers (2^53 once
        // scaled, 15 decimals) and close to halves.
        FixedCase{9007199254740991.0, 0, 0, "9007199254740991"},
        FixedCase{9007199254740992.0, 18, 0, "  9007199254740992"},
        FixedCase{4503599627370495.5, 0, 0, "4503599627370496"},
        FixedCase{0.035, 0, 15, "0.035000000000000"}, FixedCase{0.035, 0, 16, "0.0350000000000000"},
        FixedCase{1e15, 0, 1, "1000000000000000.0"}, FixedCase{2.675, 5, 2, " 2.67"},
        FixedCase{1.0000000000000002, 0, 15, "1.000000000000000"},
        FixedCase{-0.35, 7, 1, "   -0.3"}, FixedCase{0.45, 0, 1, "0.5"},
        // Values that are no number are named.
        FixedCase{std::numeric_limits<double>::infinity(), 6, 1, "   inf"},
        FixedCase{-std::numeric_limits<double>::infinity(), 0, 1, "-inf"},
        FixedCase{std::nan(""), 0, 1, "nan"}));

// The longest numbers and fields wider than any number: nothing cut, the
// field as wide as asked.
TEST(FixedPoint, HugeValuesAndWideFields) {
    const std::string largest = formatFixed(-1.7976931348623157e308, 0, 60);
    EXPECT_EQ(largest.size(), 1u + 309 + 1 + 60);
    EXPECT_EQ(largest.substr(0, 8), "-1797693");
    EXPECT_EQ(largest.substr(largest.size() - 3), "000");
    EXPECT_EQ(formatFixed(-1.7976931348623157e308, 400, 60), std::string(29, ' ') + largest);
    EXPECT_EQ(formatFixed(7, 450, 0), std::string(449, ' ') + "7");
    EXPECT_EQ(formatFixed(-0.5, 401, 1), std::string(397, ' ') + "-0.5");
    std::string out = "a";
    appendFixed(out, 2.5, 3, 0);
    EXPECT_EQ(out, "a  3");
}

struct LenientCase {
    const char* text;
    double value;
};

class LenientReaderTest : public ::testing::TestWithParam<LenientCase> {};

TEST_P(LenientReaderTest, ReadsLongestNumericPrefix) {
    EXPECT_EQ(readNumberLenient(GetParam().text), GetParam().value)
        << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LenientReaderTest,
    ::testing::Values(LenientCase{"250", 250}, LenientCase{"  80", 80}, LenientCase{"\t7", 7},
                      LenientCase{"-12.5", -12.5}, LenientCase{"+3", 3}, LenientCase{"1e3", 1000},
                      LenientCase{"2.5E-1", 0.25}, LenientCase{"12abc", 12}, LenientCase{"2,5", 2},
                      LenientCase{"abc", 0}, LenientCase{"", 0}, LenientCase{"   ", 0},
                      LenientCase{"-", 0}, LenientCase{".", 0}, LenientCase{".5", 0.5},
                      LenientCase{"5.", 5}, LenientCase{"1e", 1}, LenientCase{"1e+", 1},
                      LenientCase{"12.9", 12.9}, LenientCase{"0.1", 0.1}, LenientCase{"1e-400", 0},
                      LenientCase{"3 4", 3}, LenientCase{"199.9", 199.9},
                      // Either side of the limits of the plain numbers read
                      // as integers (2^53, 22 decimals, no exponent).
                      LenientCase{"900719925474099", 900719925474099.0},
                      LenientCase{"9007199254740993", 9007199254740992.0},
                      LenientCase{" 0.0350", 0.035}, LenientCase{"  +.5", 0.5},
                      LenientCase{"0.1234567890123456789012", 0.12345678901234568},
                      LenientCase{"0.0000000000000000000001", 1e-22},
                      LenientCase{"0.00000000000000000000001", 1e-23}, LenientCase{"1.5e2", 150},
                      LenientCase{"2.5E", 2.5}));

TEST(LenientReader, AMinusZeroKeepsItsSign) {
    EXPECT_TRUE(std::signbit(readNumberLenient("-0")));
    EXPECT_TRUE(std::signbit(readNumberLenient(" -0.000")));
    EXPECT_FALSE(std::signbit(readNumberLenient("0")));
}

TEST(LenientReader, HugeNumbersReadAsInfinity) {
    EXPECT_EQ(readNumberLenient("1e999"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(readNumberLenient("-1e999"), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(readNumberLenient(std::string(400, '9')), std::numeric_limits<double>::infinity());
    EXPECT_EQ(readNumberLenient("0." + std::string(400, '0') + "1"), 0.0);
}

// Under the Italian locale, whose decimal separator is the comma, numbers are
// still read and written with the point. Where the system has no Italian
// locale, the test compiles one (localedef) into a folder of its own; without
// localedef's sources it is skipped, and says so.
TEST(LenientReader, IgnoresTheRegionalSettings) {
    test::TempDir dir;
    const char* italian = std::setlocale(LC_NUMERIC, "it_IT.UTF-8");
    const bool installed = italian != nullptr;
    if (!italian && test::runCommand("localedef -i it_IT -f UTF-8 " +
                                     test::shellQuote(dir.file("it_IT.UTF-8")) + " 2>&1")
                            .status == 0) {
        ::setenv("LOCPATH", dir.path().c_str(), 1);
        italian = std::setlocale(LC_NUMERIC, "it_IT.UTF-8");
    }
    if (!italian) {
        ::unsetenv("LOCPATH");
        GTEST_SKIP() << "no Italian locale: none installed, and localedef could not make one";
    }
    std::cout << "Italian locale " << (installed ? "installed" : "made by localedef") << "\n";
    EXPECT_STREQ(std::localeconv()->decimal_point, ",");
    EXPECT_EQ(readNumberLenient("2.5"), 2.5);
    EXPECT_EQ(formatFixed(2.5, 0, 1), "2.5");
    std::setlocale(LC_NUMERIC, "C");
    ::unsetenv("LOCPATH");
}

struct StrictCase {
    const char* text;
    bool ok;
    double value;
};

class StrictReaderTest : public ::testing::TestWithParam<StrictCase> {};

TEST_P(StrictReaderTest, AcceptsOnlyAWholeNumber) {
    auto r = readNumberStrict(GetParam().text);
    ASSERT_EQ(r.has_value(), GetParam().ok) << '"' << GetParam().text << '"';
    if (r) {
        EXPECT_EQ(*r, GetParam().value);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, StrictReaderTest,
                         ::testing::Values(StrictCase{"     20", true, 20},
                                           StrictCase{" 0.0350", true, 0.035},
                                           StrictCase{"0", true, 0}, StrictCase{"0.0", true, 0},
                                           StrictCase{"00", true, 0}, StrictCase{"-5", true, -5},
                                           StrictCase{"1.5e2", true, 150},
                                           StrictCase{"12a", false, 0}, StrictCase{"x", false, 0},
                                           StrictCase{"", false, 0}, StrictCase{"  ", false, 0},
                                           StrictCase{"1,5", false, 0}, StrictCase{"20 ", false, 0},
                                           StrictCase{"1e", false, 0}, StrictCase{"-", false, 0}));

TEST(TruncateToRange, CutsTowardZeroAndLimits) {
    EXPECT_EQ(truncateToRange(12.9, 0, 255), 12);
    EXPECT_EQ(truncateToRange(-0.5, -10, 10), 0);
    EXPECT_EQ(truncateToRange(1e300, 0, 255), 255);
    EXPECT_EQ(truncateToRange(-1e300, 0, 255), 0);
    EXPECT_EQ(truncateToRange(std::numeric_limits<double>::infinity(), 0, 255), 255);
    EXPECT_EQ(truncateToRange(std::nan(""), 0, 255), 0);
}
