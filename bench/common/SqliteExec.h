#pragma once
// Runs SQL on a plain SQLite connection for the benchmarks' SQLite sides.
#include "bench/common/Measure.h"

#include <sqlite3.h>

#include <string>

namespace bench {

// Runs `sql`; the benchmark fails with SQLite's message otherwise.
inline void sqliteExec(sqlite3 *db, const char *sql)
{
    char *error = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &error) != SQLITE_OK) {
        std::string text = error ? error : "unknown error";
        sqlite3_free(error);
        fail(std::string(sql) + ": " + text);
    }
}

} // namespace bench
