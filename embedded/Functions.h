#pragma once
// The engine's SQL functions inside SQLite. The translator writes calls to
// them wherever Oracle's semantics differ from SQLite's: NUMBER arithmetic on
// stored keys, date conversion and arithmetic, LIKE without case folding,
// SUBSTR, and the checks a value passes on its way into a column.
#include <sqlite3.h>

namespace kdb {

// Registers every function on a connection. `schema` is what USER returns.
void registerFunctions(sqlite3 *db);

} // namespace kdb
