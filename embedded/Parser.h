#pragma once
// The recursive-descent parser of the engine's SQL: one statement per text.
#include "Ast.h"

#include <string_view>

namespace kdb::sql {

// Parses exactly one statement. Throws SqlError with Oracle's number for the
// first fault: 900 unknown statement, 933 text after the statement, 911 a
// ";" or other stray character, 936 missing expression, 923 FROM missing,
// 907 missing ")", and so on.
Statement parseStatement(std::string_view text);

// Parses a lone expression, such as a column's stored DEFAULT text.
ExprPtr parseExpression(std::string_view text);

// True for Oracle's reserved words, which cannot name a table, column or
// alias unless quoted.
bool isReservedWord(std::string_view word);

} // namespace kdb::sql
