#include "GuiFixture.h"

#include "QtText.h"

#include <QListWidget>
#include <QTest>
#include <algorithm>
#include <filesystem>

namespace camini::test {
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
