#pragma once
// The benchmark's data: a deterministic CSV file and the table it fits.
#include <string>

namespace bench {

// The table the file's lines fit, for the product's engine.
inline constexpr const char *kProductTable =
    "CREATE TABLE BENCH_ROWS (ID NUMBER(10) PRIMARY KEY, NAME VARCHAR2(20), AMOUNT NUMBER(10,2), "
    "CREATED DATE, CODE CHAR(3), NOTE VARCHAR2(40))";
// The same table for SQLite itself.
inline constexpr const char *kSqliteTable =
    "CREATE TABLE BENCH_ROWS (ID INTEGER PRIMARY KEY, NAME TEXT, AMOUNT NUMERIC, CREATED TEXT, CODE TEXT, "
    "NOTE TEXT)";
inline constexpr const char *kTableName = "BENCH_ROWS";

// Writes `rows` lines of six fields to `path`, the same bytes for the same
// count every time: an id; a quoted name of 8 to 20 letters; an amount with
// two decimals and up to 8 integer digits; a quoted "YYYY-MM-DD HH:MM:SS";
// a quoted 3-letter code; a quoted note of 0 to 40 characters, a fifth of
// them empty, some with commas. CR LF line ends, no header.
void writeCsvFile(const std::string &path, long rows);

} // namespace bench
