// The windows keep what the user typed: a question before a project is
// replaced, the archive as it was after "No", and the caption that says which
// project is open and whether it has changed.
#include "GuiFixture.h"
#include "QtText.h"
#include "forms/ProjectFile.h"

#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QUrl>
#include <filesystem>

using namespace camini;
using namespace camini::test;

namespace {

const char* const otherProject = "altro\r\n300\r\n20\r\n130\r\n15\r\n8\r\n40\r\n20\r\n20\r\n20\r"
                                 "\n10\r\n100\r\n85\r\nrot\r\n 5\r\n 1\r\n 1\r\n 9\r\n";

} // namespace

using KeepingEdits = GuiFixture;

// "Leggi progetto" and a dropped project with the title edited: Sì saves the
// edited project and loads, No loads, Annulla (or a cancelled save) keeps the
// edits; an unchanged project loads without a question.
TEST_F(KeepingEdits, LoadingAChangedProjectAsksFirst) {
    using A = DesktopServices::Answer;
    writeFile(dir.file("altro.CAM"), otherProject);
    const struct {
        const char* how;
        bool edited;
        std::deque<A> answers;
        std::deque<std::optional<std::string>> saves;
        const char* titleAfter;
        bool savedFirst;
    } cases[] = {
        {"dialog", true, {A::Yes}, {"salvato"}, "altro", true},
        {"dialog", true, {A::Yes}, {std::nullopt}, "modificato", false},
        {"dialog", true, {A::No}, {}, "altro", false},
        {"dialog", true, {A::Cancel}, {}, "modificato", false},
        {"dialog", false, {}, {}, "altro", false},
        {"drop", true, {A::No}, {}, "altro", false},
        {"drop", true, {A::Cancel}, {}, "modificato", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.how) + " " + c.titleAfter);
        std::filesystem::remove(dir.file("salvato.CAM"));
        writeFile(dir.file("inizio.CAM"), otherProject);
        form1->openProject(dir.file("inizio.CAM"));
        if (c.edited) {
            named<QLineEdit>(*form1, "Edit1")->setText("modificato");
        } else {
            named<QLineEdit>(*form1, "Edit1")->setText("altro");
            form1->openProject(dir.file("inizio.CAM"));
        }
        services.questions.clear();
        services.answers = c.answers;
        for (const auto& s : c.saves)
            services.saveAnswers.push_back(s ? std::optional(dir.file(*s)) : std::nullopt);
        if (std::string(c.how) == "dialog") {
            services.openAnswers = {dir.file("altro.CAM")};
            named<QPushButton>(*form1, "BitBtn3")->click();
        } else {
            QMimeData data;
            data.setUrls({QUrl::fromLocalFile(QString::fromStdString(dir.file("altro.CAM")))});
            QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &data, Qt::LeftButton,
                                  Qt::NoModifier);
            QApplication::sendEvent(form1, &enter);
            QDropEvent drop(QPointF(100, 100), Qt::CopyAction, &data, Qt::LeftButton,
                            Qt::NoModifier);
            QApplication::sendEvent(form1, &drop);
            QApplication::processEvents();
        }
        EXPECT_EQ(services.questions, c.edited ? std::vector<std::string>{"salvare il progetto?"}
                                               : std::vector<std::string>{});
        EXPECT_EQ(named<QLineEdit>(*form1, "Edit1")->text(), c.titleAfter);
        EXPECT_EQ(std::filesystem::exists(dir.file("salvato.CAM")), c.savedFirst);
        if (c.savedFirst) {
            EXPECT_EQ(readFile(dir.file("salvato.CAM")).substr(0, 12), "modificato\r\n");
        }
        services.openAnswers.clear();
    }
    EXPECT_TRUE(services.errors.empty());
}

// The second exit control lies beneath the grid: where they overlap, a click
// reaches the grid's cell and nothing is saved; its uncovered part, if any,
// is the exit.
TEST_F(KeepingEdits, AClickOnACellOverTheSecondExitReachesTheCell) {
    const std::string bytes = readFile(dir.file("materiali.TXT"));
    services.modalScripts.push_back([&](QDialog& d) {
        auto& e = static_cast<TForm3&>(d);
        auto* grid = named<GridView>(e, "StringGrid1");
        const QRect exit = named<QPushButton>(e, "SpeedButton4")->geometry();
        EXPECT_EQ(exit, QRect(190, 190, 109, 19));
        const QRect overlap = exit & grid->geometry();
        ASSERT_FALSE(overlap.isEmpty());
        const QPoint p = overlap.center();
        QWidget* under = e.childAt(p);
        ASSERT_NE(under, nullptr);
        EXPECT_TRUE(under == grid->viewport() || grid->isAncestorOf(under))
            << under->objectName().toStdString();
        const QPoint inViewport = grid->viewport()->mapFrom(&e, p);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, inViewport);
        EXPECT_TRUE(e.isVisible());
        EXPECT_EQ(grid->currentIndex(), grid->indexAt(inViewport));
        EXPECT_TRUE(grid->currentIndex().isValid());
    });
    form1->vai_archivio();
    EXPECT_EQ(readFile(dir.file("materiali.TXT")), bytes);
    EXPECT_TRUE(services.errors.empty());
}

