// The report and the temperature profile as a PDF document.
#include "BatchFixture.h"

#include "batch/ReportPdf.h"
#include "engine/ViewerDocument.h"
#include "plot/PdfCanvas.h"

#include <cairo-pdf.h>
#include <cairo.h>
#include <gtest/gtest.h>

#include <sstream>

using namespace camini;
using namespace camini::test;

namespace {

// Runs of blanks as one blank, none at the ends.
std::string squeezed(const std::string& s) {
    std::istringstream in(s);
    std::string word, out;
    while (in >> word)
        out += (out.empty() ? "" : " ") + word;
    return out;
}

ReportPages layOutDocument(const ViewerDocument& doc) {
    RecordingMessages messages;
    PlotState plot;
    ReportPages pages;
    reportPdf(doc, plot, GraphProcedure{}, messages, PdfMetadata{}, &pages);
    return pages;
}

} // namespace

TEST(ReportPdf, TwoA4PagesReportThenGraphInLandscape) {
    TempDir dir;
    const auto r = runCommand(calc() + " --pdf " + shellQuote(dir.file("r.pdf")));
    ASSERT_EQ(r.status, 0) << r.err;
    const auto info = runCommand("pdfinfo -f 1 -l 2 " + shellQuote(dir.file("r.pdf")));
    ASSERT_EQ(info.status, 0) << info.err;
    EXPECT_NE(info.out.find("Pages:           2"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("Page    1 size:  595.276 x 841.89 pts (A4)"), std::string::npos)
        << info.out;
    EXPECT_NE(info.out.find("Page    2 size:  841.89 x 595.276 pts (A4)"), std::string::npos)
        << info.out;

    const auto text =
        runCommand("pdftotext -layout -f 1 -l 1 " + shellQuote(dir.file("r.pdf")) + " -");
    ASSERT_EQ(text.status, 0) << text.err;
    // Every line of the report on one line of the page, its columns in order.
    const auto page = textLines(text.out);
    for (const std::string& line : textLines(r.out)) {
        if (squeezed(line).empty() || line.rfind("titolo", 0) == 0)
            continue;
        bool found = false;
        for (const std::string& p : page)
            found = found || squeezed(p) == squeezed(line);
        EXPECT_TRUE(found) << line;
    }
    EXPECT_NE(text.out.find("R totale"), std::string::npos);
    EXPECT_NE(squeezed(text.out).find("temp per resistenza al fuoco(est)= 632.8\u00b0C"),
              std::string::npos);
    EXPECT_NE(squeezed(text.out).find("temp per resistenza al fuoco(int)= 464.8\u00b0C"),
              std::string::npos);
    const auto graph = runCommand("pdftotext -f 2 -l 2 " + shellQuote(dir.file("r.pdf")) + " -");
    for (const char* label : {"isolante", "camera aria", "schermo 1", "250", "73"})
        EXPECT_NE(graph.out.find(label), std::string::npos) << label << "\n" << graph.out;
}

// With SOURCE_DATE_EPOCH two runs, a second apart, write the same report,
// RTF and PDF, dated at that moment in UTC; the PDF names its project and
// its program.
TEST(ReportPdf, TwoRunsWithSourceDateEpochGiveTheSameBytes) {
    TempDir dir;
    auto run = [&](const std::string& name) {
        const auto r = runCommand("SOURCE_DATE_EPOCH=0 " + calc() + " --rtf " +
                                  shellQuote(dir.file(name + ".rtf")) + " --pdf " +
                                  shellQuote(dir.file(name + ".pdf")));
        EXPECT_EQ(r.status, 0) << r.err;
        return r.out;
    };
    const std::string first = run("a");
    ASSERT_EQ(std::system("sleep 1"), 0);
    EXPECT_EQ(run("b"), first);
    EXPECT_EQ(textLines(first).at(0), "titolo progetto=esempio 1 01/01/1970 00:00:00");
    for (const char* ext : {".rtf", ".pdf"})
        EXPECT_EQ(readFile(dir.file(std::string("a") + ext)),
                  readFile(dir.file(std::string("b") + ext)))
            << ext;
    const auto info = runCommand("pdfinfo -isodates " + shellQuote(dir.file("a.pdf")));
    for (const char* line : {"Title:           esempio 1\n", "Creator:         camini-calc 1.1.0\n",
                             "CreationDate:    1970-01-01T00:00:00Z\n"})
        EXPECT_NE(info.out.find(line), std::string::npos) << line << info.out;

    // Another moment, a date of its own; a text that is no such moment is
    // a usage error.
    const auto later = runCommand("SOURCE_DATE_EPOCH=1700000000 " + calc());
    EXPECT_EQ(textLines(later.out).at(0), "titolo progetto=esempio 1 14/11/2023 22:13:20");
    const auto bad = runCommand("SOURCE_DATE_EPOCH=ieri " + calc());
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.err.rfind("camini-calc: SOURCE_DATE_EPOCH non valido", 0), 0u) << bad.err;
}

