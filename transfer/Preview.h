#pragma once
// The previews: the main window's grid shows a table's column names and type
// texts in its two fixed rows, and under them either the table's first rows
// (Export mode) or a CSV file's first lines (Import mode). The grid's column
// order, as the person drags it, is the mapping of every transfer.
//
// The previews set the state the run control checks before a transfer
// (tableReady, tableColumnCount, csvReady, csvColumnCount, sepChar,
// quoteChar) and tell no failure to the person except the column limit: a
// table that cannot be queried or a file that cannot be read only leaves the
// ready flag cleared.
//
// While a transfer runs (main.busy) the grid is its mapping: every preview
// then refuses at once, returning false and touching nothing. The run control
// previews before it starts a transfer, never during one.
#include "transfer/ColumnTypes.h"

#include <QString>
#include <string>
#include <vector>

class TfmMain;

// Grid columns besides the line-number column that a table may have for its
// rows to be previewed or exported; exactly this many is allowed.
inline constexpr int kColumnLimit = 1000;
// Table rows the table-data preview shows, and lines the CSV preview reads.
inline constexpr int kPreviewTableRows = 30;
inline constexpr int kPreviewCsvLines = 32;

// Writes the columns of `table` (bytes, as the dictionary stores the name)
// into the grid's rows 0 and 1, in the table's column order, and sizes the
// grid to them; in Export mode shows the first rows too. A view switches the
// mode to Export and locks it there (ObjKind "VIEW"); a table unlocks it.
// True when the table has at least one column.
bool PreviewTable(TfmMain &main, const std::string &table);

// Shows the first rows of `table` under the grid's columns, in grid order.
// False, after an error box, when the grid has more columns than the limit;
// false without a word when the query cannot run.
bool PreviewTableRows(TfmMain &main, const std::string &table);

// Takes the separator and quote character from the window's fields; in
// Import mode then shows the first lines of the file at `path` (a bare file
// name is looked for in the program's folder). True when the file was read,
// and at once in Export mode.
bool PreviewCsv(TfmMain &main, const QString &path);

// One class per grid column 1 to last, in grid order, by its type text.
// False, with `classes` untouched, when the grid has more than `limit`
// columns besides the line-number column.
bool ClassifyColumns(TfmMain &main, std::vector<ColumnClass> &classes, int limit);

// "項目数が1000を越えるテーブルはエクスポートできません。" for the limit 1000.
QString columnLimitMessage(int limit);
