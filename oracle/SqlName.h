#pragma once
// A table name as it goes into the text of a statement.
#include <string>

// `name` (bytes, exactly as the dictionary holds it) as SQL text that names
// that one table: a plain identifier (A-Z first, then A-Z, 0-9, _, $, #;
// bytes of a double-byte code page count as letters) stays as it is, and
// anything else is quoted. Quoting makes the name one identifier, so that
// semicolons, comment marks or spaces in it can never turn into SQL of
// their own and a table called "/* */ STAFF" is never taken for STAFF.
std::string SqlTableName(const std::string &name);