TEST(ReportPdf, RefusedWithASweepAndUnwritable) {
    TempDir dir;
    EXPECT_EQ(runCommand(calc() + " --pdf").status, 2);
    EXPECT_EQ(runCommand(calc() + " --sweep 5=0:1:1 --pdf " + shellQuote(dir.file("x.pdf"))).status,
              2);
    const auto r = runCommand(calc() + " --pdf " + shellQuote(dir.path()));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Is a directory"), std::string::npos) << r.err;
}

TEST(ReportPdf, FontShrinksToTheWidestLineAndNoLineIsSplitAcrossPages) {
    struct Case {
        std::size_t characters;
        int fontSize; // Liberation Mono: 0.6 em a character on 510 points
    };
    for (const Case c : {Case{60, 14}, Case{104, 8}, Case{120, 7}}) {
        ViewerDocument doc;
        for (int i = 0; i < 200; ++i)
            doc.append(std::string(c.characters, static_cast<char>('a' + i % 26)));
        const ReportPages pages = layOutDocument(doc);
        EXPECT_EQ(pages.fontSize, c.fontSize) << c.characters;
        std::vector<std::string> all;
        for (const auto& p : pages.pages)
            all.insert(all.end(), p.begin(), p.end());
        EXPECT_EQ(all, doc.paragraphs) << c.characters;
        EXPECT_GT(pages.pages.size(), 1u);
        EXPECT_EQ(pages.pages[0].size(), pages.pages[1].size()); // full pages
    }
}

TEST(ReportPdf, ALineWiderThanThePageAtTheSmallestSizeStaysOnOnePage) {
    ViewerDocument doc;
    const std::size_t perPage = layOutDocument([] {
                                    ViewerDocument d;
                                    for (int i = 0; i < 400; ++i)
                                        d.append("x");
                                    d.fontSize = 7;
                                    return d;
                                }())
                                    .pages[0]
                                    .size();
    for (std::size_t i = 0; i + 1 < perPage; ++i)
        doc.append("riga");
    doc.append(std::string(300, 'L')); // three pieces at 7 points, where one line is left
    const ReportPages pages = layOutDocument(doc);
    EXPECT_EQ(pages.fontSize, 7);
    ASSERT_EQ(pages.pages.size(), 2u);
    EXPECT_EQ(pages.pages[0].size(), perPage - 1);
    ASSERT_EQ(pages.pages[1].size(), 3u);
    EXPECT_EQ(pages.pages[1][0] + pages.pages[1][1] + pages.pages[1][2], std::string(300, 'L'));
}

TEST(PdfCanvas, TextWidthsAreTheFontsAdvances) {
    cairo_surface_t* surface = cairo_pdf_surface_create_for_stream(
        [](void*, const unsigned char*, unsigned int) { return CAIRO_STATUS_SUCCESS; }, nullptr,
        595, 842);
    cairo_t* cr = cairo_create(surface);
    {
        PdfCanvas canvas(cr, 4000, 6000, 600);
        canvas.setFontName("courier new");
        canvas.setFontSize(10);
        // 0.6 em of 10 points at 600 dots an inch: 50 dots a character.
        EXPECT_EQ(canvas.textWidth("MMMMMMMMMM"), 500);
        EXPECT_EQ(canvas.textWidth("    T \xB0"
                                   "C"),
                  400);
        canvas.setFontName("TIMES NEW ROMAN");
        // Digits of the serif face are half an em: 10 points are 83.3 dots.
        EXPECT_EQ(canvas.textWidth("1000"), 167);
        EXPECT_LT(canvas.textWidth("iiii"), canvas.textWidth("MMMM"));
    }
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
}
