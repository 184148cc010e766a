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

// A file dragged from a file manager and dropped on the window.
void dropFile(QWidget* window, const std::string& path) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(path))});
    QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &enter);
    QDropEvent drop(QPointF(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &drop);
    QApplication::processEvents();
}

} // namespace

using KeepingEdits = GuiFixture;

// "Leggi progetto" and a dropped project with the title edited: Sì saves the
// edited project and loads, No loads, Annulla (or a cancelled save) keeps the
// edits; an unchanged project loads without a question.
TEST_F(KeepingEdits, LoadingAChangedProjectAsksFirst) {
    using A = DesktopServices::Answer;
    writeFile(dir.file("altro.CAM"), otherProject);
    const struct {
        bool drop;
        std::optional<A> answer; // nothing: the project is unchanged, no question
        bool saved;              // the save dialog answers "salvato" (else it is cancelled)
        const char* titleAfter;
    } cases[] = {
        {false, A::Yes, true, "altro"},         {false, A::Yes, false, "modificato"},
        {false, A::No, false, "altro"},         {false, A::Cancel, false, "modificato"},
        {false, std::nullopt, false, "altro"},  {true, A::No, false, "altro"},
        {true, A::Cancel, false, "modificato"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.drop ? "drop " : "dialog ") + c.titleAfter);
        std::filesystem::remove(dir.file("salvato.CAM"));
        writeFile(dir.file("inizio.CAM"), otherProject);
        form1->openProject(dir.file("inizio.CAM"));
        if (c.answer)
            named<QLineEdit>(*form1, "Edit1")->setText("modificato");
        services.questions.clear();
        services.answers.assign(c.answer ? 1 : 0, c.answer.value_or(A::No));
        services.saveAnswers.assign(c.saved ? 1 : 0, dir.file("salvato"));
        if (c.drop) {
            dropFile(form1, dir.file("altro.CAM"));
        } else {
            services.openAnswers = {dir.file("altro.CAM")};
            named<QPushButton>(*form1, "BitBtn3")->click();
        }
        EXPECT_EQ(services.questions, c.answer ? std::vector<std::string>{"salvare il progetto?"}
                                               : std::vector<std::string>{});
        EXPECT_EQ(named<QLineEdit>(*form1, "Edit1")->text(), c.titleAfter);
        EXPECT_EQ(std::filesystem::exists(dir.file("salvato.CAM")), c.saved);
        if (c.saved) {
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
        EXPECT_EQ(exit & grid->geometry(), exit); // wholly beneath the grid
        const QPoint p = exit.center();
        EXPECT_TRUE(grid->isAncestorOf(e.childAt(p)));
        const QPoint inViewport = grid->viewport()->mapFrom(&e, p);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, inViewport);
        EXPECT_TRUE(e.isVisible());
        EXPECT_EQ(grid->currentIndex(), grid->model()->index(3, 1));
    });
    form1->vai_archivio();
    EXPECT_EQ(readFile(dir.file("materiali.TXT")), bytes);
    EXPECT_TRUE(services.errors.empty());
}

// The caption names the project file once one is loaded or saved, with "*"
// while the project has changed since.
TEST_F(KeepingEdits, TheCaptionNamesTheProjectAndItsChanges) {
    writeFile(dir.file("altro.CAM"), otherProject);
    const auto typeFlueGas = [&](const char* value) {
        typeInCell(named<GridView>(*form1, "StringGrid1"), 0, 1, value);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QApplication::processEvents();
    };
    const struct {
        const char* step;
        std::function<void()> act;
        const char* caption;
    } steps[] = {
        {"start", [] {}, ""},
        {"edit before any file", [&] { named<QLineEdit>(*form1, "Edit1")->setText("nuovo"); }, ""},
        {"save",
         [&] {
             services.saveAnswers = {dir.file("nuovo")};
             named<QPushButton>(*form1, "BitBtn4")->click();
         },
         " - nuovo.CAM"},
        {"cell", [&] { typeFlueGas("300"); }, " - nuovo.CAM*"},
        {"back as saved", [&] { typeFlueGas("250"); }, " - nuovo.CAM"},
        {"load",
         [&] {
             services.openAnswers = {dir.file("altro.CAM")};
             named<QPushButton>(*form1, "BitBtn3")->click();
         },
         " - altro.CAM"},
        {"material",
         [&] {
             named<QPushButton>(*form1, "BitBtn6")->click();
             clickItem(named<ChoiceList>(*form1, "ListBox1"), 7);
         },
         " - altro.CAM*"},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.step);
        s.act();
        EXPECT_EQ(form1->windowTitle().toStdString(),
                  std::string("Calcolo termico della parete del camino") + s.caption);
    }
    EXPECT_TRUE(services.errors.empty());
}

// A title or a description with characters CP1252 cannot hold is refused
// with a message naming them, before anything is saved; "€" and "à" are
// CP1252 and saved as they are.
TEST_F(KeepingEdits, TextsOutsideCp1252AreRefusedBeforeTheSave) {
    const struct {
        const char* text;  // UTF-8
        const char* named; // nothing: every character fits
    } cases[] = {
        {"\xC5\x81\xC3\xB3\x64\xC5\xBA", "U+0141, U+017A"}, // Łódź
        {"camino \xF0\x9F\x94\xA5", "U+1F525"},
        {"10 \xE2\x82\xAC, gi\xC3\xA0?", nullptr},
    };
    const std::string archive = readFile(dir.file("materiali.TXT"));
    using Texts = std::vector<std::string>;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const std::string cannot = "contiene caratteri che il file non pu\xF2 contenere: ";
        services.errors.clear();
        services.saveCalls.clear();
        std::filesystem::remove(dir.file("titolo.CAM"));
        named<QLineEdit>(*form1, "Edit1")->setText(QString::fromUtf8(c.text));
        services.saveAnswers = {dir.file("titolo")};
        named<QPushButton>(*form1, "BitBtn4")->click();
        EXPECT_EQ(services.errors, c.named ? Texts{"il titolo " + cannot + c.named +
                                                   "; il progetto non \xE8 stato salvato"}
                                           : Texts{});
        EXPECT_EQ(services.saveCalls.size(), c.named ? 0u : 1u);
        EXPECT_EQ(std::filesystem::exists(dir.file("titolo.CAM")), !c.named);

        // In the editor "Avanti", "Indietro" and "Uscita" each refuse it.
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
        EXPECT_EQ(services.errors,
                  c.named ? Texts(3, "la descrizione " + cannot + c.named) : Texts{});
        EXPECT_EQ(shown, c.named ? 1 : 2);
        EXPECT_EQ(open, c.named != nullptr);
        EXPECT_EQ(readFile(dir.file("materiali.TXT")) == archive, c.named != nullptr);
        writeFile(dir.file("materiali.TXT"), archive);
    }
}
