// The windows from the keyboard: the focus on the first value at start, Tab
// and the arrows among the value cells only, Delete, the viewer's keys and
// the material list's keys.
#include "GuiFixture.h"
#include "QtText.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>

using namespace camini;
using namespace camini::test;

namespace {

void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key), modifiers);
    QApplication::processEvents();
}

void typeKeys(const char* keys) {
    for (const char* c = keys; *c; ++c)
        QTest::keyClick(QApplication::focusWidget(), *c);
}

} // namespace

// The main window active, as the user finds it at start.
class Keyboard : public GuiFixture {
protected:
    void SetUp() override {
        GuiFixture::SetUp();
        form1->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form1));
    }
};

// The manual's own example typed right after the start: "310 Enter 21 Enter";
// Enter stores the cell and goes down a row, on the last row it stays.
TEST_F(Keyboard, TypingAtStartGoesIntoTheFirstValues) {
    auto* grid = named<GridView>(*form1, "StringGrid1");
    EXPECT_EQ(QApplication::focusWidget(), grid);
    EXPECT_EQ(grid->currentIndex(), grid->model()->index(0, 1));
    typeKeys("310");
    press(Qt::Key_Return);
    typeKeys("21");
    press(Qt::Key_Return);
    EXPECT_EQ(session->sheet.input(InputRow::FlueGasTemp), "310");
    EXPECT_EQ(session->sheet.input(InputRow::AmbientTemp), "21");
    EXPECT_EQ(grid->currentIndex(), grid->model()->index(2, 1));
    grid->setCurrentIndex(grid->model()->index(11, 1));
    typeKeys("95");
    press(Qt::Key_Return);
    EXPECT_EQ(session->sheet.input(InputRow::OuterFaceLimit), "95");
    EXPECT_EQ(grid->currentIndex(), grid->model()->index(11, 1));
}

// The keys move among the value cells of the input grid (one column) and of
// the editor's grid (two), never onto a label or a heading; past the last
// value Tab leaves the grid for the next control, as it leaves the text boxes
// and the results grid, typing no tab.
TEST_F(Keyboard, KeysMoveAmongTheValueCellsOnly) {
    const struct {
        bool editor;
        int fromRow, fromColumn, key;
        Qt::KeyboardModifiers modifiers;
        bool editing;    // a digit typed first: the cell's editor is open
        int row, column; // -1: the focus has left the grid
    } moves[] = {
        {false, 0, 1, Qt::Key_Tab, Qt::NoModifier, false, 1, 1},
        {false, 0, 1, Qt::Key_Tab, Qt::NoModifier, true, 1, 1},
        {false, 4, 1, Qt::Key_Backtab, Qt::ShiftModifier, false, 3, 1},
        {false, 4, 1, Qt::Key_Backtab, Qt::ShiftModifier, true, 3, 1},
        {false, 3, 1, Qt::Key_Left, Qt::NoModifier, false, 3, 1},
        {false, 3, 1, Qt::Key_Home, Qt::NoModifier, false, 3, 1},
        {false, 3, 1, Qt::Key_Home, Qt::ControlModifier, false, 0, 1},
        {false, 3, 1, Qt::Key_End, Qt::ControlModifier, false, 11, 1},
        {false, 0, 1, Qt::Key_Up, Qt::NoModifier, false, 0, 1},
        {false, 11, 1, Qt::Key_Up, Qt::NoModifier, false, 10, 1},
        {false, 11, 1, Qt::Key_Tab, Qt::NoModifier, false, -1, -1},
        {true, 1, 1, Qt::Key_Tab, Qt::NoModifier, false, 1, 2},
        {true, 1, 2, Qt::Key_Tab, Qt::NoModifier, false, 2, 1},
        {true, 2, 1, Qt::Key_Tab, Qt::NoModifier, false, 2, 2},
        {true, 2, 2, Qt::Key_Up, Qt::NoModifier, false, 1, 2},
        {true, 1, 2, Qt::Key_Up, Qt::NoModifier, false, 1, 2},
        {true, 6, 2, Qt::Key_Tab, Qt::NoModifier, false, -1, -1},
    };
    const auto keysIn = [&](GridView* grid, bool editor, const char* next) {
        for (const auto& m : moves) {
            if (m.editor != editor)
                continue;
            SCOPED_TRACE(&m - moves);
            grid->setFocus();
            grid->setCurrentIndex(grid->model()->index(m.fromRow, m.fromColumn));
            if (m.editing)
                typeKeys("7");
            press(m.key, m.modifiers);
            if (m.row < 0)
                EXPECT_EQ(QApplication::focusWidget()->objectName(), next);
            else
                EXPECT_EQ(grid->currentIndex(), grid->model()->index(m.row, m.column));
        }
    };
    auto* grid = named<GridView>(*form1, "StringGrid1");
    keysIn(grid, false, "BitBtn6");
    for (auto [from, next] :
         {std::pair{"Memo1", "Memo2"}, {"Edit1", "StringGrid2"}, {"StringGrid2", "BitBtn1"}}) {
        named<QWidget>(*form1, from)->setFocus();
        press(Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget()->objectName(), next) << from;
    }
    EXPECT_FALSE(named<QPlainTextEdit>(*form1, "Memo1")->toPlainText().contains('\t'));
    // A click on a label leaves the current cell a value.
    grid->setCurrentIndex(grid->model()->index(5, 1));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      grid->visualRect(grid->model()->index(2, 0)).center());
    EXPECT_EQ(grid->currentIndex(), grid->model()->index(5, 1));
    services.modalScripts.push_back(
        [&](QDialog& e) { keysIn(named<GridView>(e, "StringGrid1"), true, "Edit1"); });
    form1->vai_archivio();
    EXPECT_TRUE(services.modalScripts.empty());
}

