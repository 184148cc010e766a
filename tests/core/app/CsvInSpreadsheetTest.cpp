// The sweep's table in the Italian dialect as a spreadsheet opens it: the
// --csv-it file imported by LibreOffice Calc without a display with the
// Italian number format, and its cells read back.
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <string>

using namespace camini;
using camini::test::runCommand;
using camini::test::shellQuote;
using nlohmann::json;

TEST(CsvInSpreadsheet, ItalianTableOpensWithItsNumbersAsNumbers) {
    // scripts/setup.sh installs the spreadsheet: missing, it is a failure.
    ASSERT_EQ(std::system("command -v soffice >/dev/null 2>&1"), 0)
        << "soffice is not installed (libreoffice-calc-nogui)";
    test::TempDir dir;
    const std::string csv = dir.file("isolante.csv");
    const auto calc =
        runCommand("(" + test::calc() + " --sweep spessore-isolante=-70.0:30:50 --csv-it > " +
                   shellQuote(csv) + ")");
    ASSERT_EQ(calc.status, 3) << calc.err; // -70 mm stops

    // A fresh profile in the temporary folder. The filter's options:
    // separator ";" (59), text in '"' (34), UTF-8 (76), from line 1, the
    // columns as detected, numbers in the Italian format (1040).
    const auto convert = runCommand(
        "HOME=" + shellQuote(dir.path()) +
        " timeout 300 soffice --headless --infilter=CSV:59,34,76,1,,1040 --convert-to fods "
        "--outdir " +
        shellQuote(dir.path()) + " " + shellQuote(csv));
    ASSERT_EQ(convert.status, 0) << convert.out << convert.err;
    const auto cells = runCommand(
        "python3 " + shellQuote(test::sourceDir() + "/tests/support/spreadsheet-cells.py") + " " +
        shellQuote(dir.file("isolante.fods")));
    ASSERT_EQ(cells.status, 0) << cells.err;
    const json rows = json::parse(cells.out);
    ASSERT_EQ(rows.size(), 4u) << rows;
    EXPECT_EQ(rows[0][0], json::parse(R"(["string", "spessore-isolante [mm]"])"));
    EXPECT_EQ(rows[0][14], json::parse(R"(["string", "messaggio"])"));
    // The stopped value: its number, empty cells, the message as text.
    EXPECT_EQ(rows[1][0], json::parse(R"(["float", "-70"])"));
    EXPECT_EQ(rows[1][1], json::parse(R"(["", ""])"));
    EXPECT_EQ(rows[1][14][0], "string");
    EXPECT_EQ(rows[2][14][0], "string"); // -20 mm stops too: a negative thickness
    // Every cell of the calculated line is a number (the document keeps 15
    // significant digits of it); the empty message is left out.
    ASSERT_EQ(rows[3].size(), 12u) << rows[3];
    for (const json& cell : rows[3])
        EXPECT_EQ(cell[0], "float") << cell;
    EXPECT_EQ(rows[3][0][1], "30");
    EXPECT_EQ(rows[3][1][1], "0.664764249002594");
    EXPECT_EQ(rows[3][9][1], "576.5625");
    EXPECT_EQ(rows[3][10][1], "410.15625");
}
