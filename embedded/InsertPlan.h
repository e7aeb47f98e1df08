#pragma once
// INSERT ... VALUES, prepared once and run per execution with as little work
// as possible: values that are plain binds, TO_DATE(bind, 'format') or
// literals are converted and checked here, without heap allocation, and
// bound to SQLite; anything else is evaluated by SQLite inside the engine's
// check function.
#include "Ast.h"
#include "Binds.h"
#include "Catalog.h"
#include "Storage.h"
#include "Translator.h"

#include <sqlite3.h>
#include <string>
#include <vector>

namespace kdb {

struct InsertColumn {
    enum class Source { Null, Bind, BindDate, Constant, Expression };
    store::ColumnTarget target;
    Source source = Source::Null;
    int slot = -1;           // Bind, BindDate: the bind slot
    std::string format;      // BindDate
    bool isoFormat = false;  // BindDate with 'YYYY-MM-DD HH24:MI:SS', the storage form itself
    int constantType = 0;    // Constant: type code of the stored constant
    std::string constant;
    std::string scratch;     // conversion buffer, reused per execution
    char date[store::kDateLength] = {};
};

struct InsertPlan {
    ObjectInfo object;
    std::string sql;
    std::vector<InsertColumn> columns;
    int bindBase = 1; // SQLite parameter of bind slot 0 inside expressions
};

InsertPlan compileInsert(const Catalog &catalog, const sql::InsertStmt &stmt, BindNames *binds);

// Binds the values of one execution to `stmt`; throws SqlError for a value
// the column refuses.
void bindInsertValues(InsertPlan &plan, std::vector<BindSlot> &slots, sqlite3_stmt *stmt);

} // namespace kdb
