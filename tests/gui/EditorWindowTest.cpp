#include "GuiFixture.h"
#include "QtText.h"
#include "TextGrid.h"
#include "forms/Layouts.h"

#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <filesystem>
#include <sys/stat.h>

using namespace camini;
using namespace camini::test;

namespace {

// The same, and the cell left with Enter.
void enterInCell(GridView* grid, int row, int column, const QString& text) {
    typeInCell(grid, row, column, text);
    if (QWidget* editor = grid->indexWidget(grid->model()->index(row, column)))
        QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();
}

void typeDescription(TForm3& e, const QString& text) {
    named<QLineEdit>(e, "Edit1")->selectAll();
    QTest::keyClick(named<QLineEdit>(e, "Edit1"), Qt::Key_Delete);
    typeText(named<QLineEdit>(e, "Edit1"), text);
}

void goTo(TForm3& e, int material) {
    while (e.currentMaterial() < material)
        named<QPushButton>(e, "SpeedButton2")->click();
    while (e.currentMaterial() > material)
        named<QPushButton>(e, "SpeedButton3")->click();
}

std::string label(const QLabel* l) {
    return toCp1252(l->text());
}

} // namespace

// The archive editor reached as the user reaches it: "materiali" in the main
// window.
class Editor : public GuiFixture {
protected:
    std::string archiveFile() const { return dir.file("materiali.TXT"); }

    void openEditor(std::function<void(TForm3&)> script) {
        services.modalScripts.push_back(
            [script = std::move(script)](QDialog& w) { script(static_cast<TForm3&>(w)); });
        named<QPushButton>(*form1, "BitBtn8")->click();
    }

    // The archive file as a fresh load reads it.
    MaterialArchive archiveOnDisk() const {
        MaterialArchive a(archiveFile());
        a.load();
        return a;
    }
};

