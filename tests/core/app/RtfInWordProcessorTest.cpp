// The saved report as a word processor lays it out: the example project's
// report through `camini-calc --rtf`, converted to PDF by LibreOffice Writer
// without a display and read back as text with its layout.
#include "support/TestSupport.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

using namespace camini;
using camini::test::runCommand;
using camini::test::shellQuote;

namespace {

std::vector<std::string> words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> v;
    for (std::string w; in >> w;)
        v.push_back(w);
    return v;
}

// The words of every line of the text whose first word is `first`.
std::vector<std::vector<std::string>> rowsStartingWith(const std::string& text,
                                                       const std::string& first) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        auto w = words(line);
        if (!w.empty() && w[0] == first)
            rows.push_back(std::move(w));
    }
    return rows;
}

} // namespace

TEST(RtfInWordProcessor, TableRowsStayWholeOnOneLandscapePage) {
    // scripts/setup.sh installs the word processor: missing, it is a failure.
    ASSERT_EQ(std::system("command -v soffice >/dev/null 2>&1"), 0)
        << "soffice is not installed (libreoffice-writer-nogui)";
    ASSERT_EQ(std::system("command -v pdftotext >/dev/null 2>&1"), 0) << "poppler-utils";

    test::TempDir dir;
    const std::string rtf = dir.file("relazione.rtf");
    const auto calc =
        runCommand(shellQuote(test::binDir() + "/camini-calc") + " --rtf " + shellQuote(rtf));
    ASSERT_EQ(calc.status, 0) << calc.err;

    // A fresh profile in the temporary folder: the conversion neither reads
    // nor leaves anything in the user's home, nor waits for another instance.
    const auto convert = runCommand("HOME=" + shellQuote(dir.path()) +
                                    " timeout 300 soffice --headless --convert-to pdf --outdir " +
                                    shellQuote(dir.path()) + " " + shellQuote(rtf));
    ASSERT_EQ(convert.status, 0) << convert.out << convert.err;
    const std::string pdf = dir.file("relazione.pdf");

    const auto info = runCommand("pdfinfo " + shellQuote(pdf));
    ASSERT_EQ(info.status, 0) << info.err;
    EXPECT_NE(info.out.find("Pages:           1\n"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("841.89 x 595.3"), std::string::npos) << info.out; // A4 landscape

    const auto text = runCommand("pdftotext -layout " + shellQuote(pdf) + " -");
    ASSERT_EQ(text.status, 0) << text.err;
    // Every row of the results table on one line with all its numbers.
    const std::pair<const char*, const char*> rows[] = {
        {"isolante", "isolante 0.05934 0.52534 73.3 156.8 151.7 130 210"},
        {"R", "R totale 0.77047 230.0"},
        {"schermo", "schermo 1 0.33295 0.02523 33.9 7.5 37.7 290 330"},
        {"strato", "strato lamda Rcalc T \u00b0C salto T calc D1 mm D2 mm"}, // the heading
    };
    for (auto [first, row] : rows) {
        const auto found = rowsStartingWith(text.out, first);
        ASSERT_FALSE(found.empty()) << first << "\n" << text.out;
        EXPECT_EQ(found.front(), words(row)) << text.out;
    }
}
