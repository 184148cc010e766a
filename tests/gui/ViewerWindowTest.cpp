#include "GuiFixture.h"
#include "QtText.h"
#include "engine/ResultsGrid.h"
#include "engine/RtfWriter.h"
#include "forms/Layouts.h"

#include <QFontInfo>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextEdit>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>

using namespace camini;
using namespace camini::test;

namespace {

std::vector<std::string> textLines(const QTextEdit* edit) {
    std::vector<std::string> v;
    for (const QString& l : edit->toPlainText().split('\n'))
        v.push_back(toCp1252(l));
    return v;
}

// The words of a text joined by single blanks.
std::string words(const std::string& text) {
    std::string out;
    bool blank = true;
    for (char c : text) {
        const bool space = c == ' ' || c == '\n' || c == '\r' || c == '\f' || c == '\t';
        if (space) {
            blank = true;
            continue;
        }
        if (blank && !out.empty())
            out.push_back(' ');
        blank = false;
        out.push_back(c);
    }
    return out;
}

// A word of a PDF page and its box in points, as pdftotext -bbox gives it.
struct PrintedWord {
    double xMin, yMin, xMax, yMax;
    std::string text;
};

std::vector<PrintedWord> parseBoxes(const std::string& html) {
    std::vector<PrintedWord> out;
    std::size_t at = 0;
    auto attribute = [&](std::size_t tag, const char* name) {
        const std::size_t p = html.find(std::string(name) + "=\"", tag);
        return std::stod(html.substr(p + std::strlen(name) + 2));
    };
    while ((at = html.find("<word ", at)) != std::string::npos) {
        const std::size_t open = html.find('>', at);
        const std::size_t close = html.find("</word>", open);
        out.push_back({attribute(at, "xMin"), attribute(at, "yMin"), attribute(at, "xMax"),
                       attribute(at, "yMax"), html.substr(open + 1, close - open - 1)});
        at = close;
    }
    return out;
}

// The first word with this text on the line at y (any line when y < 0)
// below `after`.
const PrintedWord* findWord(const std::vector<PrintedWord>& all, const std::string& text, double y,
                            double after = -1) {
    for (const PrintedWord& w : all)
        if (w.text == text && (y < 0 || std::abs(w.yMin - y) < 0.5) && w.yMin > after)
            return &w;
    return nullptr;
}

} // namespace

// The viewer reached as the user reaches it: "&Calcola", then "&risultati a
// video" in the main window.
class Viewer : public GuiFixture {
protected:
    // The report shown once, with `script` acting on the viewer while it is
    // shown; the graph window that follows is closed at once.
    void showReport(std::function<void(TAboutBox&)> script) {
        services.modalScripts.push_back(
            [script = std::move(script)](QDialog& w) { script(static_cast<TAboutBox&>(w)); });
        services.modalScripts.push_back([](QDialog&) {});
        named<QPushButton>(*form1, "BitBtn15")->click();
    }

    void calculateAndShowReport(std::function<void(TAboutBox&)> script) {
        named<QPushButton>(*form1, "BitBtn1")->click();
        showReport(std::move(script));
    }
};