TEST_F(Editor, OpensOnMaterialOneLaidOutForTheScreen) {
    ASSERT_EQ(screenSize(), QSize(1366, 768));
    bool visible = false;
    QPoint corner;
    QSize size;
    std::vector<std::vector<std::string>> cells;
    std::string status, description;
    openEditor([&](TForm3& e) {
        visible = e.isVisible();
        corner = e.frameGeometry().topLeft();
        size = e.size();
        cells = gridTexts(named<GridView>(e, "StringGrid1"));
        status = label(named<QLabel>(e, "Label2"));
        description = toCp1252(named<QLineEdit>(e, "Edit1")->text());
        const EditorLayout l = editorLayout(1366, 768);
        const std::pair<QWidget*, Rect> controls[] = {
            {named<QPushButton>(e, "SpeedButton1"), l.speedButton1},
            {named<QPushButton>(e, "SpeedButton2"), l.speedButton2},
            {named<QPushButton>(e, "SpeedButton3"), l.speedButton3},
            {named<QPushButton>(e, "BitBtn1"), l.bitBtn1},
            {named<GridView>(e, "StringGrid1"), l.stringGrid1},
            {named<QLabel>(e, "Label1"), l.label1},
            {named<QLabel>(e, "Label2"), l.label2},
            {named<QLineEdit>(e, "Edit1"), l.edit1},
            {named<QPushButton>(e, "SpeedButton4"), l.speedButton4},
        };
        for (auto [w, r] : controls)
            EXPECT_EQ(w->geometry(), toQRect(clippedTo(r, l.window)))
                << w->objectName().toStdString();
        EXPECT_EQ(named<GridView>(e, "StringGrid1")->columnWidth(2), l.columnWidth);
        EXPECT_EQ(named<GridView>(e, "StringGrid1")->rowHeight(6), l.rowHeight);
        // 18 points would cut "temperatura[°C]" at the cell's edge.
        EXPECT_EQ(named<GridView>(e, "StringGrid1")->font().pointSize(), 17);
        for (QWidget* w : std::initializer_list<QWidget*>{
                 named<QPushButton>(e, "SpeedButton1"), named<QPushButton>(e, "SpeedButton2"),
                 named<QPushButton>(e, "SpeedButton3"), named<QPushButton>(e, "BitBtn1"),
                 named<QLabel>(e, "Label1"), named<QLabel>(e, "Label2"),
                 named<QLineEdit>(e, "Edit1")}) {
            EXPECT_EQ(w->font().pointSize(), 18) << w->objectName().toStdString();
            EXPECT_EQ(w->font().family().toLower(), "verdana") << w->objectName().toStdString();
        }
        EXPECT_EQ(e.windowTitle(), "memorizzazione archivio materiali");
    });
    EXPECT_EQ(services.modalWindows, std::vector<QString>{"Form3"});
    EXPECT_TRUE(visible);
    EXPECT_EQ(corner, QPoint(0, 0));
    EXPECT_EQ(size, QSize(1366, 768));
    EXPECT_EQ(named<QPushButton>(*form3, "SpeedButton1")->text(), "Uscita");
    EXPECT_EQ(named<QPushButton>(*form3, "SpeedButton2")->text(), "Avanti");
    EXPECT_EQ(named<QPushButton>(*form3, "SpeedButton3")->text(), "Indietro");
    EXPECT_EQ(named<QPushButton>(*form3, "BitBtn1")->text(), "stampa");
    EXPECT_EQ(named<QLabel>(*form3, "Label1")->text(), "descrizione");
    EXPECT_TRUE(named<QPushButton>(*form3, "SpeedButton4")->text().isEmpty());
    EXPECT_FALSE(named<QPushButton>(*form3, "SpeedButton4")->icon().isNull());

    EXPECT_EQ(status, "progr= 1 punti=  4 temp min=   20 max=  600");
    EXPECT_EQ(description, "calcestruzzo alleggerito 1000 kg/m3");
    const std::vector<std::vector<std::string>> expected = {
        {"progressivo",
         "temperatura[\xB0"
         "C]",
         "lambda[w/m K]"},
        {"1", "     20", " 0.3300"},
        {"2", "    200", " 0.3600"},
        {"3", "    400", " 0.4000"},
        {"4", "    600", " 0.4500"},
        {"5", "      0", " 0.0000"},
        {"6", "      0", " 0.0000"},
    };
    EXPECT_EQ(cells, expected);
    // The fixed row and column are not editable, the points are.
    auto* m = named<GridView>(*form3, "StringGrid1")->model();
    EXPECT_FALSE(m->flags(m->index(0, 1)) & Qt::ItemIsEditable);
    EXPECT_FALSE(m->flags(m->index(3, 0)) & Qt::ItemIsEditable);
    EXPECT_TRUE(m->flags(m->index(3, 1)) & Qt::ItemIsEditable);
    EXPECT_TRUE(m->flags(m->index(6, 2)) & Qt::ItemIsEditable);
}

TEST_F(Editor, RestoredFromMinimisedTheEditorKeepsItsPage) {
    int material = 0;
    std::string description;
    openEditor([&](TForm3& e) {
        goTo(e, 3);
        typeDescription(e, "in corso");
        e.setWindowState(Qt::WindowMinimized);
        QApplication::processEvents();
        e.setWindowState(Qt::WindowNoState);
        QApplication::processEvents();
        material = e.currentMaterial();
        description = toCp1252(named<QLineEdit>(e, "Edit1")->text());
        named<QPushButton>(e, "SpeedButton1")->click();
    });
    EXPECT_EQ(material, 3);
    EXPECT_EQ(description, "in corso");
    EXPECT_EQ(archiveOnDisk().description(3), "in corso");
}

TEST_F(Editor, EveryOpeningReloadsTheFileAndStartsOnMaterialOne) {
    openEditor([](TForm3& e) { goTo(e, 5); });
    // The file changes behind the program's back; memory too.
    std::string text = readFile(archiveFile());
    text.replace(text.find("calcestruzzo alleggerito 1000 kg/m3"), 35, "calcestruzzo cellulare");
    writeFile(archiveFile(), text);
    session->archive.material(1).description = "solo in memoria";
    int material = 0;
    std::string description;
    openEditor([&](TForm3& e) {
        material = e.currentMaterial();
        description = toCp1252(named<QLineEdit>(e, "Edit1")->text());
    });
    EXPECT_EQ(material, 1);
    EXPECT_EQ(description, "calcestruzzo cellulare");
    EXPECT_EQ(session->archive.description(1), "calcestruzzo cellulare");
}

