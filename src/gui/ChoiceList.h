#pragma once

#include <QListWidget>
#include <string>
#include <vector>

namespace camini {

// A single-choice list box: `chosen` comes when the user picks an item, by
// mouse or by keyboard (arrow keys, Enter, Space), and when the item already
// picked is clicked again. Giving the list the focus picks nothing.
class ChoiceList : public QListWidget {
    Q_OBJECT
public:
    explicit ChoiceList(QWidget* parent = nullptr);

    // Replaces the items (CP1252 texts), each shown in full as its tooltip;
    // none is picked. The item at `current`, when there is one, is selected
    // and scrolled into view without being picked (a click on it picks it).
    void setItems(const std::vector<std::string>& items, int current = -1);

signals:
    void chosen(int row);

protected:
    void focusInEvent(QFocusEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;

private:
    bool filling_ = false;
    bool pickedByPress_ = false;
};

} // namespace camini
