#include "Catalog.h"

#include "SqlError.h"
#include "SqliteUtil.h"

#include <algorithm>
#include <cstdio>

namespace kdb {

namespace {

constexpr int kMaxVarchar2 = 4000;
constexpr int kMaxChar = 2000;
constexpr int kMaxColumns = 1000;

std::optional<int> optionalInt(sqlite3_stmt *s, int i)
{
    if (sqlite3_column_type(s, i) == SQLITE_NULL)
        return std::nullopt;
    return sqlite3_column_int(s, i);
}

void bindOptional(sqlite3_stmt *s, int i, const std::optional<int> &v)
{
    if (v)
        sqlite3_bind_int(s, i, *v);
    else
        sqlite3_bind_null(s, i);
}

void stepDone(sqlite3 *db, sqlite3_stmt *s)
{
    const int rc = sqlite3_step(s);
    if (rc != SQLITE_DONE)
        throwSqliteError(db, rc);
}

int positionOf(const std::vector<sql::ColumnDef> &columns, const std::string &name)
{
    for (size_t i = 0; i < columns.size(); ++i)
        if (columns[i].name == name)
            return int(i) + 1;
    throw SqlError(ora::kInvalidIdentifier, "\"" + name + "\"");
}

} // namespace

std::string columnSqlName(int position)
{
    return "c" + std::to_string(position);
}

std::string quoteSqlText(std::string_view text)
{
    std::string out = "'";
    for (char c : text) {
        if (c == '\'')
            out += '\'';
        out += c;
    }
    out += '\'';
    return out;
}

void execSql(sqlite3 *db, const std::string &sql)
{
    const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        throwSqliteError(db, rc);
}

SqlType ColumnInfo::type() const
{
    if (dataType == "NUMBER")
        return SqlType::number(precision ? *precision : (scale ? 38 : 0), scale ? *scale : -127);
    if (dataType == "CHAR")
        return {kChar, dataLength, 0, 0};
    if (dataType == "DATE")
        return SqlType::date();
    if (dataType == "LONG")
        return {kLong, 0, 0, 0};
    if (dataType == "RAW")
        return {kRaw, dataLength, 0, 0};
    if (dataType.rfind("TIMESTAMP", 0) == 0)
        return {kTimestamp, 11, 0, 0};
    return SqlType::varchar2(dataLength);
}

ColumnInfo columnFromDefinition(const sql::ColumnDef &def)
{
    ColumnInfo c;
    c.name = def.name;
    c.defaultText = def.defaultText;
    const sql::TypeSpec &t = def.type;
    c.dataType = t.name;
    if (t.name == "VARCHAR2" || t.name == "CHAR" || t.name == "RAW") {
        const int length = t.length.value_or(1);
        const int max = t.name == "VARCHAR2" ? kMaxVarchar2 : kMaxChar;
        if (length <= 0)
            throw SqlError(ora::kZeroLength);
        if (length > max)
            throw SqlError(ora::kLengthTooLong);
        c.dataLength = length;
    } else if (t.name == "NUMBER") {
        c.dataLength = 22;
        if (t.precision && (*t.precision < 1 || *t.precision > 38))
            throw SqlError(ora::kPrecisionRange);
        if (t.scale && (*t.scale < -84 || *t.scale > 127))
            throw SqlError(ora::kScaleRange);
        c.precision = t.precision;
        c.scale = t.scale;
        if (t.precision && !t.scale)
            c.scale = 0;
    } else if (t.name == "DATE") {
        c.dataLength = 7;
    } else if (t.name == "LONG") {
        c.dataLength = 0;
    } else if (t.name == "TIMESTAMP") {
        const int digits = t.length.value_or(6);
        if (digits < 0 || digits > 9)
            throw SqlError(30088); // datetime/interval precision is out of range
        c.dataType = "TIMESTAMP(" + std::to_string(digits) + ")";
        c.dataLength = 11;
        c.scale = digits;
    } else {
        throw SqlError(ora::kInvalidDatatype);
    }
    return c;
}

void Catalog::initialize(sqlite3 *db)
{
    execSql(db,
            "CREATE TABLE kdb_meta(key TEXT PRIMARY KEY, value TEXT NOT NULL);"
            "CREATE TABLE kdb_user(name TEXT NOT NULL, hash TEXT NOT NULL);"
            "CREATE TABLE kdb_objects(id INTEGER PRIMARY KEY, name TEXT NOT NULL UNIQUE,"
            " kind TEXT NOT NULL, text TEXT);"
            "CREATE TABLE kdb_columns(object_id INTEGER NOT NULL, position INTEGER NOT NULL,"
            " name TEXT NOT NULL, data_type TEXT NOT NULL, data_length INTEGER NOT NULL,"
            " data_precision INTEGER, data_scale INTEGER, nullable TEXT NOT NULL, default_text TEXT,"
            " PRIMARY KEY(object_id, position));"
            "CREATE TABLE kdb_constraints(name TEXT PRIMARY KEY, object_id INTEGER NOT NULL,"
            " kind TEXT NOT NULL, columns TEXT NOT NULL);"
            "INSERT INTO kdb_meta VALUES('format', '1'), ('next_constraint', '1');");
}

std::optional<ObjectInfo> Catalog::find(const std::string &name) const
{
    StmtPtr s = prepare(m_db, "SELECT id, kind FROM kdb_objects WHERE name = ?1");
    bindStatic(s.get(), 1, name);
    if (sqlite3_step(s.get()) != SQLITE_ROW)
        return std::nullopt;
    ObjectInfo o;
    o.id = sqlite3_column_int64(s.get(), 0);
    o.name = name;
    o.view = columnText(s.get(), 1) == "VIEW";
    StmtPtr c = prepare(m_db,
                        "SELECT name, data_type, data_length, data_precision, data_scale, nullable,"
                        " default_text FROM kdb_columns WHERE object_id = ?1 ORDER BY position");
    sqlite3_bind_int64(c.get(), 1, o.id);
    while (sqlite3_step(c.get()) == SQLITE_ROW) {
        ColumnInfo col;
        col.name.assign(columnText(c.get(), 0));
        col.dataType.assign(columnText(c.get(), 1));
        col.dataLength = sqlite3_column_int(c.get(), 2);
        col.precision = optionalInt(c.get(), 3);
        col.scale = optionalInt(c.get(), 4);
        col.nullable = columnText(c.get(), 5) == "Y";
        col.defaultText.assign(columnText(c.get(), 6));
        o.columns.push_back(std::move(col));
    }
    return o;
}

std::vector<ConstraintInfo> Catalog::constraints(int64_t objectId) const
{
    std::vector<ConstraintInfo> out;
    StmtPtr s = prepare(m_db, "SELECT name, kind, columns FROM kdb_constraints WHERE object_id = ?1");
    sqlite3_bind_int64(s.get(), 1, objectId);
    while (sqlite3_step(s.get()) == SQLITE_ROW) {
        ConstraintInfo c;
        c.name.assign(columnText(s.get(), 0));
        c.kind = columnText(s.get(), 1).empty() ? 'U' : columnText(s.get(), 1)[0];
        std::string_view list = columnText(s.get(), 2);
        while (!list.empty()) {
            const auto comma = list.find(',');
            c.positions.push_back(std::stoi(std::string(list.substr(0, comma))));
            list = comma == std::string_view::npos ? std::string_view() : list.substr(comma + 1);
        }
        out.push_back(std::move(c));
    }
    return out;
}

std::string Catalog::nextConstraintName()
{
    StmtPtr s = prepare(m_db, "SELECT value FROM kdb_meta WHERE key = 'next_constraint'");
    int next = 1;
    if (sqlite3_step(s.get()) == SQLITE_ROW)
        next = sqlite3_column_int(s.get(), 0);
    execSql(m_db, "UPDATE kdb_meta SET value = '" + std::to_string(next + 1) + "' WHERE key = 'next_constraint'");
    char name[32];
    std::snprintf(name, sizeof name, "SYS_C%06d", next);
    return name;
}

void Catalog::insertObject(const std::string &name, const char *kind, const std::string &text, int64_t *id)
{
    if (find(name))
        throw SqlError(ora::kNameInUse);
    StmtPtr s = prepare(m_db, "INSERT INTO kdb_objects(name, kind, text) VALUES(?1, ?2, ?3)");
    bindStatic(s.get(), 1, name);
    bindStatic(s.get(), 2, kind);
    if (text.empty())
        sqlite3_bind_null(s.get(), 3);
    else
        bindStatic(s.get(), 3, text);
    stepDone(m_db, s.get());
    *id = sqlite3_last_insert_rowid(m_db);
}

void Catalog::insertColumns(int64_t id, const std::vector<ColumnInfo> &columns)
{
    StmtPtr s = prepare(m_db,
                        "INSERT INTO kdb_columns(object_id, position, name, data_type, data_length,"
                        " data_precision, data_scale, nullable, default_text)"
                        " VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9)");
    for (size_t i = 0; i < columns.size(); ++i) {
        const ColumnInfo &c = columns[i];
        sqlite3_reset(s.get());
        sqlite3_bind_int64(s.get(), 1, id);
        sqlite3_bind_int(s.get(), 2, int(i) + 1);
        bindStatic(s.get(), 3, c.name);
        bindStatic(s.get(), 4, c.dataType);
        sqlite3_bind_int(s.get(), 5, c.dataLength);
        bindOptional(s.get(), 6, c.precision);
        bindOptional(s.get(), 7, c.scale);
        bindStatic(s.get(), 8, c.nullable ? "Y" : "N");
        if (c.defaultText.empty())
            sqlite3_bind_null(s.get(), 9);
        else
            bindStatic(s.get(), 9, c.defaultText);
        stepDone(m_db, s.get());
    }
}

void Catalog::createTable(const sql::CreateTableStmt &stmt)
{
    if (stmt.columns.empty())
        throw SqlError(ora::kInvalidIdentifier);
    if (stmt.columns.size() > size_t(kMaxColumns))
        throw SqlError(ora::kTooManyColumns);
    std::vector<ColumnInfo> columns;
    for (const auto &def : stmt.columns) {
        for (const auto &seen : columns)
            if (seen.name == def.name)
                throw SqlError(ora::kDuplicateColumn);
        columns.push_back(columnFromDefinition(def));
    }

    // Keys first: a primary key makes its columns NOT NULL.
    struct Key {
        std::string name;
        char kind;
        std::vector<int> positions;
    };
    std::vector<Key> keys;
    bool hasPrimary = false;
    for (const auto &con : stmt.constraints) {
        std::vector<int> positions;
        for (const auto &col : con.columns) {
            const int p = positionOf(stmt.columns, col);
            if (std::find(positions.begin(), positions.end(), p) != positions.end())
                throw SqlError(ora::kDuplicateColumn);
            positions.push_back(p);
        }
        if (con.kind == sql::ConstraintKind::NotNull) {
            for (int p : positions)
                columns[size_t(p - 1)].nullable = false;
            continue;
        }
        if (con.kind == sql::ConstraintKind::PrimaryKey) {
            if (hasPrimary)
                throw SqlError(ora::kOnePrimaryKey);
            hasPrimary = true;
            for (int p : positions)
                columns[size_t(p - 1)].nullable = false;
        }
        std::vector<int> sorted = positions;
        std::sort(sorted.begin(), sorted.end());
        for (const auto &k : keys) {
            std::vector<int> other = k.positions;
            std::sort(other.begin(), other.end());
            if (other == sorted)
                throw SqlError(ora::kKeyExists);
        }
        keys.push_back({con.name, con.kind == sql::ConstraintKind::PrimaryKey ? 'P' : 'U', positions});
    }

    int64_t id = 0;
    insertObject(stmt.name, "TABLE", {}, &id);
    insertColumns(id, columns);

    std::string ddl = "CREATE TABLE t" + std::to_string(id) + "(";
    for (size_t i = 0; i < columns.size(); ++i) {
        if (i)
            ddl += ", ";
        ddl += columnSqlName(int(i) + 1);
        if (!columns[i].nullable)
            ddl += " NOT NULL";
    }
    StmtPtr addConstraint = prepare(m_db, "INSERT INTO kdb_constraints(name, object_id, kind, columns) VALUES(?1, ?2, ?3, ?4)");
    for (auto &k : keys) {
        if (k.name.empty())
            k.name = nextConstraintName();
        std::string list;
        ddl += k.kind == 'P' ? ", PRIMARY KEY(" : ", UNIQUE(";
        for (size_t i = 0; i < k.positions.size(); ++i) {
            if (i) {
                ddl += ", ";
                list += ',';
            }
            ddl += columnSqlName(k.positions[i]);
            list += std::to_string(k.positions[i]);
        }
        ddl += ")";
        sqlite3_reset(addConstraint.get());
        bindStatic(addConstraint.get(), 1, k.name);
        sqlite3_bind_int64(addConstraint.get(), 2, id);
        bindStatic(addConstraint.get(), 3, k.kind == 'P' ? "P" : "U");
        bindStatic(addConstraint.get(), 4, list);
        const int rc = sqlite3_step(addConstraint.get());
        if ((rc & 0xff) == SQLITE_CONSTRAINT)
            throw SqlError(ora::kConstraintNameInUse);
        if (rc != SQLITE_DONE)
            throwSqliteError(m_db, rc);
    }
    ddl += ")";
    // With a primary key the rows are stored in its order: one b-tree to
    // write and search instead of a table plus an index beside it.
    if (std::any_of(keys.begin(), keys.end(), [](const auto &k) { return k.kind == 'P'; }))
        ddl += " WITHOUT ROWID";
    execSql(m_db, ddl);
}

void Catalog::createView(const std::string &name, const std::vector<ColumnInfo> &columns,
                         const std::string &text, const std::string &selectSql)
{
    int64_t id = 0;
    insertObject(name, "VIEW", text, &id);
    insertColumns(id, columns);
    std::string ddl = "CREATE VIEW v" + std::to_string(id) + "(";
    for (size_t i = 0; i < columns.size(); ++i)
        ddl += (i ? ", " : "") + columnSqlName(int(i) + 1);
    ddl += ") AS " + selectSql;
    execSql(m_db, ddl);
}

void Catalog::drop(const ObjectInfo &object)
{
    execSql(m_db, std::string(object.view ? "DROP VIEW " : "DROP TABLE ") + object.sqliteName());
    const std::string id = std::to_string(object.id);
    execSql(m_db, "DELETE FROM kdb_columns WHERE object_id = " + id + ";"
                  "DELETE FROM kdb_constraints WHERE object_id = " + id + ";"
                  "DELETE FROM kdb_objects WHERE id = " + id + ";");
}

} // namespace kdb