TEST_F(Editor, AvantiStopsAtHundredAndIndietroAtOne) {
    std::vector<std::pair<int, std::string>> seen;
    openEditor([&](TForm3& e) {
        named<QPushButton>(e, "SpeedButton3")->click();
        seen.emplace_back(e.currentMaterial(), label(named<QLabel>(e, "Label2")));
        for (int i = 0; i < 99; ++i)
            named<QPushButton>(e, "SpeedButton2")->click();
        seen.emplace_back(e.currentMaterial(), label(named<QLabel>(e, "Label2")));
        named<QPushButton>(e, "SpeedButton2")->click();
        seen.emplace_back(e.currentMaterial(), label(named<QLabel>(e, "Label2")));
        named<QPushButton>(e, "SpeedButton3")->click();
        seen.emplace_back(e.currentMaterial(), label(named<QLabel>(e, "Label2")));
    });
    const std::vector<std::pair<int, std::string>> expected = {
        {1, "progr= 1 punti=  4 temp min=   20 max=  600"},
        {100, "progr=100 punti=  0 temp min=    0 max=    0"},
        {100, "progr=100 punti=  0 temp min=    0 max=    0"},
        {99, "progr=99 punti=  0 temp min=    0 max=    0"},
    };
    EXPECT_EQ(seen, expected);
    EXPECT_TRUE(services.messages.empty());
}

TEST_F(Editor, FaultyCellsGiveOneMessageNamingTheLastAndTheEditorMovesOn) {
    int after = 0;
    std::vector<std::vector<std::string>> page;
    openEditor([&](TForm3& e) {
        enterInCell(named<GridView>(e, "StringGrid1"), 1, 1, "12a");
        enterInCell(named<GridView>(e, "StringGrid1"), 2, 2, "0.37");
        typeInCell(named<GridView>(e, "StringGrid1"), 3, 2, "x"); // still being edited
        named<QPushButton>(e, "SpeedButton2")->click();
        after = e.currentMaterial();
        named<QPushButton>(e, "SpeedButton3")->click();
        page = gridTexts(named<GridView>(e, "StringGrid1"));
    });
    EXPECT_EQ(services.messages, std::vector<std::string>{"x errore nell immissione dati!"});
    EXPECT_EQ(after, 2);
    const Material& m = session->archive.material(1);
    EXPECT_EQ(m.temperatures[0], 20); // faulty, kept
    EXPECT_EQ(m.lambdas[1], 0.37);    // stored
    EXPECT_EQ(m.lambdas[2], 0.4);     // faulty, kept
    EXPECT_EQ(page[1][1], "     20");
    EXPECT_EQ(page[2][2], " 0.3700");
    EXPECT_EQ(page[3][2], " 0.4000");
}

TEST_F(Editor, AfterTheMessageAnExitSavesWhatWasStoredAndCloses) {
    bool closed = false;
    openEditor([&](TForm3& e) {
        typeDescription(e, "corretto");
        typeInCell(named<GridView>(e, "StringGrid1"), 2, 1, "250");
        typeInCell(named<GridView>(e, "StringGrid1"), 2, 2, "0,38");
        named<QPushButton>(e, "SpeedButton1")->click();
        closed = !e.isVisible();
    });
    EXPECT_EQ(services.messages, std::vector<std::string>{"0,38 errore nell immissione dati!"});
    EXPECT_TRUE(closed);
    const MaterialArchive disk = archiveOnDisk();
    EXPECT_EQ(disk.description(1), "corretto");
    EXPECT_EQ(disk.material(1).temperatures[1], 250);
    EXPECT_EQ(disk.material(1).lambdas[1], 0.36);
}

