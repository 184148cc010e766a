#pragma once

#include "common/Cp1252.h"

#include <QAbstractTableModel>
#include <QTableView>
#include <functional>
#include <string>

namespace camini {

// The shape of a grid: its size and how many of its first rows and columns
// are fixed (headings and labels).
struct GridShape {
    int rows = 0;
    int columns = 0;
    int fixedRows = 0;
    int fixedColumns = 0;
};

// A table model over texts the core keeps: the worksheet's input grid or
// results grid. The fixed rows and columns of its shape look fixed (button
// face) and are never editable.
class TextGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using Getter = std::function<const Cp1252&(int row, int column)>;
    using Setter = std::function<void(int row, int column, Cp1252 text)>;

    TextGridModel(GridShape shape, Getter get, Setter set, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The texts changed in the core: show them again.
    void refresh();

    const GridShape& shape() const { return shape_; }

private:
    bool isFixed(const QModelIndex& index) const;
    GridShape shape_;
    Getter get_;
    Setter set_;
};

// A string grid: no headers, no scroll bars, fixed row heights and column
// widths given in pixels, one cell selected at a time. The fixed rows and
// columns of its model's shape are never current: the arrow keys, Home, End
// and a click stay among the other cells, and the focus lands on the first
// of them.
class GridView : public QTableView {
    Q_OBJECT
public:
    explicit GridView(QWidget* parent = nullptr);

    // Column widths (the first ones given, the rest `defaultWidth`) and the
    // row height, in pixels.
    void setSizes(int defaultWidth, std::initializer_list<int> firstWidths, int rowHeight);

    // Whether the cells the model lets edit open an editor. An editable grid
    // takes the Tab key: Tab and Shift+Tab go from cell to cell, and past the
    // last (or before the first) to the next control. Delete and Backspace
    // on a cell not being edited empty it.
    void setEditable(bool editable);

    // Stores the text of a cell being edited, as leaving the cell would.
    void commitEdit();

    // Enter stores the cell and moves to the next row, as in a spreadsheet
    // (the last row stays).
    void setEnterMovesDown(bool moves) { enterMovesDown_ = moves; }

    // The cells that are not fixed hold numbers: one too long for its cell
    // is shown as '*' filling the cell, never as its first digits.
    void setStarsForLongNumbers();

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void mousePressEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    void moveDown();
    // The model's shape, or a grid without fixed cells.
    GridShape shape() const;
    bool isFixedCell(const QModelIndex& index) const;
    bool enterMovesDown_ = false;
    bool editable_ = false;
};

} // namespace camini
