// The table preview, the table-data preview, the CSV preview and the column
// classes of the grid.
#include "transfer/Preview.h"

#include "app/Globals.h"
#include "app/RadioGroup.h"
#include "app/StringGrid.h"
#include "app/TfmMain.h"
#include "oracle/SqlName.h"
#include "oracle/TOCIcur.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/WaitCursor.h"
#include "transfer/CsvReader.h"

#include <QCheckBox>
#include <QLineEdit>
#include <algorithm>
#include <optional>

namespace {

constexpr int kExportMode = 1;

struct TableColumn {
    std::string name;
    std::string typeText;
};

QByteArray bytes(std::string_view text)
{
    return QByteArray(text.data(), qsizetype(text.size()));
}

// A data row's label: its number with three digits ("001").
QByteArray rowLabel(int number)
{
    return QByteArray::number(number).rightJustified(3, '0');
}

// `text` as an SQL string literal. A quote typed into the table field would
// otherwise end the literal early and turn the rest into SQL.
std::string stringLiteral(const std::string &text)
{
    std::string literal = "'";
    for (char c : text) {
        literal += c;
        if (c == '\'')
            literal += '\'';
    }
    literal += '\'';
    return literal;
}

// Marks the window busy for the life of the guard.
class BusyMark {
public:
    explicit BusyMark(TfmMain &main)
        : m_main(main)
    {
        m_main.busy = true;
    }
    ~BusyMark() { m_main.busy = false; }
    BusyMark(const BusyMark &) = delete;
    BusyMark &operator=(const BusyMark &) = delete;

private:
    TfmMain &m_main;
};

// A view's rows can only be exported: its kind locks the mode on Export.
void applyObjectKind(TfmMain &main)
{
    if (ObjKind == QLatin1String("TABLE")) {
        main.rgMode->setEnabled(true);
        return;
    }
    main.rgMode->setItemIndex(kExportMode);
    main.rgMode->setEnabled(false);
}

// The columns of `table` in column order, or nothing when the dictionary
// cannot be asked or stops answering half-way: a partial list would map the
// CSV fields to the wrong columns.
std::optional<std::vector<TableColumn>> dictionaryColumns(TOCIcur &cursor, const std::string &table)
{
    cursor.SQL = "select column_name, data_type, data_length, data_precision, data_scale "
                 "from user_tab_columns "
                 "where table_name = "
                 + stringLiteral(table) + "order by column_id";
    if (!cursor.Execute())
        return std::nullopt;
    platform::WaitCursor wait;
    std::vector<TableColumn> columns;
    while (cursor.Fetch()) {
        const std::vector<std::string> &row = cursor.Row();
        if (row.size() < 5)
            return std::nullopt;
        columns.push_back({row[0], TypeText(row[1], row[2], row[3], row[4])});
    }
    if (!cursor.atEndOfRows())
        return std::nullopt;
    return columns;
}

void emptyColumn(StringGrid &grid, int col)
{
    for (int row = 0; row < grid.RowCount(); ++row)
        grid.setCells(col, row, {});
}

// The select list of the table-data preview: the grid's columns in grid
// order, dates as text in the export's format.
std::string tableRowsQuery(TfmMain &main, const std::string &table, const std::vector<ColumnClass> &classes)
{
    const char *dateFormat = main.cbTime->isChecked() ? "'yyyy-mm-dd hh24:mi:ss'" : "'yyyy-mm-dd'";
    std::string items;
    for (size_t i = 0; i < classes.size(); ++i) {
        const QByteArray name = main.sgData->Cells(int(i) + 1, 0);
        if (i > 0)
            items += ',';
        if (classes[i] == ColumnClass::Date)
            items += "to_char(" + name.toStdString() + "," + dateFormat + ")";
        else
            items += name.toStdString();
    }
    return "select " + items + " from " + SqlTableName(table) + " where rownum <= " + std::to_string(kPreviewTableRows);
}

// Grid row `row` shows CSV line `number`: its label and as many fields as the
// grid has columns for. Cells right of the last field keep what they held.
void showCsvLine(StringGrid &grid, int row, int number, const CsvFields &fields)
{
    grid.setCells(0, row, rowLabel(number));
    const int shown = std::min(int(fields.size()), grid.ColCount() - 1);
    for (int i = 0; i < shown; ++i)
        grid.setCells(i + 1, row, bytes(fields[size_t(i)]));
}

// The separator and quote character in force from now on: the first byte of
// each field; an empty separator field means ",", an empty quote field none.
void takeCsvCharacters(TfmMain &main)
{
    const QByteArray sep = main.edSep->text().toLocal8Bit();
    const QByteArray quote = main.edDelim->text().toLocal8Bit();
    main.sepChar = sep.isEmpty() ? ',' : sep[0];
    main.quoteChar = quote.isEmpty() ? '\0' : quote[0];
}

} // namespace

