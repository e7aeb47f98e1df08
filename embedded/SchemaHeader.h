#pragma once
// Telling the engine's schema files from other files without opening them
// with SQLite.
#include <string>

namespace kdb::db {

// True when the file at `path` begins as every schema file the engine makes
// does: a SQLite database header in WAL mode. Only reads the header, so a
// file that fails the test is left exactly as it was; opening it with SQLite
// would not be harmless, since switching a session's file to WAL rewrites
// the header of a foreign database and writes one into an empty file.
bool hasSchemaHeader(const std::string &path);

} // namespace kdb::db