// Delete and Backspace on a cell not being edited empty it.
TEST_F(Keyboard, DeleteAndBackspaceEmptyACell) {
    auto* grid = named<GridView>(*form1, "StringGrid1");
    for (auto [key, row] : {std::pair{Qt::Key_Delete, 0}, {Qt::Key_Backspace, 6}}) {
        grid->setFocus();
        grid->setCurrentIndex(grid->model()->index(row, 1));
        press(key);
        EXPECT_EQ(session->sheet.input(inputRowAt(row)), "") << row;
    }
    EXPECT_EQ(session->sheet.input(InputRow::AmbientTemp), "20");
}

// In the viewer Tab, Shift+Tab and Ctrl+Tab leave the text unchanged and
// reach the buttons; Ctrl+P prints and Ctrl+S saves, as the tooltips say.
TEST_F(Keyboard, TheViewersKeys) {
    form1->vai_calcolo();
    services.modalScripts.push_back([&](QDialog& v) {
        v.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&v));
        auto* text = named<QTextEdit>(v, "RichEdit1");
        const QString before = text->toPlainText();
        for (auto [key, modifiers] : {std::pair{Qt::Key_Tab, Qt::KeyboardModifiers()},
                                      {Qt::Key_Backtab, Qt::ShiftModifier},
                                      {Qt::Key_Tab, Qt::ControlModifier}}) {
            text->setFocus();
            press(key, modifiers);
            EXPECT_TRUE(qobject_cast<QPushButton*>(QApplication::focusWidget()))
                << key << " " << modifiers;
        }
        press(Qt::Key_Space);
        EXPECT_EQ(text->toPlainText(), before);
        for (auto [name, tip, keys] : {std::tuple{"BitBtn2", "Stampa (Ctrl+P)", "Ctrl+P"},
                                       {"BitBtn3", "Su file di testo (Ctrl+S)", "Ctrl+S"}}) {
            EXPECT_EQ(named<QPushButton>(v, name)->toolTip(), tip);
            EXPECT_EQ(named<QPushButton>(v, name)->shortcut().toString(), keys);
        }
    });
    form1->vai_tabulato();
}

// The material list: the arrows, Home and End move the selection and choose
// nothing; Enter chooses; Esc closes the list with no choice.
TEST_F(Keyboard, TheMaterialListsKeys) {
    auto* list = named<ChoiceList>(*form1, "ListBox1");
    const struct {
        std::vector<int> keys;
        int current;
        bool chosen;
    } cases[] = {
        {{Qt::Key_Down}, 1, false},
        {{Qt::Key_Down, Qt::Key_Down, Qt::Key_Up}, 1, false},
        {{Qt::Key_End}, 99, false},
        {{Qt::Key_End, Qt::Key_Home}, 0, false},
        {{Qt::Key_Down, Qt::Key_Down, Qt::Key_Return}, 2, true},
        {{Qt::Key_Down, Qt::Key_Escape}, 1, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.current);
        session->sheet.material(MaterialSlot::TechnicalGap) = 1;
        named<QPushButton>(*form1, "BitBtn7")->click(); // asola tecnica, on material 1
        ASSERT_EQ(QApplication::focusWidget(), list);
        for (int k : c.keys)
            press(k);
        EXPECT_EQ(list->currentRow(), c.current);
        EXPECT_EQ(session->sheet.material(MaterialSlot::TechnicalGap), c.chosen ? 3 : 1);
        const bool closed = c.chosen || c.keys.back() == Qt::Key_Escape;
        EXPECT_EQ(list->isVisible(), !closed);
        EXPECT_EQ(named<QLabel>(*form1, "Image1")->isVisible(), closed);
    }
    EXPECT_TRUE(currentGraph.draw == nullptr);
}
