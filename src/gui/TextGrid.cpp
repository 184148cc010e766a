#include "TextGrid.h"

#include "QtText.h"

#include <algorithm>

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPalette>
#include <QStyle>
#include <QStyledItemDelegate>
#include <algorithm>

namespace camini {

TextGridModel::TextGridModel(GridShape shape, Getter get, Setter set, QObject* parent)
    : QAbstractTableModel(parent), shape_(shape), get_(std::move(get)), set_(std::move(set)) {}

int TextGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : shape_.rows;
}
int TextGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : shape_.columns;
}

bool TextGridModel::isFixed(const QModelIndex& index) const {
    return index.row() < shape_.fixedRows || index.column() < shape_.fixedColumns;
}

QVariant TextGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return toQString(get_(index.row(), index.column()));
    case Qt::BackgroundRole:
        if (isFixed(index))
            return QApplication::palette().color(QPalette::Button);
        return {};
    case Qt::TextAlignmentRole:
        return QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

bool TextGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole || !set_ || isFixed(index))
        return false;
    set_(index.row(), index.column(), toCp1252(value.toString()));
    emit dataChanged(index, index);
    return true;
}

Qt::ItemFlags TextGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    if (isFixed(index))
        return Qt::ItemIsEnabled;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (set_)
        f |= Qt::ItemIsEditable;
    return f;
}

void TextGridModel::refresh() {
    if (shape_.rows > 0 && shape_.columns > 0)
        emit dataChanged(index(0, 0), index(shape_.rows - 1, shape_.columns - 1));
}

GridView::GridView(QWidget* parent) : QTableView(parent) {
    horizontalHeader()->hide();
    verticalHeader()->hide();
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setWordWrap(false);
    // Texts longer than their cell are cut at its edge, as a string grid
    // does; the labels end in padding blanks that must not turn into "...".
    setTextElideMode(Qt::ElideNone);
    setCornerButtonEnabled(false);
    // Tab moves on to the next control; the arrow keys move between cells.
    setTabKeyNavigation(false);
    horizontalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
}

namespace {

// Shows a number that does not fit its cell as stars filling the cell. The
// fixed cells (headings, names) are cut at the edge as before.
class StarsDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        if (!(index.flags() & Qt::ItemIsSelectable))
            return;
        const QStyle* style = option->widget ? option->widget->style() : QApplication::style();
        const int margin =
            style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, option->widget);
        const int room = option->rect.width() - 2 * (margin + 1);
        const QFontMetrics metrics(option->font);
        if (metrics.horizontalAdvance(option->text) <= room)
            return;
        // The padding blanks before a number may go; its digits may not.
        const QString number = option->text.trimmed();
        if (metrics.horizontalAdvance(number) <= room) {
            option->text = number;
            return;
        }
        const int star = std::max(1, metrics.horizontalAdvance(QLatin1Char('*')));
        option->text = QString(std::max(1, room / star), QLatin1Char('*'));
    }
};

} // namespace

void GridView::setStarsForLongNumbers() {
    setItemDelegate(new StarsDelegate(this));
}

void GridView::setSizes(int defaultWidth, std::initializer_list<int> firstWidths, int rowHeight) {
    horizontalHeader()->setDefaultSectionSize(defaultWidth);
    verticalHeader()->setDefaultSectionSize(rowHeight);
    int c = 0;
    for (int w : firstWidths)
        setColumnWidth(c++, w);
    for (; model() && c < model()->columnCount(); ++c)
        setColumnWidth(c, defaultWidth);
    for (int r = 0; model() && r < model()->rowCount(); ++r)
        setRowHeight(r, rowHeight);
}

void GridView::setEditable(bool editable) {
    editable_ = editable;
    setTabKeyNavigation(editable);
    // A click on the selected cell does not open its editor: that editor
    // opened only after the double-click time and took the place of the one
    // typing had opened, losing what had been typed. Typing, F2 or a double
    // click edit the cell.
    setEditTriggers(editable
                        ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                              QAbstractItemView::AnyKeyPressed
                        : QAbstractItemView::NoEditTriggers);
}

