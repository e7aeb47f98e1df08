#pragma once
// The engine's own record of a schema's tables, views, columns and
// constraints, kept in catalog tables inside the schema's SQLite file. User
// objects live in SQLite tables named by number ("t12", "v13") with columns
// "c1".."cn", so no name a user chooses ever appears in SQLite's SQL.
#include "Ast.h"
#include "SqlType.h"

#include <cstdint>
#include <optional>
#include <sqlite3.h>
#include <string>
#include <vector>

namespace kdb {

struct ColumnInfo {
    std::string name;
    std::string dataType; // as USER_TAB_COLUMNS shows it: VARCHAR2, NUMBER, DATE, ...
    int dataLength = 0;
    std::optional<int> precision;
    std::optional<int> scale;
    bool nullable = true;
    std::string defaultText;

    SqlType type() const;
};

struct ObjectInfo {
    int64_t id = 0;
    std::string name;
    bool view = false;
    std::vector<ColumnInfo> columns;

    std::string sqliteName() const { return (view ? "v" : "t") + std::to_string(id); }
};

struct ConstraintInfo {
    std::string name;
    char kind = 'U'; // P primary key, U unique
    std::vector<int> positions; // 1-based column positions
};

// SQLite's column name of the column at 1-based `position`.
std::string columnSqlName(int position);

// The column record of a declared type; throws SqlError for a bad one.
ColumnInfo columnFromDefinition(const sql::ColumnDef &def);

class Catalog {
public:
    Catalog(sqlite3 *db, std::string schema) : m_db(db), m_schema(std::move(schema)) {}

    // Creates the catalog tables in a new schema file.
    static void initialize(sqlite3 *db);

    const std::string &schema() const { return m_schema; }

    std::optional<ObjectInfo> find(const std::string &name) const;
    std::vector<ConstraintInfo> constraints(int64_t objectId) const;

    // Each runs inside the caller's transaction.
    void createTable(const sql::CreateTableStmt &stmt);
    void createView(const std::string &name, const std::vector<ColumnInfo> &columns,
                    const std::string &text, const std::string &selectSql);
    void drop(const ObjectInfo &object);

private:
    std::string nextConstraintName();
    void insertObject(const std::string &name, const char *kind, const std::string &text, int64_t *id);
    void insertColumns(int64_t id, const std::vector<ColumnInfo> &columns);

    sqlite3 *m_db;
    std::string m_schema;
};

// Runs SQL text of the engine's own making; throws SqlError on failure.
void execSql(sqlite3 *db, const std::string &sql);

// SQLite's identifier quoting of a name of the engine's own making.
std::string quoteSqlText(std::string_view text);

} // namespace kdb
