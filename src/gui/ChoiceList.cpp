#include "ChoiceList.h"

#include "QtText.h"

#include <QKeyEvent>

namespace camini {

ChoiceList::ChoiceList(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListWidget::itemSelectionChanged, this, [this] {
        if (filling_ || !choosesOnMove_)
            return;
        const auto selected = selectedItems();
        if (selected.isEmpty())
            return;
        pickedByPress_ = true;
        emit chosen(row(selected.first()));
    });
    // A click on the item picked already picks it again.
    connect(this, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        if (choosesOnMove_ && pickedByPress_) {
            pickedByPress_ = false;
            return;
        }
        emit chosen(row(item));
    });
    // Enter picks the current item.
    connect(this, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        if (choosesOnMove_ && !item->isSelected())
            item->setSelected(true);
    });
    // A double click on a list still open (the click before it closes a
    // list that shows only while a choice is made).
    connect(this, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        if (!choosesOnMove_ && isVisible())
            emit chosen(row(item));
    });
}

void ChoiceList::setItems(const std::vector<std::string>& items, int current) {
    filling_ = true;
    clear();
    for (const auto& item : items) {
        addItem(toQString(item));
        if (!item.empty())
            this->item(count() - 1)->setToolTip(toQString(item));
    }
    if (current >= 0 && current < count()) {
        setCurrentRow(current, QItemSelectionModel::ClearAndSelect);
        scrollToItem(this->item(current), QAbstractItemView::PositionAtCenter);
    } else {
        setCurrentRow(-1, QItemSelectionModel::Clear);
        scrollToTop();
    }
    filling_ = false;
}

void ChoiceList::focusInEvent(QFocusEvent* e) {
    QListWidget::focusInEvent(e);
    // The view makes its first item current on focus; without a pick the
    // first arrow key must land on the first item, not the second.
    if (selectedItems().isEmpty())
        setCurrentRow(-1, QItemSelectionModel::NoUpdate);
}

void ChoiceList::keyPressEvent(QKeyEvent* e) {
    if (!choosesOnMove_ && e->modifiers() == Qt::NoModifier) {
        switch (e->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (currentItem())
                emit chosen(currentRow());
            e->accept();
            return;
        case Qt::Key_Escape:
            emit dismissed();
            e->accept();
            return;
        default:
            break;
        }
    }
    QListWidget::keyPressEvent(e);
}

void ChoiceList::mousePressEvent(QMouseEvent* e) {
    pickedByPress_ = false;
    QListWidget::mousePressEvent(e);
}

} // namespace camini
