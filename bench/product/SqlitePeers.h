#pragma once
// What a user would pick instead of the program, on the same file and an
// equivalent SQLite table.
#include "bench/common/Measure.h"

#include <string>

namespace bench {

// The sqlite3 command's `.import` of `csv` into a fresh database `db`
// holding the table (created before the clock starts). Fails unless `rows`
// rows were stored.
Timing sqliteCommandImport(const std::string &db, const std::string &csv, long rows);
// The sqlite3 command's CSV output of the table of `db` into `output`.
Timing sqliteCommandExport(const std::string &db, const std::string &output);
// The limit for an engine on SQLite: the file read and split by a plain
// loop, one prepared INSERT with six text binds, step and reset per line,
// in one transaction, into a fresh database `db`. Fails unless `rows` rows
// were stored.
Timing sqliteApiImport(const std::string &db, const std::string &csv, long rows);

} // namespace bench