TEST_F(Editor, EmptyOrZeroTemperatureLeavesThePointAndAnyOtherZeroClearsIt) {
    openEditor([&](TForm3& e) {
        typeInCell(named<GridView>(e, "StringGrid1"), 1, 1, "");
        typeInCell(named<GridView>(e, "StringGrid1"), 1, 2, "9");
        typeInCell(named<GridView>(e, "StringGrid1"), 2, 1, "0");
        typeInCell(named<GridView>(e, "StringGrid1"), 2, 2, "9");
        typeInCell(named<GridView>(e, "StringGrid1"), 3, 1, "0.0");
        typeInCell(named<GridView>(e, "StringGrid1"), 4, 1, " 0");
        named<QPushButton>(e, "SpeedButton2")->click();
    });
    EXPECT_TRUE(services.messages.empty());
    const Material& m = session->archive.material(1);
    EXPECT_EQ(m.temperatures[0], 20);
    EXPECT_EQ(m.lambdas[0], 0.33);
    EXPECT_EQ(m.temperatures[1], 200);
    EXPECT_EQ(m.lambdas[1], 0.36);
    EXPECT_EQ(m.temperatures[2], 0);
    EXPECT_EQ(m.temperatures[3], 0);
}

TEST_F(Editor, ANewPointShowsInTheStatusLineOnlyAfterTheFileIsReloaded) {
    {
        MaterialArchive a = archiveOnDisk();
        setMaterial(a, 17, "prova", {{100, 0.1}, {200, 0.2}, {300, 0.3}});
        a.save();
    }
    std::string before, afterMoves, reopened;
    openEditor([&](TForm3& e) {
        goTo(e, 17);
        before = label(named<QLabel>(e, "Label2"));
        enterInCell(named<GridView>(e, "StringGrid1"), 4, 1, "400");
        enterInCell(named<GridView>(e, "StringGrid1"), 4, 2, "0.4");
        named<QPushButton>(e, "SpeedButton2")->click();
        named<QPushButton>(e, "SpeedButton3")->click();
        afterMoves = label(named<QLabel>(e, "Label2"));
        EXPECT_EQ(gridTexts(named<GridView>(e, "StringGrid1"))[4][1], "    400");
        named<QPushButton>(e, "SpeedButton1")->click();
    });
    openEditor([&](TForm3& e) {
        goTo(e, 17);
        reopened = label(named<QLabel>(e, "Label2"));
    });
    EXPECT_EQ(before, "progr=17 punti=  3 temp min=  100 max=  300");
    EXPECT_EQ(afterMoves, "progr=17 punti=  3 temp min=  100 max=  300");
    EXPECT_EQ(reopened, "progr=17 punti=  4 temp min=  100 max=  400");
    EXPECT_TRUE(services.messages.empty());
    EXPECT_TRUE(services.errors.empty());
}

TEST_F(Editor, AnsweredNoTheCloseBoxSavesNothingAndRestoresTheArchiveAsOpened) {
    const std::string bytes = readFile(archiveFile());
    bool closed = false;
    services.answers = {DesktopServices::Answer::No};
    openEditor([&](TForm3& e) {
        typeDescription(e, "stored by Avanti");
        typeInCell(named<GridView>(e, "StringGrid1"), 1, 2, "9.99");
        named<QPushButton>(e, "SpeedButton2")->click();
        EXPECT_EQ(session->archive.material(1).lambdas[0], 9.99);
        typeDescription(e, "never stored");
        typeInCell(named<GridView>(e, "StringGrid1"), 1, 1, "999");
        e.close(); // the window's close box
        closed = !e.isVisible();
    });
    EXPECT_TRUE(closed);
    EXPECT_EQ(services.questions,
              std::vector<std::string>{"salvare le modifiche all'archivio dei materiali?"});
    EXPECT_EQ(readFile(archiveFile()), bytes);
    // What "Avanti" stored is undone as well: the archive in memory is the
    // one the opening loaded.
    EXPECT_EQ(session->archive.description(1), "calcestruzzo alleggerito 1000 kg/m3");
    EXPECT_EQ(session->archive.material(1).lambdas[0], 0.33);
    EXPECT_EQ(session->archive.description(2), "acciaio inox AISI 304");
    EXPECT_EQ(session->archive.material(2).temperatures[0], 20);
    EXPECT_TRUE(services.messages.empty());
    EXPECT_TRUE(services.errors.empty());
}

