#include "GuiFixture.h"

#include "QtText.h"
#include "TextGrid.h"

#include <QApplication>
#include <QLineEdit>

#include <QListWidget>
#include <QTest>
#include <algorithm>
#include <filesystem>

namespace camini::test {
// Key presses for each character of a text, letters beyond ASCII included.
void typeText(QWidget* w, const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(w, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, w, static_cast<Qt::Key>(c.toUpper().unicode()),
                                QString(c), Qt::NoModifier);
    }
}

// Types into a cell of the grid as a user does: the cell's editor opens, its
// text is replaced by the keys typed, and the editor stays open.
void typeInCell(GridView* grid, int row, int column, const QString& text) {
    const QModelIndex cell = grid->model()->index(row, column);
    grid->setCurrentIndex(cell); // opens the cell's editor (any trigger edits)
    if (!grid->indexWidget(cell))
        grid->edit(cell);
    QApplication::processEvents();
    auto* line = qobject_cast<QLineEdit*>(grid->indexWidget(cell));
    ASSERT_NE(line, nullptr) << row << "," << column;
    line->selectAll();
    QTest::keyClick(line, Qt::Key_Delete);
    typeText(line, text);
}

void clickItem(QListWidget* list, int row) {
    QListWidgetItem* item = list->item(row);
    list->scrollToItem(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
}

std::vector<std::string> folderContents(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::vector<std::string>> gridTexts(QAbstractItemView* view) {
    std::vector<std::vector<std::string>> rows;
    auto* m = view->model();
    for (int r = 0; r < m->rowCount(); ++r) {
        std::vector<std::string> row;
        for (int c = 0; c < m->columnCount(); ++c)
            row.push_back(toCp1252(m->data(m->index(r, c), Qt::DisplayRole).toString()));
        rows.push_back(row);
    }
    return rows;
}
} // namespace camini::test