bool PreviewTable(TfmMain &main, const std::string &table)
{
    if (main.busy)
        return false;
    main.tableReady = false;
    if (table.empty())
        return false;
    applyObjectKind(main);

    const std::optional<std::vector<TableColumn>> columns = dictionaryColumns(*main.OCIcur, table);
    if (!columns) {
        main.tableColumnCount = 0;
        return false;
    }
    StringGrid &grid = *main.sgData;
    if (columns->empty()) {
        // No such table or view.
        for (int col = 1; col < grid.ColCount(); ++col)
            emptyColumn(grid, col);
        grid.setColCount(2);
        main.tableColumnCount = 0;
        return false;
    }

    platform::WaitCursor wait;
    const int count = int(columns->size());
    grid.setColCount(count + 1);
    for (int i = 0; i < count; ++i) {
        grid.setCells(i + 1, 0, bytes((*columns)[size_t(i)].name));
        grid.setCells(i + 1, 1, bytes((*columns)[size_t(i)].typeText));
    }
    main.tableColumnCount = count;
    main.tableReady = true;
    if (main.rgMode->ItemIndex() == kExportMode) {
        PreviewTableRows(main, table);
        main.setStatusText(4, QStringLiteral("Table Data Preview"));
    }
    main.repaint();
    return true;
}

bool PreviewTableRows(TfmMain &main, const std::string &table)
{
    if (main.busy)
        return false;
    std::vector<ColumnClass> classes;
    if (!ClassifyColumns(main, classes, kColumnLimit)) {
        platform::showMessage(&main, columnLimitMessage(kColumnLimit), platform::MsgIcon::Error,
                              platform::MsgButtons::Ok);
        return false;
    }
    BusyMark busy(main);
    TOCIcur &cursor = *main.OCIcur;
    cursor.SQL = tableRowsQuery(main, table, classes);
    if (!cursor.Execute())
        return false;

    platform::WaitCursor wait;
    StringGrid &grid = *main.sgData;
    const int end = StringGrid::FixedRows + kPreviewTableRows;
    for (int row = StringGrid::FixedRows; row < end && cursor.Fetch(); ++row) {
        grid.setCells(0, row, rowLabel(row - StringGrid::FixedRows + 1));
        const std::vector<std::string> &values = cursor.Row();
        for (size_t i = 0; i < values.size(); ++i)
            grid.setCells(int(i) + 1, row, bytes(values[i]));
    }
    return true;
}

bool PreviewCsv(TfmMain &main, const QString &path)
{
    if (main.busy)
        return false;
    main.csvReady = false;
    takeCsvCharacters(main);
    if (main.rgMode->ItemIndex() == kExportMode)
        return true;
    if (path.isEmpty())
        return false;

    platform::WaitCursor wait;
    CsvInputStream in(platform::folderPart(path).isEmpty() ? platform::programFolder() + path : path);
    if (!in.isOpen())
        return false;
    StringGrid &grid = *main.sgData;
    std::string_view line;
    CsvFields fields;
    int mostFields = 0;
    for (int number = 1; number <= kPreviewCsvLines; ++number) {
        const bool more = ReadCsvLine(main.lineBuffer, line, in);
        if (!more && line.empty())
            break;
        SplitCsvLine(line, main.sepChar, main.quoteChar, fields);
        mostFields = std::max(mostFields, int(fields.size()));
        showCsvLine(grid, StringGrid::FixedRows + number - 1, number, fields);
        if (!more)
            break;
    }
    // A file that could not be read to the end of what the preview needs
    // counts as unread: its field count would be a guess.
    if (in.hasError())
        return false;
    main.csvReady = true;
    main.csvColumnCount = mostFields;
    main.setStatusText(4, QStringLiteral("CSV Data Preview"));
    return true;
}

bool ClassifyColumns(TfmMain &main, std::vector<ColumnClass> &classes, int limit)
{
    const StringGrid &grid = *main.sgData;
    if (grid.ColCount() - 1 > limit)
        return false;
    classes.clear();
    for (int col = 1; col < grid.ColCount(); ++col) {
        const QByteArray typeText = grid.Cells(col, 1);
        classes.push_back(ClassOfTypeText(std::string_view(typeText.constData(), size_t(typeText.size()))));
    }
    return true;
}

QString columnLimitMessage(int limit)
{
    return QStringLiteral("項目数が") + QString::number(limit) + QStringLiteral("を越えるテーブルはエクスポートできません。");
}