// Esc and the close box after an edit ask first: Si stores the page and saves
// as "Uscita", No leaves as the close box always did, Annulla stays. Without
// an edit they leave at once.
TEST_F(Editor, LeavingWithEditsAsksWhetherToSaveThem) {
    using A = DesktopServices::Answer;
    const std::string original = readFile(archiveFile());
    const struct {
        const char* edit; // a description typed on material 1, or an edit elsewhere
        bool avanti;      // the edit stored by "Avanti" and then back on material 1
        std::optional<A> answer;
        bool asked, closed, saved;
    } cases[] = {
        {nullptr, false, std::nullopt, false, true, false},
        {"nuovo", false, A::Yes, true, true, true},
        {"nuovo", false, A::No, true, true, false},
        {"nuovo", false, A::Cancel, true, false, false},
        {"nuovo", true, A::Cancel, true, false, false},
        {"nuovo", true, A::Yes, true, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.edit ? c.edit : "-") + (c.avanti ? " avanti" : ""));
        writeFile(archiveFile(), original);
        services.questions.clear();
        services.answers.clear();
        if (c.answer)
            services.answers.push_back(*c.answer);
        bool closed = false;
        openEditor([&](TForm3& e) {
            if (c.edit) {
                typeDescription(e, c.edit);
                if (c.avanti) {
                    named<QPushButton>(e, "SpeedButton2")->click();
                    named<QPushButton>(e, "SpeedButton3")->click();
                    typeDescription(e, c.edit); // the page as stored: no edit on screen
                }
            }
            QTest::keyClick(&e, Qt::Key_Escape);
            closed = !e.isVisible();
        });
        EXPECT_EQ(closed, c.closed);
        EXPECT_EQ(services.questions.size(), c.asked ? 1u : 0u);
        EXPECT_EQ(archiveOnDisk().description(1),
                  c.saved ? "nuovo" : "calcestruzzo alleggerito 1000 kg/m3");
    }
    EXPECT_TRUE(services.errors.empty());
}

TEST_F(Editor, BothExitControlsStoreThePageAndSaveTheFile) {
    for (int exit = 0; exit < 2; ++exit) {
        SCOPED_TRACE(exit);
        const std::string description = "materiale " + std::to_string(exit);
        bool closed = false;
        openEditor([&](TForm3& e) {
            goTo(e, 18);
            typeDescription(e, QString::fromStdString(description));
            typeInCell(named<GridView>(e, "StringGrid1"), 1, 1, "150");
            typeInCell(named<GridView>(e, "StringGrid1"), 1, 2, "0.07");
            (exit == 0 ? named<QPushButton>(e, "SpeedButton1")
                       : named<QPushButton>(e, "SpeedButton4"))
                ->click();
            closed = !e.isVisible();
        });
        EXPECT_TRUE(closed);
        const MaterialArchive disk = archiveOnDisk();
        EXPECT_EQ(disk.description(18), description);
        EXPECT_EQ(disk.material(18).temperatures[0], 150);
        EXPECT_EQ(disk.material(18).lambdas[0], 0.07);
        EXPECT_EQ(disk.description(1), "calcestruzzo alleggerito 1000 kg/m3");
        EXPECT_EQ(readFile(archiveFile()), session->archive.fileText());
        // Written beside and renamed over: no temporary file is left.
        EXPECT_EQ(folderContents(dir.path()),
                  (std::vector<std::string>{"manuale.html", "materiali.TXT", "sezione1.jpg",
                                            "sezione2.jpg", "stabile1.txt"}));
    }
    EXPECT_TRUE(services.messages.empty());
    EXPECT_TRUE(services.errors.empty());
}

