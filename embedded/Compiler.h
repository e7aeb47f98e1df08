#pragma once
// Turns parsed SELECT, UPDATE and DELETE statements and view definitions into
// SQLite SQL plus what describe reports.
#include "Ast.h"
#include "Catalog.h"
#include "Translator.h"

#include <string>
#include <vector>

namespace kdb {

struct OutputColumn {
    std::string name;
    SqlType type;
    bool nullable = true;
    bool unnamedExpression = false; // an expression without an alias
    // 'text' || value || 'text' with a text value: SQLite fetches the value
    // alone and the cursor puts the two texts around it (NULL counting as
    // empty, as in the concatenation).
    bool wrapped = false;
    std::string prefix, suffix;
};

struct SelectPlan {
    std::string sql;
    std::vector<OutputColumn> columns;
    std::string viewName; // the view queried, if FROM names one
};

struct DmlPlan {
    std::string sql;
    ObjectInfo object;
};

// `wrapAtFetch`: a query the cursor fetches itself (not a view's text) may
// leave its quoted items to the cursor (OutputColumn::wrapped).
SelectPlan compileSelect(const Catalog &catalog, const sql::SelectStmt &stmt, BindNames *binds,
                         bool wrapAtFetch = false);
DmlPlan compileUpdate(const Catalog &catalog, const sql::UpdateStmt &stmt, BindNames *binds);
DmlPlan compileDelete(const Catalog &catalog, const sql::DeleteStmt &stmt, BindNames *binds);

// The table a statement writes to: 942 when unknown, 1732 for a view, 1031
// for the dictionary.
ObjectInfo writableTable(const Catalog &catalog, const std::string &name);

// The catalog columns of a view over `plan`, named by `names` or by the
// select list (998 for an expression without an alias, 957 for a repeat).
std::vector<ColumnInfo> viewColumns(const SelectPlan &plan, const std::vector<std::string> &names);

} // namespace kdb
