#pragma once
// Semantic analysis and translation of expressions and conditions into
// SQLite SQL over the stored forms (Storage.cpp). Every name is resolved
// against the catalog and written as SQLite's own column name; every literal
// is re-written by us, so no text of the statement reaches SQLite as written.
#include "Ast.h"
#include "Catalog.h"
#include "SqlType.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace kdb {

// The placeholders of a statement in order of first use; placeholder i is
// SQLite parameter base + i.
struct BindNames {
    std::vector<std::string> names;
    int base = 1;
    int parameter(const std::string &name);
};

struct SourceColumn {
    std::string name;
    SqlType type;
    bool nullable = true;
};

// What a FROM clause names: a table, a view, a dictionary view or DUAL.
struct Source {
    std::string from;      // SQLite FROM item, without alias
    std::string qualifier; // the Oracle name a column may be qualified with
    std::vector<SourceColumn> columns;
    std::optional<ObjectInfo> object; // the user's table or view
};

// Resolves a name in FROM: the user's own objects first, then the dictionary
// views and DUAL. 942 when nothing has that name.
Source resolveSource(const Catalog &catalog, const sql::TableRef &ref);

struct Translated {
    std::string sql;
    SqlType type;
    bool nullable = true;
    bool aggregate = false;   // contains COUNT
    bool usesColumns = false; // refers to a column outside an aggregate
};

class Translator {
public:
    Translator(const Catalog &catalog, const Source *source, BindNames *binds)
        : m_catalog(catalog), m_source(source), m_binds(binds) {}

    // Select-list aliases that ORDER BY may name.
    void setAliases(const std::map<std::string, Translated> *aliases) { m_aliases = aliases; }
    // Where a column may not appear (a DEFAULT): 984.
    void forbidColumns() { m_noColumns = true; }

    Translated expr(const sql::Expr &e);
    std::string condition(const sql::Expr &e);

    static std::string asNumber(const Translated &t);
    static std::string asText(const Translated &t);
    static std::string asDate(const Translated &t);

private:
    Translated column(const sql::Expr &e);
    Translated literal(const sql::Expr &e);
    Translated arithmetic(const sql::Expr &e);
    Translated concat(const sql::Expr &e);
    Translated function(const sql::Expr &e);
    std::string compare(const sql::Expr &e);
    std::string inList(const sql::Expr &e);
    std::string between(const sql::Expr &e);

    const Catalog &m_catalog;
    const Source *m_source;
    BindNames *m_binds;
    const std::map<std::string, Translated> *m_aliases = nullptr;
    bool m_noColumns = false;
};

// The converted form of a stored value of type `from` for the target column,
// checked: kdb_fit(...) around `sql`.
std::string fitSql(const std::string &sql, int from, const SqlType &target, bool nullable,
                   const std::string &quotedName, bool update);

// "SCHEMA"."TABLE"."COLUMN"
std::string quotedColumnName(const std::string &schema, const std::string &table, const std::string &column);

} // namespace kdb