TEST_F(Editor, AfterTheEditorTheMainWindowWorksOnTheEditedArchive) {
    openEditor([](TForm3& e) {
        typeDescription(e, QString::fromUtf8("calcestruzzo gi\xC3\xA0 usato"));
        named<QPushButton>(e, "SpeedButton2")->click();
        typeDescription(e, QString::fromUtf8("inox 10 \xE2\x82\xAC/kg"));
        named<QPushButton>(e, "SpeedButton1")->click();
    });
    // The file holds the descriptions in CP1252.
    const std::string file = readFile(archiveFile());
    EXPECT_EQ(file.rfind("calcestruzzo gi\xE0 usato\r\n", 0), 0u);
    EXPECT_NE(file.find("\r\ninox 10 \x80/kg\r\n"), std::string::npos);

    named<QPushButton>(*form1, "BitBtn6")->click(); // the material list for the insulation
    ASSERT_EQ(named<ChoiceList>(*form1, "ListBox1")->count(), 100);
    EXPECT_EQ(toCp1252(named<ChoiceList>(*form1, "ListBox1")->item(0)->text()),
              "calcestruzzo gi\xE0 usato");
    EXPECT_EQ(named<ChoiceList>(*form1, "ListBox1")->item(1)->text(),
              QString::fromUtf8("inox 10 \xE2\x82\xAC/kg"));
    clickItem(named<ChoiceList>(*form1, "ListBox1"), 1);
    EXPECT_EQ(session->sheet.material(MaterialSlot::Insulation), 2);
    EXPECT_NE(named<QPlainTextEdit>(*form1, "Memo2")->toPlainText().indexOf("inox 10"), -1);
}

TEST_F(Editor, AFailedSaveIsReportedAndTheWindowStaysOpen) {
    writeFile(dir.file("unfile"), "x");
    const std::string bytes = readFile(archiveFile());
    bool openAfterFailure = false, closedAfterSuccess = false;
    openEditor([&](TForm3& e) {
        typeDescription(e, "nuovo");
        // The data folder is a file now: the save cannot create its file.
        session->archive.setPath(dir.file("unfile/materiali.TXT"));
        named<QPushButton>(e, "SpeedButton1")->click();
        openAfterFailure = e.isVisible();
        EXPECT_EQ(e.currentMaterial(), 1);
        session->archive.setPath(archiveFile());
        named<QPushButton>(e, "SpeedButton4")->click();
        closedAfterSuccess = !e.isVisible();
    });
    EXPECT_EQ(services.errors,
              std::vector<std::string>{"Not a directory: " + dir.file("unfile/materiali.TXT")});
    EXPECT_TRUE(openAfterFailure);
    EXPECT_TRUE(closedAfterSuccess);
    EXPECT_NE(readFile(archiveFile()), bytes);
    EXPECT_EQ(archiveOnDisk().description(1), "nuovo");
}

TEST_F(Editor, AReadOnlyArchiveIsReportedAndLeftWhole) {
    const std::string bytes = readFile(archiveFile());
    ::chmod(archiveFile().c_str(), 0444);
    // As an unprivileged user, so that the permissions apply.
    const int rc = runInChild(
        [&] {
            bool open = false;
            services.errors.clear();
            openEditor([&](TForm3& e) {
                typeDescription(e, "nuovo");
                named<QPushButton>(e, "SpeedButton1")->click();
                open = e.isVisible();
            });
            if (services.errors != std::vector<std::string>{"File access denied: " + archiveFile()})
                return 1;
            return open ? 0 : 2;
        },
        true);
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(readFile(archiveFile()), bytes);
}