// The caption names the project file once one is loaded or saved, with "*"
// while the project has changed since.
TEST_F(KeepingEdits, TheCaptionNamesTheProjectAndItsChanges) {
    const QString base = QString::fromUtf8("Calcolo termico della parete del camino");
    writeFile(dir.file("altro.CAM"), otherProject);
    const struct {
        const char* step;
        std::function<void()> act;
        QString caption;
    } steps[] = {
        {"start", [] {}, base},
        {"edit before any file", [&] { named<QLineEdit>(*form1, "Edit1")->setText("nuovo"); },
         base},
        {"save",
         [&] {
             services.saveAnswers = {dir.file("nuovo")};
             named<QPushButton>(*form1, "BitBtn4")->click();
         },
         base + " - nuovo.CAM"},
        {"cell",
         [&] {
             typeInCell(named<GridView>(*form1, "StringGrid1"), 0, 1, "300");
             QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
             QApplication::processEvents();
         },
         base + " - nuovo.CAM*"},
        {"back as saved",
         [&] {
             typeInCell(named<GridView>(*form1, "StringGrid1"), 0, 1, "250");
             QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
             QApplication::processEvents();
         },
         base + " - nuovo.CAM"},
        {"load",
         [&] {
             services.openAnswers = {dir.file("altro.CAM")};
             named<QPushButton>(*form1, "BitBtn3")->click();
         },
         base + " - altro.CAM"},
        {"material",
         [&] {
             named<QPushButton>(*form1, "BitBtn6")->click();
             clickItem(named<ChoiceList>(*form1, "ListBox1"), 7);
         },
         base + " - altro.CAM*"},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.step);
        s.act();
        EXPECT_EQ(form1->windowTitle().toStdString(), s.caption.toStdString());
    }
    EXPECT_TRUE(services.errors.empty());
}

// A title or a description with characters CP1252 cannot hold is refused
// with a message naming them, before anything is saved; "€" and "à" are
// CP1252 and saved as they are.
TEST_F(KeepingEdits, TextsOutsideCp1252AreRefusedBeforeTheSave) {
    const struct {
        const char* text; // UTF-8
        const char* named;
    } cases[] = {
        {"\xC5\x81\xC3\xB3\x64\xC5\xBA", "U+0141, U+017A"}, // Łódź
        {"camino \xF0\x9F\x94\xA5", "U+1F525"},
        {"10 \xE2\x82\xAC, gi\xC3\xA0?", nullptr},
    };
    const std::string archive = readFile(dir.file("materiali.TXT"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        services.errors.clear();
        services.saveCalls.clear();
        std::filesystem::remove(dir.file("titolo.CAM"));
        named<QLineEdit>(*form1, "Edit1")->setText(QString::fromUtf8(c.text));
        services.saveAnswers = {dir.file("titolo")};
        named<QPushButton>(*form1, "BitBtn4")->click();
        const std::vector<std::string> titleErrors =
            c.named ? std::vector<std::string>{"il titolo contiene caratteri che il file non "
                                               "pu\xF2 contenere: " +
                                               std::string(c.named) +
                                               "; il progetto non \xE8 stato salvato"}
                    : std::vector<std::string>{};
        EXPECT_EQ(services.errors, titleErrors);
        EXPECT_EQ(services.saveCalls.size(), c.named ? 0u : 1u);
        EXPECT_EQ(std::filesystem::exists(dir.file("titolo.CAM")), !c.named);

        services.errors.clear();
        int shown = 0;
        bool open = false;
        services.modalScripts.push_back([&](QDialog& e) {
            named<QLineEdit>(e, "Edit1")->setText(QString::fromUtf8(c.text));
            named<QPushButton>(e, "SpeedButton2")->click(); // Avanti
            shown = static_cast<TForm3&>(e).currentMaterial();
            named<QPushButton>(e, "SpeedButton3")->click(); // Indietro
            named<QPushButton>(e, "SpeedButton1")->click(); // Uscita
            open = e.isVisible();
        });
        form1->vai_archivio();
        const std::string refused =
            c.named ? "la descrizione contiene caratteri che il file non pu\xF2 contenere: " +
                          std::string(c.named)
                    : "";
        EXPECT_EQ(services.errors,
                  c.named ? std::vector<std::string>(3, refused) : std::vector<std::string>{});
        EXPECT_EQ(shown, c.named ? 1 : 2);
        EXPECT_EQ(open, c.named != nullptr);
        EXPECT_EQ(readFile(dir.file("materiali.TXT")) == archive, c.named != nullptr);
        writeFile(dir.file("materiali.TXT"), archive);
    }
}
