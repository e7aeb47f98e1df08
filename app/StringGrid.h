#pragma once
// The preview grid: a table of byte-string cells with two fixed rows shown as
// a two-line column header (row 0 a column name, row 1 its type) and one fixed
// column (line numbers) that never moves. The other columns can be dragged;
// the order a person drags them into is the order the program reads.
//
// Columns are addressed by their *visual* index, as the person sees them:
// Cells(c, r) is the cell in the c-th column from the left after any drag.
// Counts include the fixed column and the two fixed rows, so a grid of
// ColCount 6 and RowCount 32 shows 5 movable columns and 30 data rows.
// Cells hold bytes; they are shown decoded with the locale's 8-bit codec (or
// as Shift-JIS where they are not valid in it; see displayText) and read back
// exactly as written.
#include <QByteArray>
#include <QTableView>

class StringGridModel;

// A block of cells in grid coordinates: visual columns, rows counted from the
// top fixed row. An empty selection has Top -1.
struct GridRect {
    int Left = -1;
    int Top = -1;
    int Right = -1;
    int Bottom = -1;
};

class StringGrid : public QTableView {
    Q_OBJECT
public:
    static constexpr int FixedRows = 2;
    static constexpr int FixedCols = 1;

    explicit StringGrid(QWidget *parent = nullptr);

    int ColCount() const;
    // Keeps the cells and widths of the first `count` visual columns.
    void setColCount(int count);
    int RowCount() const;
    // Keeps the column order; added rows are empty.
    void setRowCount(int count);

    // Outside the grid a read gives an empty cell and a write is ignored.
    QByteArray Cells(int col, int row) const;
    void setCells(int col, int row, const QByteArray &value);

    // Moves the column at visual index `from` to visual index `to`, as a drag
    // does. The fixed column takes no part: indexes below 1 are ignored.
    void MoveColumn(int from, int to);

    // The smallest block holding every selected cell; the fixed rows are
    // never selected.
    GridRect Selection() const;
    // Selects exactly the cells of `rect` (its data rows only), replacing the
    // selection.
    void setSelection(const GridRect &rect);

    // The text a cell holding `bytes` shows: of a longer value its first
    // ShownBytes bytes and "…". Laying out a field of megabytes (a CSV line
    // with no line breaks) would hold the window for minutes, and no cell
    // is that wide.
    static constexpr qsizetype ShownBytes = 4096;
    static QString displayText(const QByteArray &bytes);

    int ColWidths(int col) const;
    void setColWidths(int col, int width);
    void setDefaultColWidth(int width);
    void setDefaultRowHeight(int height);

signals:
    // A column went from visual index `from` to `to`, by a drag or MoveColumn.
    void columnMoved(int from, int to);

private:
    int logical(int col) const;

    StringGridModel *m_model;
};