TEST_F(Editor, StampaListsTheArchiveInTheViewerAndTheEditorStaysOnItsMaterial) {
    named<QPushButton>(*form1, "BitBtn1")->click(); // a calculation: the viewer holds nothing
    std::vector<std::string> listing;
    bool viewerFixedPitch = false;
    int material = 0;
    std::string status, description;
    services.modalScripts.push_back([&](QDialog& w) {
        auto& e = static_cast<TForm3&>(w);
        goTo(e, 3);
        typeDescription(e, "non ancora memorizzato");
        named<QPushButton>(e, "BitBtn1")->click();
        material = e.currentMaterial();
        status = label(named<QLabel>(e, "Label2"));
        description = toCp1252(named<QLineEdit>(e, "Edit1")->text());
    });
    services.modalScripts.push_back([&](QDialog& w) {
        auto& v = static_cast<TAboutBox&>(w);
        for (const QString& l : named<QTextEdit>(v, "RichEdit1")->toPlainText().split('\n'))
            listing.push_back(toCp1252(l));
        viewerFixedPitch =
            QFontInfo(named<QTextEdit>(v, "RichEdit1")->document()->defaultFont()).fixedPitch();
    });
    named<QPushButton>(*form1, "BitBtn8")->click();
    EXPECT_EQ(services.modalWindows, (std::vector<QString>{"Form3", "AboutBox"}));
    ASSERT_EQ(listing.size(), 1u + 3u * 16u);
    EXPECT_EQ(listing[0], "Archivio materiali");
    EXPECT_EQ(listing[1], "     calcestruzzo alleggerito 1000 kg/m3");
    EXPECT_EQ(listing[2], "temp        20    200    400    600");
    EXPECT_EQ(listing[3], "lambda  0.3300 0.3600 0.4000 0.4500");
    EXPECT_EQ(listing[7], "     acciaio al carbonio"); // the page was not stored first
    EXPECT_EQ(listing[37], "     vermiculite espansa sfusa");
    EXPECT_EQ(listing[38], "temp        20");
    EXPECT_TRUE(viewerFixedPitch);
    EXPECT_EQ(material, 3);
    EXPECT_EQ(status, "progr= 3 punti=  6 temp min=   20 max=  800");
    EXPECT_EQ(description, "non ancora memorizzato");
    EXPECT_EQ(session->viewer.fontName, "courier new");
    EXPECT_EQ(session->viewer.fontSize, 14);

    // The listing stays in the viewer: a report comes after it.
    services.modalScripts.push_back([&](QDialog& w) {
        auto& v = static_cast<TAboutBox&>(w);
        EXPECT_TRUE(
            named<QTextEdit>(v, "RichEdit1")->toPlainText().startsWith("Archivio materiali\n"));
    });
    named<QPushButton>(*form1, "BitBtn15")->click();
    ASSERT_GT(session->viewer.paragraphs.size(), listing.size());
    EXPECT_EQ(session->viewer.paragraphs[listing.size()].rfind("titolo progetto=", 0), 0u);
}

TEST_F(Editor, AMissingArchiveFileIsReportedAndTheEditorClosesWithoutSaving) {
    std::filesystem::remove(archiveFile());
    const std::string memory = session->archive.fileText();
    bool visible = true;
    openEditor([&](TForm3& e) {
        visible = e.isVisible();
        named<QPushButton>(e, "SpeedButton1")->click(); // nothing to save
        named<QPushButton>(e, "SpeedButton4")->click();
    });
    EXPECT_EQ(services.errors, std::vector<std::string>{"File not found: " + archiveFile()});
    EXPECT_FALSE(visible);
    EXPECT_FALSE(std::filesystem::exists(archiveFile()));
    EXPECT_EQ(session->archive.fileText(), memory);
    EXPECT_TRUE(services.messages.empty());
}

// On a 1024 x 768 screen the headings, the status line and the description
// take a smaller font at which they fit their boxes.
TEST_F(Editor, TextsFitTheirBoxesAt1024) {
    ASSERT_EQ(screenSize(), QSize(1024, 768));
    openEditor([](TForm3& e) {
        auto* grid = named<GridView>(e, "StringGrid1");
        auto* status = named<QLabel>(e, "Label2");
        auto* description = named<QLineEdit>(e, "Edit1");
        const struct {
            QWidget* control;
            QString text;
            int room;
        } texts[] = {
            {grid,
             QString::fromUtf8("temperatura[\xC2\xB0"
                               "C]"),
             grid->columnWidth(1)},
            {grid, "lambda[w/m K]", grid->columnWidth(2)},
            {status, status->text(), e.width() - status->x()},
            {description, description->text(), description->width()},
        };
        for (const auto& t : texts) {
            SCOPED_TRACE(t.text.toStdString());
            EXPECT_LT(t.control->font().pointSize(), 18);
            EXPECT_GE(t.control->font().pointSize(), 9);
            EXPECT_LE(QFontMetrics(t.control->font()).horizontalAdvance(t.text), t.room);
        }
        EXPECT_EQ(toCp1252(status->text()), "progr= 1 punti=  4 temp min=   20 max=  600");
    });
}
