#pragma once
// The export's query. The database does the formatting: text and date items
// already carry the quote characters, and dates come as text in the form the
// import's INSERT reads back, so the program only joins the values.
#include "transfer/ColumnTypes.h"

#include <string>
#include <vector>

// The text put around text and date values: the quote character itself, two
// single quotes for the single quote (it stands inside SQL string literals),
// nothing when there is no quote character ('\0').
std::string QuoteText(char quoteChar);

// "select <items> from <table>": one item per column, in the given order,
// joined by "," without spaces. `names` and `classes` run in parallel; names
// and the table name go into the text as they stand.
//   number:              NAME
//   date:                '<q>' || to_char(NAME,'yyyy-mm-dd') || '<q>'
//                        (with ' hh24:mi:ss' in the format when `withTime`)
//   text, long, other:   '<q>'||NAME||'<q>'
std::string ExportSelect(const std::string &table, const std::vector<std::string> &names,
                         const std::vector<ColumnClass> &classes, char quoteChar, bool withTime);
