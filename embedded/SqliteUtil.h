#pragma once
// Small helpers over the SQLite C API.
#include <memory>
#include <sqlite3.h>
#include <string>
#include <string_view>

namespace kdb {

struct StmtDeleter {
    void operator()(sqlite3_stmt *s) const { sqlite3_finalize(s); }
};
using StmtPtr = std::unique_ptr<sqlite3_stmt, StmtDeleter>;

// Prepares SQL of the engine's own making; throws SqlError on failure.
StmtPtr prepare(sqlite3 *db, std::string_view sql);

// Binds text (empty text included) without copying; the caller keeps it alive
// until the statement has run.
void bindStatic(sqlite3_stmt *s, int index, std::string_view text);

std::string_view columnText(sqlite3_stmt *s, int index);

// The Oracle error for a failed SQLite call: 54 for a lock that did not come
// in time, the code and detail that an engine function raised ("kdb:1722:"),
// 1114 for input/output failures, 600 for anything else.
[[noreturn]] void throwSqliteError(sqlite3 *db, int rc);

// Encodes an engine error for sqlite3_result_error, and reads it back.
std::string encodeFunctionError(int code, std::string_view detail);
bool decodeFunctionError(std::string_view message, int *code, std::string *detail);

} // namespace kdb