GridShape GridView::shape() const {
    if (const auto* m = qobject_cast<const TextGridModel*>(model()))
        return m->shape();
    if (!model())
        return {};
    return {.rows = model()->rowCount(), .columns = model()->columnCount()};
}

bool GridView::isFixedCell(const QModelIndex& index) const {
    const GridShape s = shape();
    return index.row() < s.fixedRows || index.column() < s.fixedColumns;
}

QModelIndex GridView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    const GridShape s = shape();
    if (!model() || s.rows <= s.fixedRows || s.columns <= s.fixedColumns)
        return {};
    const int firstRow = s.fixedRows, lastRow = s.rows - 1;
    const int firstColumn = s.fixedColumns, lastColumn = s.columns - 1;
    const QModelIndex at = currentIndex();
    if (!at.isValid() || isFixedCell(at))
        return model()->index(firstRow, firstColumn);
    int r = at.row(), c = at.column();
    const bool control = modifiers & Qt::ControlModifier;
    switch (action) {
    case MoveUp:
        r = std::max(firstRow, r - 1);
        break;
    case MoveDown:
        r = std::min(lastRow, r + 1);
        break;
    case MoveLeft:
        c = std::max(firstColumn, c - 1);
        break;
    case MoveRight:
        c = std::min(lastColumn, c + 1);
        break;
    case MoveHome:
        c = firstColumn;
        if (control)
            r = firstRow;
        break;
    case MoveEnd:
        c = lastColumn;
        if (control)
            r = lastRow;
        break;
    case MovePageUp:
        r = firstRow;
        break;
    case MovePageDown:
        r = lastRow;
        break;
    case MoveNext:
        if (++c > lastColumn) {
            c = firstColumn;
            if (++r > lastRow)
                return {}; // past the last cell: Tab leaves the grid
        }
        break;
    case MovePrevious:
        if (--c < firstColumn) {
            c = lastColumn;
            if (--r < firstRow)
                return {};
        }
        break;
    }
    return model()->index(r, c);
}

void GridView::mousePressEvent(QMouseEvent* e) {
    // A click on a label or a heading gives the grid the focus and leaves
    // the current cell where it is: typing goes on into a value.
    const QModelIndex at = indexAt(e->position().toPoint());
    if (at.isValid() && isFixedCell(at)) {
        setFocus(Qt::MouseFocusReason);
        if (!currentIndex().isValid() || isFixedCell(currentIndex()))
            setCurrentIndex(moveCursor(MoveHome, Qt::ControlModifier));
        e->accept();
        return;
    }
    QTableView::mousePressEvent(e);
}

void GridView::moveDown() {
    const QModelIndex at = currentIndex();
    if (!at.isValid() || !model() || at.row() + 1 >= model()->rowCount())
        return;
    const QModelIndex next = model()->index(at.row() + 1, at.column());
    setCurrentIndex(next);
    scrollTo(next);
}

void GridView::keyPressEvent(QKeyEvent* e) {
    if (enterMovesDown_ && state() != EditingState &&
        (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) &&
        e->modifiers() == Qt::NoModifier) {
        moveDown();
        e->accept();
        return;
    }
    if (editable_ && state() != EditingState &&
        (e->key() == Qt::Key_Delete || e->key() == Qt::Key_Backspace) &&
        e->modifiers() == Qt::NoModifier) {
        const QModelIndex at = currentIndex();
        if (at.isValid() && (model()->flags(at) & Qt::ItemIsEditable))
            model()->setData(at, QString(), Qt::EditRole);
        e->accept();
        return;
    }
    QTableView::keyPressEvent(e);
}

void GridView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    QTableView::closeEditor(editor, hint);
    // The cell's editor ends with this hint when Enter stored its text.
    if (enterMovesDown_ && hint == QAbstractItemDelegate::SubmitModelCache)
        moveDown();
}

void GridView::commitEdit() {
    if (QWidget* editor = indexWidget(currentIndex())) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

} // namespace camini
