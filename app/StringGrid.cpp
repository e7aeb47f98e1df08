#include "app/StringGrid.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QHeaderView>
#include <QItemSelection>
#include <QPalette>
#include <QStringDecoder>
#include <algorithm>
#include <vector>

// What a cell shows. Bytes are decoded with the locale's codec; bytes that
// are not valid in it but are valid Shift-JIS (a file or table from a
// Shift-JIS system, read in a UTF-8 session) are shown as Shift-JIS, so that
// the person can read them. Only the display changes: the cell keeps the
// bytes, and a transfer moves them as they are.
// A character cut by the length limit stays in the decoder's state, not in
// the text.
static QString decodedText(QByteArrayView bytes)
{
    QStringDecoder local(QStringDecoder::System);
    QString text = local.decode(bytes);
    if (!local.hasError())
        return text;
    QStringDecoder shiftJis("Shift_JIS");
    if (shiftJis.isValid()) {
        QString alternative = shiftJis.decode(bytes);
        if (!shiftJis.hasError())
            return alternative;
    }
    return text;
}

QString StringGrid::displayText(const QByteArray &bytes)
{
    if (bytes.size() <= ShownBytes)
        return decodedText(bytes);
    return decodedText(QByteArrayView(bytes).first(ShownBytes)) + u'\u2026';
}

// The cells by logical column; the header view maps logical to visual.
class StringGridModel : public QAbstractTableModel {
public:
    using Column = std::vector<QByteArray>;

    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : m_rows - StringGrid::FixedRows;
    }
    int columnCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : int(m_columns.size());
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid())
            return {};
        if (role == Qt::DisplayRole)
            return StringGrid::displayText(cell(index.column(), index.row() + StringGrid::FixedRows));
        if (role == Qt::BackgroundRole && index.column() < StringGrid::FixedCols)
            return QApplication::palette().button();
        return {};
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return QAbstractTableModel::headerData(section, orientation, role);
        return StringGrid::displayText(cell(section, 0)) + u'\n' + StringGrid::displayText(cell(section, 1));
    }

    Qt::ItemFlags flags(const QModelIndex &index) const override
    {
        return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
    }

    int rows() const { return m_rows; }

    QByteArray cell(int column, int row) const
    {
        if (column < 0 || column >= int(m_columns.size()) || row < 0 || row >= m_rows)
            return {};
        return m_columns[column][row];
    }

    void setCell(int column, int row, const QByteArray &value)
    {
        if (column < 0 || column >= int(m_columns.size()) || row < 0 || row >= m_rows)
            return;
        m_columns[column][row] = value;
        if (row < StringGrid::FixedRows) {
            emit headerDataChanged(Qt::Horizontal, column, column);
        } else {
            const QModelIndex at = index(row - StringGrid::FixedRows, column);
            emit dataChanged(at, at, {Qt::DisplayRole});
        }
    }

    // Replaces every column at once; the view forgets any moved order.
    void resetColumns(std::vector<Column> columns)
    {
        beginResetModel();
        m_columns = std::move(columns);
        for (Column &column : m_columns)
            column.resize(m_rows);
        endResetModel();
    }

    void setRows(int rows)
    {
        rows = std::max(rows, int(StringGrid::FixedRows));
        if (rows > m_rows) {
            beginInsertRows({}, m_rows - StringGrid::FixedRows, rows - StringGrid::FixedRows - 1);
            resizeColumns(rows);
            endInsertRows();
        } else if (rows < m_rows) {
            beginRemoveRows({}, rows - StringGrid::FixedRows, m_rows - StringGrid::FixedRows - 1);
            resizeColumns(rows);
            endRemoveRows();
        }
    }

private:
    void resizeColumns(int rows)
    {
        m_rows = rows;
        for (Column &column : m_columns)
            column.resize(rows);
    }

    std::vector<Column> m_columns;
    int m_rows = StringGrid::FixedRows;
};

StringGrid::StringGrid(QWidget *parent)
    : QTableView(parent)
    , m_model(new StringGridModel)
{
    m_model->setParent(this);
    setModel(m_model);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(true);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    QHeaderView *header = horizontalHeader();
    header->setSectionsMovable(true);
    header->setFirstSectionMovable(false);
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setHighlightSections(false);
    connect(header, &QHeaderView::sectionMoved, this,
            [this](int, int from, int to) { emit columnMoved(from, to); });
}

int StringGrid::ColCount() const
{
    return m_model->columnCount();
}

void StringGrid::setColCount(int count)
{
    count = std::max(count, 0);
    std::vector<StringGridModel::Column> columns(count);
    std::vector<int> widths(count, horizontalHeader()->defaultSectionSize());
    for (int col = 0; col < count && col < ColCount(); ++col) {
        columns[col].resize(RowCount());
        for (int row = 0; row < RowCount(); ++row)
            columns[col][row] = Cells(col, row);
        widths[col] = ColWidths(col);
    }
    m_model->resetColumns(std::move(columns));
    for (int col = 0; col < count; ++col)
        setColumnWidth(col, widths[col]);
}

int StringGrid::RowCount() const
{
    return m_model->rows();
}

void StringGrid::setRowCount(int count)
{
    m_model->setRows(count);
}

int StringGrid::logical(int col) const
{
    if (col < 0 || col >= ColCount())
        return -1;
    return horizontalHeader()->logicalIndex(col);
}

QByteArray StringGrid::Cells(int col, int row) const
{
    return m_model->cell(logical(col), row);
}

void StringGrid::setCells(int col, int row, const QByteArray &value)
{
    m_model->setCell(logical(col), row, value);
}

void StringGrid::MoveColumn(int from, int to)
{
    if (from < FixedCols || to < FixedCols || from >= ColCount() || to >= ColCount())
        return;
    horizontalHeader()->moveSection(from, to);
}

GridRect StringGrid::Selection() const
{
    GridRect rect;
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    for (const QModelIndex &index : selected) {
        const int row = index.row() + FixedRows;
        const int col = horizontalHeader()->visualIndex(index.column());
        if (rect.Top < 0) {
            rect = {col, row, col, row};
            continue;
        }
        rect.Left = std::min(rect.Left, col);
        rect.Right = std::max(rect.Right, col);
        rect.Top = std::min(rect.Top, row);
        rect.Bottom = std::max(rect.Bottom, row);
    }
    return rect;
}

void StringGrid::setSelection(const GridRect &rect)
{
    const int top = std::max(rect.Top, int(FixedRows)) - FixedRows;
    const int bottom = std::min(rect.Bottom, RowCount() - 1) - FixedRows;
    QItemSelection selection;
    if (top <= bottom) {
        // Visual columns may lie anywhere among the logical ones after a
        // drag: one range per column.
        for (int col = std::max(rect.Left, 0); col <= std::min(rect.Right, ColCount() - 1); ++col) {
            const int index = logical(col);
            selection.select(m_model->index(top, index), m_model->index(bottom, index));
        }
    }
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

int StringGrid::ColWidths(int col) const
{
    const int index = logical(col);
    return index < 0 ? 0 : columnWidth(index);
}

void StringGrid::setColWidths(int col, int width)
{
    const int index = logical(col);
    if (index >= 0)
        setColumnWidth(index, width);
}

void StringGrid::setDefaultColWidth(int width)
{
    horizontalHeader()->setDefaultSectionSize(width);
}

void StringGrid::setDefaultRowHeight(int height)
{
    verticalHeader()->setDefaultSectionSize(height);
}
