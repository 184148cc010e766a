#pragma once

#include <QListWidget>
#include <string>
#include <vector>

namespace camini {

// A single-choice list box: `chosen` comes when the user picks an item.
// Giving the list the focus picks nothing. A list that chooses on moving
// picks the item the selection moves to, by mouse or by keyboard, and the
// item already picked when it is clicked again. A list that does not
// (setChoosesOnMove(false)) moves its selection with the arrow keys, Home,
// End and the page keys, picks only on Enter, a click or a double click,
// and gives `dismissed` on Esc.
class ChoiceList : public QListWidget {
    Q_OBJECT
public:
    explicit ChoiceList(QWidget* parent = nullptr);

    // Replaces the items (CP1252 texts), each shown in full as its tooltip;
    // none is picked. The item at `current`, when there is one, is selected
    // and scrolled into view without being picked (a click on it picks it).
    void setItems(const std::vector<std::string>& items, int current = -1);

    void setChoosesOnMove(bool chooses) { choosesOnMove_ = chooses; }

signals:
    void chosen(int row);
    void dismissed();

protected:
    void focusInEvent(QFocusEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    bool filling_ = false;
    bool pickedByPress_ = false;
    bool choosesOnMove_ = true;
};

} // namespace camini
