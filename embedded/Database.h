#pragma once
// Database folders and schema files: one SQLite file per user in the folder
// a connect string names.
#include <sqlite3.h>
#include <string>
#include <string_view>

namespace kdb::db {

// The file of `user` (already normalised) in `folder`. Names are kept
// readable; bytes outside [A-Z0-9_$#] are written as %XX so that any quoted
// name is a safe file name.
std::string schemaFile(const std::string &folder, const std::string &user);

// Creates the folder and its missing parents with mode 0700.
bool makeFolder(const std::string &folder);

// Opens an existing schema file for a session: WAL, a busy timeout, defensive
// settings, no attached databases, the engine's functions. Null when the file
// does not exist or cannot be opened.
sqlite3 *openSchema(const std::string &path);

// Creates a new schema file with mode 0600 and opens it; null when it exists.
sqlite3 *createSchema(const std::string &path);

void closeSchema(sqlite3 *db);

// The page size of the main database of `db`; 0 when it cannot be read.
int pageSize(sqlite3 *db);

// A commit checkpoints once the WAL holds about this much.
inline constexpr int kCheckpointBytes = 4 << 20;

// How long a writer waits for another before it gives up with 54: five
// seconds unless changed (tests shorten it).
int busyTimeout();
void setBusyTimeout(int milliseconds);

} // namespace kdb::db