TEST_F(Viewer, LayoutAt1366x768) {
    ASSERT_EQ(screenSize(), QSize(1366, 768));
    QRect frame, edit, b1, b2, b3;
    QSize size;
    QString caption;
    int fontSize = 0;
    bool fixedPitch = false;
    calculateAndShowReport([&](TAboutBox& v) {
        frame = v.frameGeometry();
        size = v.size();
        edit = named<QTextEdit>(v, "RichEdit1")->geometry();
        b1 = named<QPushButton>(v, "BitBtn1")->geometry();
        b2 = named<QPushButton>(v, "BitBtn2")->geometry();
        b3 = named<QPushButton>(v, "BitBtn3")->geometry();
        caption = v.windowTitle();
        fontSize = named<QPushButton>(v, "BitBtn2")->font().pointSize();
        fixedPitch =
            QFontInfo(named<QTextEdit>(v, "RichEdit1")->document()->defaultFont()).fixedPitch();
    });
    EXPECT_EQ(services.modalWindows, (std::vector<QString>{"AboutBox", "Form8"}));
    // The window's corner at the screen's, its size the screen's, as the
    // main window's.
    EXPECT_EQ(frame.topLeft(), QPoint(0, 0));
    EXPECT_EQ(size, QSize(1366, 768));
    EXPECT_EQ(edit, QRect(10, 10, 1270, 652));
    EXPECT_EQ(b1, QRect(409, 672, 204, 30));
    EXPECT_EQ(b2, QRect(623, 672, 204, 30));
    EXPECT_EQ(b3, QRect(837, 672, 204, 30));
    EXPECT_EQ(caption, "risultati");
    EXPECT_EQ(fontSize, 14);
    EXPECT_TRUE(fixedPitch);
    EXPECT_EQ(named<QPushButton>(*aboutBox, "BitBtn1")->text(), "Uscita");
    EXPECT_EQ(named<QPushButton>(*aboutBox, "BitBtn2")->text(), "Stampa");
    EXPECT_EQ(named<QPushButton>(*aboutBox, "BitBtn3")->text(), "Su file di testo");
    // A fixed dialog border: no resizing, no minimise or maximise box.
    EXPECT_FALSE(aboutBox->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(aboutBox->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(aboutBox->minimumSize(), aboutBox->maximumSize());
    EXPECT_EQ(named<QTextEdit>(*aboutBox, "RichEdit1")->verticalScrollBarPolicy(),
              Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(named<QTextEdit>(*aboutBox, "RichEdit1")->lineWrapMode(), QTextEdit::NoWrap);
}

TEST_F(Viewer, LaidOutAnewOnEveryShowing) {
    calculateAndShowReport([](TAboutBox&) {});
    aboutBox->setMinimumSize(0, 0);
    aboutBox->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    aboutBox->setGeometry(100, 100, 300, 200);
    named<QTextEdit>(*aboutBox, "RichEdit1")->setGeometry(0, 0, 50, 50);
    named<QPushButton>(*aboutBox, "BitBtn3")->setGeometry(1, 2, 3, 4);
    QRect frame, edit, b3;
    QSize size;
    showReport([&](TAboutBox& v) {
        frame = v.frameGeometry();
        size = v.size();
        edit = named<QTextEdit>(v, "RichEdit1")->geometry();
        b3 = named<QPushButton>(v, "BitBtn3")->geometry();
    });
    EXPECT_EQ(frame.topLeft(), QPoint(0, 0));
    EXPECT_EQ(size, QSize(1366, 768));
    EXPECT_EQ(edit, QRect(10, 10, 1270, 652));
    EXPECT_EQ(b3, QRect(837, 672, 204, 30));
}

TEST_F(Viewer, UscitaClosesTheViewerAndThenTheProfileGraphIsShown) {
    bool graphShownWhileViewerOpen = true;
    services.modalScripts.push_back([&](QDialog& w) {
        named<QPushButton>(w, "BitBtn1")->click();
        EXPECT_FALSE(w.isVisible());
    });
    services.modalScripts.push_back([&](QDialog& w) {
        graphShownWhileViewerOpen = aboutBox->isVisible();
        EXPECT_EQ(&w, form8);
    });
    named<QPushButton>(*form1, "BitBtn1")->click();
    named<QPushButton>(*form1, "BitBtn15")->click();
    EXPECT_EQ(services.modalWindows, (std::vector<QString>{"AboutBox", "Form8"}));
    EXPECT_FALSE(graphShownWhileViewerOpen);
}

TEST_F(Viewer, ReportBeforeAnyCalculationIsRefused) {
    named<QPushButton>(*form1, "BitBtn15")->click();
    EXPECT_EQ(services.messages, std::vector<std::string>{"eseguire prima il calcolo!"});
    EXPECT_TRUE(services.modalWindows.empty());
    EXPECT_TRUE(session->viewer.paragraphs.empty());
}

TEST_F(Viewer, TwoRequestsAfterOneCalculationShowTheReportTwice) {
    std::vector<std::string> first, second;
    calculateAndShowReport(
        [&](TAboutBox& v) { first = textLines(named<QTextEdit>(v, "RichEdit1")); });
    int firstShown = -1;
    showReport([&](TAboutBox& v) {
        auto* edit = named<QTextEdit>(v, "RichEdit1");
        second = textLines(edit);
        firstShown = edit->cursorForPosition(QPoint(8, 8)).blockNumber();
    });
    EXPECT_TRUE(services.messages.empty());
    ASSERT_GT(first.size(), 30u);
    EXPECT_EQ(first[0], "titolo progetto=esempio 1 08/12/2026 14:05:09");
    // The report ends with an empty line, so the second copy starts on the
    // line after the first one's last.
    const std::size_t n = session->viewer.paragraphs.size() / 2;
    ASSERT_EQ(session->viewer.paragraphs.size(), 2 * n);
    std::vector<std::string> once(session->viewer.paragraphs.begin(),
                                  session->viewer.paragraphs.begin() + n);
    EXPECT_EQ(first, once);
    EXPECT_EQ(second, session->viewer.paragraphs);
    EXPECT_EQ(std::vector<std::string>(second.begin() + static_cast<long>(n), second.end()), once);
    // The second showing opens at the second report's title.
    EXPECT_EQ(firstShown, static_cast<int>(n));
    // The next calculation empties the viewer.
    named<QPushButton>(*form1, "BitBtn1")->click();
    EXPECT_TRUE(session->viewer.paragraphs.empty());
    EXPECT_TRUE(named<QTextEdit>(*aboutBox, "RichEdit1")->toPlainText().isEmpty());
}

TEST_F(Viewer, CancellaThenReportReadsTheEmptiedGrids) {
    named<QPushButton>(*form1, "BitBtn1")->click();
    services.answers = {DesktopServices::Answer::Yes};
    named<QPushButton>(*form1, "BitBtn5")->click();
    std::vector<std::string> shown;
    showReport([&](TAboutBox& v) { shown = textLines(named<QTextEdit>(v, "RichEdit1")); });
    EXPECT_TRUE(services.messages.empty());
    ASSERT_GT(shown.size(), 26u);
    // The emptied cells no longer match the results: the report says so
    // first, then runs as before.
    EXPECT_EQ(shown[0], "ATTENZIONE: risultati non aggiornati ai dati");
    // The labels with their blanks and nothing after them ("\260" is the
    // degree sign).
    const std::pair<const char*, std::size_t> labels[] = {
        {"temperatura fumi[\260C]", 14},
        {"temperatura ambiente[\260C]", 10},
        {"diametro interno [mm]", 13},
        {"coefficiente liminare interno[\260C]", 1},
        {"coefficiente liminare esterno[\260C]", 1},
        {"spessore isolante[mm]", 13},
        {"spessore camera d aria[mm]", 8},
        {"spessore asola tecnica [mm]", 11},
        {"spessore schermo 1 [mm]", 11},
        {"spessore schermo 2 [mm]", 5},
        {"T imposta interna asola tecnica [\260C]", 3},
        {"T imposta esterna  [\260C]", 10},
    };
    for (std::size_t r = 0; r < std::size(labels); ++r)
        EXPECT_EQ(toUtf8(shown[3 + r]),
                  toUtf8(labels[r].first + std::string(labels[r].second, ' ')))
            << r;
    EXPECT_EQ(shown[15], std::string(49, '-'));
    // The results table: headings and row names, the numbers' fields blank.
    EXPECT_EQ(shown[17], "strato liminare interno" + std::string(81, ' '));
    EXPECT_EQ(shown[17].substr(0, 23), "strato liminare interno");
    EXPECT_EQ(shown[17].find_first_not_of(' ', 23), std::string::npos);
    EXPECT_EQ(shown[17].size(), 104u);
    EXPECT_EQ(services.modalWindows, (std::vector<QString>{"AboutBox", "Form8"}));
}

TEST_F(Viewer, TextTypedInTheViewerIsKeptSavedAndShownAgain) {
    services.saveAnswers = {dir.file("nota")};
    services.pdfPath = QString::fromStdString(dir.file("nota.pdf"));
    calculateAndShowReport([&](TAboutBox& v) {
        named<QTextEdit>(v, "RichEdit1")->setFocus();
        named<QTextEdit>(v, "RichEdit1")->moveCursor(QTextCursor::End);
        QTest::keyClicks(named<QTextEdit>(v, "RichEdit1"), "verifica gi");
        QTest::sendKeyEvent(QTest::Click, named<QTextEdit>(v, "RichEdit1"), Qt::Key_Agrave,
                            QString::fromUtf8("\xC3\xA0"), Qt::NoModifier);
        QTest::keyClicks(named<QTextEdit>(v, "RichEdit1"), " fatta");
        named<QPushButton>(v, "BitBtn3")->click();
        named<QPushButton>(v, "BitBtn2")->click();
    });
    // Printed with it.
    const RunResult printed = runCommand("pdftotext " + shellQuote(dir.file("nota.pdf")) + " -");
    EXPECT_NE(printed.out.find("verifica gi\xC3\xA0 fatta"), std::string::npos) << printed.out;
    ASSERT_FALSE(session->viewer.paragraphs.empty());
    EXPECT_EQ(session->viewer.paragraphs.back(), "verifica gi\xE0 fatta");
    const std::string rtf = readFile(dir.file("nota.rtf"));
    EXPECT_NE(rtf.find("verifica gi\\'e0 fatta\\par"), std::string::npos) << rtf;
    EXPECT_EQ(rtf, toRtf(session->viewer));
    // Shown again with the typed text.
    std::vector<std::string> again;
    showReport([&](TAboutBox& v) { again = textLines(named<QTextEdit>(v, "RichEdit1")); });
    EXPECT_NE(std::find(again.begin(), again.end(), "verifica gi\xE0 fatta"), again.end());
}

TEST_F(Viewer, SaveDialogAndTheRtfNameRule) {
    struct Case {
        std::string answer;
        std::string written;
    };
    const Case cases[] = {
        {"report", "report.rtf"},
        {"report.rtf", "report.rtf"},
        {"Esito.RTF", "Esito.RTF"},
        {"report.txt", "report.txt.rtf"},
        {"con spazi \xC3\xA8", "con spazi \xC3\xA8.rtf"}, // UTF-8 file name on disk
    };
    for (const Case& c : cases)
        services.saveAnswers.push_back(dir.file(c.answer));
    services.answers = {DesktopServices::Answer::Yes}; // "report.rtf" the second time
    calculateAndShowReport([&](TAboutBox& v) {
        for (std::size_t i = 0; i < std::size(cases); ++i)
            named<QPushButton>(v, "BitBtn3")->click();
        EXPECT_TRUE(v.isVisible()); // the viewer stays open
    });
    EXPECT_TRUE(services.errors.empty());
    ASSERT_EQ(services.saveCalls.size(), std::size(cases));
    EXPECT_EQ(services.saveCalls[0].title, "scrivi il file rtf");
    EXPECT_EQ(services.saveCalls[0].filter, "output testo (*.rtf)");
    EXPECT_TRUE(services.saveCalls[0].folder.isEmpty());
    EXPECT_TRUE(services.saveCalls[0].proposedName.isEmpty());
    for (const Case& c : cases) {
        ASSERT_TRUE(std::filesystem::exists(dir.file(c.written))) << c.written;
        EXPECT_EQ(readFile(dir.file(c.written)), toRtf(session->viewer)) << c.written;
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("report.rtf.rtf")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("report")));
    const std::string rtf = readFile(dir.file("report.rtf"));
    EXPECT_EQ(rtf.rfind("{\\rtf1", 0), 0u);
    EXPECT_NE(rtf.find("Courier New"), std::string::npos);
    EXPECT_NE(rtf.find("\\fs24"),
              std::string::npos); // the 104-character table lines fit A4 landscape
    EXPECT_NE(rtf.find("titolo progetto=esempio 1 08/12/2026 14:05:09\\par"), std::string::npos);
}

// Saving over an existing report asks first, whether the extension was
// typed or added: No keeps the file, Si replaces it.
TEST_F(Viewer, SavingOverAnExistingReportAsksFirst) {
    using A = DesktopServices::Answer;
    const struct {
        const char* typed;
        A answer;
        bool replaced;
    } cases[] = {
        {"vecchio.rtf", A::No, false}, {"vecchio", A::No, false}, {"vecchio", A::Yes, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.typed) + (c.replaced ? " si" : " no"));
        writeFile(dir.file("vecchio.rtf"), "vecchio");
        services.questions.clear();
        services.saveAnswers = {dir.file(c.typed)};
        services.answers = {c.answer};
        calculateAndShowReport([](TAboutBox& v) { named<QPushButton>(v, "BitBtn3")->click(); });
        EXPECT_EQ(services.questions,
                  std::vector<std::string>{"il file \"" + dir.file("vecchio.rtf") +
                                           "\" esiste gi\xE0: sostituirlo?"});
        EXPECT_EQ(readFile(dir.file("vecchio.rtf")) != "vecchio", c.replaced);
    }
}

TEST_F(Viewer, CancellingTheSaveDialogWritesNothing) {
    const auto before = folderContents(dir.path());
    services.saveAnswers = {std::nullopt, std::string()};
    calculateAndShowReport([](TAboutBox& v) {
        named<QPushButton>(v, "BitBtn3")->click();
        named<QPushButton>(v, "BitBtn3")->click();
    });
    EXPECT_EQ(services.saveCalls.size(), 2u);
    EXPECT_EQ(folderContents(dir.path()), before);
    EXPECT_TRUE(services.errors.empty());
}

TEST_F(Viewer, AFileThatCannotBeWrittenIsReportedWithThePlatformsText) {
    writeFile(dir.file("unfile"), "x");
    std::filesystem::create_directory(dir.file("cartella.rtf"));
    services.saveAnswers = {dir.file("manca/report"), dir.file("unfile/report"),
                            dir.file("cartella")};
    services.answers = {DesktopServices::Answer::Yes}; // to replace cartella.rtf
    calculateAndShowReport([](TAboutBox& v) {
        for (int i = 0; i < 3; ++i)
            named<QPushButton>(v, "BitBtn3")->click();
        EXPECT_TRUE(v.isVisible());
    });
    const std::vector<std::string> expected = {
        "File not found: " + dir.file("manca/report.rtf"),
        "Not a directory: " + dir.file("unfile/report.rtf"),
        "Is a directory: " + dir.file("cartella.rtf"),
    };
    EXPECT_EQ(services.errors, expected);
}

TEST_F(Viewer, AFolderWithoutWriteRightsIsReportedAsAccessDenied) {
    const std::string folder = dir.file("protetta");
    std::filesystem::create_directory(folder);
    writeFile(folder + "/vecchio.rtf", "vecchio");
    ::chmod((folder + "/vecchio.rtf").c_str(), 0444);
    ::chmod(folder.c_str(), 0555);
    named<QPushButton>(*form1, "BitBtn1")->click();
    named<QPushButton>(*form1, "BitBtn15")->click(); // a report in the viewer
    // As an unprivileged user, so that the permissions apply.
    const int rc = runInChild(
        [&] {
            services.errors.clear();
            services.saveAnswers = {folder + "/nuovo", folder + "/vecchio"};
            services.answers = {DesktopServices::Answer::Yes}; // to replace vecchio.rtf
            aboutBox->vai_testo();
            aboutBox->vai_testo();
            const std::vector<std::string> expected = {
                "File access denied: " + folder + "/nuovo.rtf",
                "File access denied: " + folder + "/vecchio.rtf"};
            return services.errors == expected ? 0 : 1;
        },
        true);
    EXPECT_EQ(rc, 0);
    EXPECT_FALSE(std::filesystem::exists(folder + "/nuovo.rtf"));
    EXPECT_EQ(readFile(folder + "/vecchio.rtf"), "vecchio");
}

TEST_F(Viewer, APrinterThatRefusesTheDocumentIsReported) {
    services.pdfPath = QString::fromStdString(dir.file("manca/report.pdf"));
    calculateAndShowReport([](TAboutBox& v) {
        named<QPushButton>(v, "BitBtn2")->click();
        EXPECT_TRUE(v.isVisible());
    });
    ASSERT_EQ(services.errors.size(), 1u);
    EXPECT_FALSE(services.errors[0].empty());
    EXPECT_FALSE(std::filesystem::exists(dir.file("manca")));
}

// Without a printer the box offers a PDF file; Si writes the pages the
// printer would have got.
TEST_F(Viewer, StampaWithoutAPrinterOffersAPdfFile) {
    services.answers = {DesktopServices::Answer::No, DesktopServices::Answer::Yes};
    services.saveAnswers = {dir.file("relazione")};
    calculateAndShowReport([](TAboutBox& v) {
        named<QPushButton>(v, "BitBtn2")->click(); // No: nothing printed
        named<QPushButton>(v, "BitBtn2")->click();
        EXPECT_TRUE(v.isVisible());
    });
    EXPECT_EQ(services.questions,
              std::vector<std::string>(
                  2, "nessuna stampante installata\nsalvare la stampa in un file PDF?"));
    EXPECT_TRUE(services.errors.empty());
    ASSERT_EQ(services.saveCalls.size(), 1u);
    EXPECT_EQ(services.saveCalls[0].filter, "documenti PDF (*.pdf)");
    const std::string pdf = dir.file("relazione.pdf");
    EXPECT_EQ(pdfPageCount(pdf), 1);
    const RunResult text = runCommand("pdftotext -layout " + shellQuote(pdf) + " -");
    const std::size_t total = text.out.find("R totale");
    ASSERT_NE(total, std::string::npos) << text.out;
    const std::string line = text.out.substr(total, text.out.find('\n', total) - total);
    EXPECT_NE(line.find("0.77047"), std::string::npos) << line;
    EXPECT_NE(line.find("230.0"), std::string::npos) << line;
    EXPECT_NE(text.out.find("temp per resistenza al fuoco(est)= 632.8"), std::string::npos);
}

TEST_F(Viewer, StampaPrintsTheReportInAMonospacedFontWithItsColumnsAligned) {
    services.pdfPath = QString::fromStdString(dir.file("report.pdf"));
    calculateAndShowReport([](TAboutBox& v) {
        named<QPushButton>(v, "BitBtn2")->click();
        EXPECT_TRUE(v.isVisible());
    });
    EXPECT_TRUE(services.errors.empty());
    const std::string pdf = dir.file("report.pdf");
    ASSERT_TRUE(std::filesystem::exists(pdf));
    EXPECT_EQ(pdfPageCount(pdf), 1);
    // The print job's title is empty.
    const RunResult info = runCommand("pdfinfo " + shellQuote(pdf));
    EXPECT_NE(info.out.find("Title:           \n"), std::string::npos) << info.out;

    const RunResult fonts = runCommand("pdffonts " + shellQuote(pdf));
    ASSERT_EQ(fonts.status, 0) << fonts.err;
    EXPECT_TRUE(fonts.out.find("Mono") != std::string::npos ||
                fonts.out.find("Courier") != std::string::npos)
        << fonts.out;

    // Every line of the report is on paper; lines longer than the page is
    // wide wrap, so compare the words in order.
    const RunResult text = runCommand("pdftotext -layout " + shellQuote(pdf) + " -");
    ASSERT_EQ(text.status, 0) << text.err;
    std::string printedWords, docWords;
    for (const std::string& line : session->viewer.paragraphs)
        docWords += toUtf8(line) + "\n";
    docWords = words(docWords);
    printedWords = words(text.out);
    EXPECT_EQ(printedWords, docWords);

    // The columns: in the words' boxes, every character is as wide as any
    // other, and the heading "Rcalc" and the insulation row's resistance
    // stand as many characters from the left edge as in the document.
    const RunResult boxes = runCommand("pdftotext -bbox " + shellQuote(pdf) + " -");
    ASSERT_EQ(boxes.status, 0) << boxes.err;
    const std::vector<PrintedWord> printed = parseBoxes(boxes.out);
    const auto& doc = session->viewer.paragraphs;
    const std::string& docHeading = doc[15];
    const std::string& docInsulation = doc[17];
    ASSERT_EQ(docHeading.rfind("strato", 0), 0u);
    ASSERT_EQ(docInsulation.rfind("isolante", 0), 0u);
    const std::size_t docRcalc = docHeading.find("Rcalc");
    const std::size_t docValue = docInsulation.find_first_not_of(' ', 44);
    ASSERT_EQ(docRcalc, 44u);
    const std::string value =
        docInsulation.substr(docValue, docInsulation.find(' ', docValue) - docValue);

    const PrintedWord* strato = findWord(printed, "strato", -1);
    ASSERT_NE(strato, nullptr) << boxes.out;
    const PrintedWord* rcalc = findWord(printed, "Rcalc", strato->yMin);
    const PrintedWord* isolante = findWord(printed, "isolante", -1, strato->yMin);
    ASSERT_NE(rcalc, nullptr);
    ASSERT_NE(isolante, nullptr);
    const PrintedWord* resistance = findWord(printed, value, isolante->yMin);
    ASSERT_NE(resistance, nullptr) << value;
    const double cw = (rcalc->xMax - rcalc->xMin) / 5.0;
    EXPECT_NEAR((strato->xMax - strato->xMin) / 6.0, cw, 0.01);
    EXPECT_NEAR((isolante->xMax - isolante->xMin) / 8.0, cw, 0.01);
    EXPECT_NEAR((resistance->xMax - resistance->xMin) / static_cast<double>(value.size()), cw,
                0.01);
    EXPECT_NEAR(strato->xMin, isolante->xMin, 0.01);
    EXPECT_NEAR(rcalc->xMin - strato->xMin, static_cast<double>(docRcalc) * cw, 0.05);
    EXPECT_NEAR(resistance->xMin - isolante->xMin, static_cast<double>(docValue) * cw, 0.05);
    // At most the document's 14 points, and small enough for the table's
    // 104 characters to stand on one line of the page: the heading's last
    // word stands on the row of its first.
    EXPECT_LE(cw, 0.6 * 14 + 0.5);
    const PrintedWord* d2 = findWord(printed, "D2", strato->yMin);
    ASSERT_NE(d2, nullptr);
    EXPECT_NEAR(d2->yMin, strato->yMin, 0.5);
}

TEST_F(Viewer, ALongDocumentFlowsFromPageToPageWithoutLosingOrRepeatingALine) {
    services.pdfPath = QString::fromStdString(dir.file("lungo.pdf"));
    calculateAndShowReport([](TAboutBox&) {});
    showReport([](TAboutBox&) {});
    showReport([](TAboutBox& v) { named<QPushButton>(v, "BitBtn2")->click(); });
    EXPECT_TRUE(services.errors.empty());
    const std::string pdf = dir.file("lungo.pdf");
    EXPECT_GE(pdfPageCount(pdf), 2);
    const RunResult text = runCommand("pdftotext -layout " + shellQuote(pdf) + " -");
    std::string docWords;
    for (const std::string& line : session->viewer.paragraphs)
        docWords += toUtf8(line) + "\n";
    EXPECT_EQ(words(text.out), words(docWords));
}

// On a 1024 x 768 screen the report takes the largest font, up to its 14
// points, at which its 104-character lines fit the text box unwrapped.
TEST_F(Viewer, TheReportsLinesFitUnwrappedAt1024) {
    int points = 0;
    bool fits = false, oneSizeLargerFits = true;
    calculateAndShowReport([&](TAboutBox& v) {
        auto* edit = named<QTextEdit>(v, "RichEdit1");
        QFont font = edit->document()->defaultFont();
        points = font.pointSize();
        const int room = edit->viewport()->width() - 2 * int(edit->document()->documentMargin());
        const QString line = QString::fromStdString(resultsTableLine(session->sheet.results[2]));
        fits = QFontMetrics(font, edit).horizontalAdvance(line) <= room;
        font.setPointSize(points + 1);
        oneSizeLargerFits = QFontMetrics(font, edit).horizontalAdvance(line) <= room;
        EXPECT_EQ(edit->horizontalScrollBar()->maximum(), 0);
    });
    EXPECT_EQ(points, 10);
    EXPECT_TRUE(fits);
    EXPECT_FALSE(oneSizeLargerFits);
}
