// The windows keep what the user typed: a question before a project is
// replaced, the archive as it was after "No", and the caption that says which
// project is open and whether it has changed.
#include "GuiFixture.h"
#include "QtText.h"
#include "forms/ProjectFile.h"

#include <QCheckBox>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
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
// edits; an unchanged project loads without a question. A loaded project
// shows its title, inputs, section and materials while the results of the
// last "Calcola" stay; the messages of its load (a refused material number)
// come once the window shows it; a missing file gives the error box and
// changes nothing.
TEST_F(KeepingEdits, LoadingAChangedProjectAsksFirst) {
    using A = DesktopServices::Answer;
    writeFile(dir.file("altro.CAM"), otherProject);
    writeFile(dir.file("p.cam"), "caldaia\r\n400\r\n-"
                                 "5\r\n200\r\n15\r\n8\r\n60\r\n20\r\n20\r\n20\r\n10\r\n100\r\n85\r"
                                 "\nquad\r\n 6\r\n 1\r\n 1\r\n 9\r\n");
    writeFile(dir.file("caricato.cam"),
              "caricato\r\n300\r\n20\r\n130\r\n15\r\n8\r\n40\r\n20\r\n20\r\n20\r"
              "\n10\r\n100\r\n85\r\nrot\r\n"
              "200\r\n 1\r\n 1\r\n 9\r\n");
    std::vector<QString> titleShown; // the title as each message comes
    services.onMessage = [&](const std::string&) {
        titleShown.push_back(named<QLineEdit>(*form1, "Edit1")->text());
    };
    const struct {
        bool drop;
        std::optional<A> answer; // nothing: the project is unchanged, no question
        bool saved;              // the save dialog answers "salvato" (else it is cancelled)
        const char* file;        // the one loaded
        const char* titleAfter;
        const char* flueGasAfter;
        bool squareAfter;
        int materialAfter;   // whose description is the materials' second line
        const char* message; // in the one message of the load, if any
        bool notFound;
    } cases[] = {
        {false, A::Yes, true, "altro.CAM", "altro", "300", false, 5, nullptr, false},
        {false, A::Yes, false, "altro.CAM", "modificato", "300", false, 5, nullptr, false},
        {false, A::No, false, "altro.CAM", "altro", "300", false, 5, nullptr, false},
        {false, A::Cancel, false, "altro.CAM", "modificato", "300", false, 5, nullptr, false},
        {false, std::nullopt, false, "altro.CAM", "altro", "300", false, 5, nullptr, false},
        {true, A::No, false, "altro.CAM", "altro", "300", false, 5, nullptr, false},
        {true, A::Cancel, false, "altro.CAM", "modificato", "300", false, 5, nullptr, false},
        {false, std::nullopt, false, "p.cam", "caldaia", "400", true, 6, nullptr, false},
        {false, std::nullopt, false, "caricato.cam", "caricato", "300", false, 0, "200", false},
        {false, std::nullopt, false, "manca.cam", "altro", "300", false, 5, nullptr, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.drop ? "drop " : "dialog ") + c.file + " " + c.titleAfter);
        std::filesystem::remove(dir.file("salvato.CAM"));
        writeFile(dir.file("inizio.CAM"), otherProject);
        form1->openProject(dir.file("inizio.CAM"));
        form1->vai_calcolo();
        const auto results = gridTexts(named<GridView>(*form1, "StringGrid2"));
        EXPECT_TRUE(services.errors.empty());
        if (c.answer)
            named<QLineEdit>(*form1, "Edit1")->setText("modificato");
        services.questions.clear();
        services.messages.clear();
        services.openCalls.clear();
        titleShown.clear();
        services.answers.assign(c.answer ? 1 : 0, c.answer.value_or(A::No));
        services.saveAnswers.assign(c.saved ? 1 : 0, dir.file("salvato"));
        if (c.drop) {
            dropFile(form1, dir.file(c.file));
        } else {
            services.openAnswers = {dir.file(c.file)};
            named<QPushButton>(*form1, "BitBtn3")->click();
            // No file is asked for while the edits are kept.
            const bool kept = std::string(c.titleAfter) == "modificato";
            EXPECT_EQ(services.openCalls.size(), kept ? 0u : 1u);
            for (const auto& call : services.openCalls)
                EXPECT_EQ(call.filter, "files CAMINI (*.cam *.CAM)");
        }
        EXPECT_EQ(services.questions, c.answer ? std::vector<std::string>{"salvare il progetto?"}
                                               : std::vector<std::string>{});
        EXPECT_EQ(named<QLineEdit>(*form1, "Edit1")->text(), c.titleAfter);
        EXPECT_EQ(gridTexts(named<GridView>(*form1, "StringGrid1"))[0][1], c.flueGasAfter);
        EXPECT_EQ(named<QCheckBox>(*form1, "CheckBox2")->isChecked(), c.squareAfter);
        if (c.materialAfter) {
            const QStringList memo =
                named<QPlainTextEdit>(*form1, "Memo2")->toPlainText().split('\n');
            ASSERT_GE(memo.size(), 2);
            EXPECT_EQ(toCp1252(memo[1]), session->archive.description(c.materialAfter));
        }
        EXPECT_EQ(gridTexts(named<GridView>(*form1, "StringGrid2")), results); // results stay
        EXPECT_EQ(std::filesystem::exists(dir.file("salvato.CAM")), c.saved);
        if (c.saved) {
            EXPECT_EQ(readFile(dir.file("salvato.CAM")).substr(0, 12), "modificato\r\n");
        }
        if (c.message) {
            ASSERT_EQ(titleShown, std::vector<QString>{c.titleAfter});
            EXPECT_NE(services.messages[0].find(c.message), std::string::npos);
        } else {
            EXPECT_EQ(titleShown, std::vector<QString>{});
        }
        EXPECT_EQ(services.errors,
                  c.notFound ? std::vector<std::string>{"File not found: " + dir.file(c.file)}
                             : std::vector<std::string>{});
        services.openAnswers.clear();
        services.errors.clear();
    }
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
