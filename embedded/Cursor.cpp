#include "Cursor.h"

#include "Parser.h"
#include "Session.h"
#include "SqlError.h"
#include "Storage.h"

#include <algorithm>
#include <cstring>

namespace kdb {

using sql::StatementKind;

void Cursor::reset()
{
    m_stmt.reset();
    m_statement.reset();
    m_select = SelectPlan();
    m_insert = InsertPlan();
    m_binds.clear();
    m_defines.clear();
    m_scratch.clear();
    m_parsed = false;
    m_state = State::Parsed;
    m_rows = 0;
    m_functionType = 0;
}

void Cursor::cancel()
{
    if (m_stmt)
        sqlite3_reset(m_stmt.get());
    m_state = State::Finished;
}

void Cursor::parse(std::string_view text)
{
    reset();
    auto st = std::make_unique<sql::Statement>(sql::parseStatement(text));
    m_kind = st->kind;
    // A session reaches its own schema only.
    for (const auto &schema : st->schemas)
        if (schema != m_session->schema())
            throw SqlError(ora::kNoTable);
    m_text.assign(text);
    BindNames names;
    Catalog &catalog = m_session->catalog();
    switch (m_kind) {
    case StatementKind::Select:
        m_select = compileSelect(catalog, *st->select, &names, true);
        try {
            m_stmt = prepare(m_session->db(), m_select.sql);
        } catch (const SqlError &e) {
            // A view whose table was dropped or changed no longer compiles.
            if (e.code() == ora::kInternal && !m_select.viewName.empty())
                throw SqlError(ora::kViewHasErrors, "view \"" + m_session->schema() + "." + m_select.viewName + "\"");
            throw;
        }
        m_scratch.resize(m_select.columns.size());
        m_defines.resize(m_select.columns.size());
        m_functionType = OCI_FT_SELECT;
        break;
    case StatementKind::Insert:
        m_insert = compileInsert(catalog, *st->insert, &names);
        m_target = m_insert.object;
        m_stmt = prepare(m_session->db(), m_insert.sql);
        m_functionType = OCI_FT_INSERT;
        break;
    case StatementKind::Update: {
        DmlPlan plan = compileUpdate(catalog, *st->update, &names);
        m_target = plan.object;
        m_stmt = prepare(m_session->db(), plan.sql);
        m_functionType = OCI_FT_UPDATE;
        break;
    }
    case StatementKind::Delete: {
        DmlPlan plan = compileDelete(catalog, *st->remove, &names);
        m_target = plan.object;
        m_stmt = prepare(m_session->db(), plan.sql);
        m_functionType = OCI_FT_DELETE;
        break;
    }
    default:
        break;
    }
    for (const auto &n : names.names)
        {
        BindSlot slot;
        slot.name = n;
        if (!n.empty() && n.size() < 10 && n.find_first_not_of("0123456789") == std::string::npos)
            slot.number = std::stoi(n);
        m_binds.push_back(std::move(slot));
    }
    m_statement = std::move(st);
    m_parsed = true;
}

void Cursor::checkBind(const BindValue &value) const
{
    if (!m_parsed)
        throw SqlError(ora::kNoStatement);
    if (!supportedExternalType(value.type))
        throw SqlError(ora::kUnsupportedType);
}

void Cursor::bind(std::string_view name, const BindValue &value)
{
    checkBind(value);
    for (auto &slot : m_binds) {
        if (slot.name == name) {
            slot.bound = value;
            slot.isBound = true;
            return;
        }
    }
    throw SqlError(ora::kBadBindName);
}

void Cursor::bindNumber(int number, const BindValue &value)
{
    checkBind(value);
    for (auto &slot : m_binds) {
        if (slot.number == number) {
            slot.bound = value;
            slot.isBound = true;
            return;
        }
    }
    throw SqlError(ora::kBadBindName);
}

void Cursor::define(int position, const Define &d)
{
    if (!m_parsed)
        throw SqlError(ora::kNoStatement);
    if (m_kind != StatementKind::Select || position < 1 || size_t(position) > m_defines.size())
        throw SqlError(ora::kNotInSelectList);
    if (!supportedExternalType(d.type))
        throw SqlError(ora::kUnsupportedType);
    if (!d.buffer && d.length > 0)
        throw SqlError(ora::kMissingParameter);
    m_defines[size_t(position - 1)] = d;
    m_defines[size_t(position - 1)].set = true;
}

const OutputColumn &Cursor::describe(int position) const
{
    if (!m_parsed)
        throw SqlError(ora::kNoStatement);
    if (m_kind != StatementKind::Select || position < 1 || size_t(position) > m_select.columns.size())
        throw SqlError(ora::kNotInSelectList);
    return m_select.columns[size_t(position - 1)];
}

void Cursor::bindSqlParameters(bool copy)
{
    sqlite3_stmt *s = m_stmt.get();
    for (size_t i = 0; i < m_binds.size(); ++i) {
        std::string_view text;
        if (!bindText(m_binds[i], &text))
            sqlite3_bind_null(s, int(i) + 1);
        else
            sqlite3_bind_text(s, int(i) + 1, text.data(), int(text.size()), copy ? SQLITE_TRANSIENT : SQLITE_STATIC);
    }
}

uint32_t Cursor::execute()
{
    if (!m_parsed)
        throw SqlError(ora::kNoStatement);
    for (const auto &slot : m_binds)
        if (!slot.isBound)
            throw SqlError(ora::kNotAllBound);
    m_rows = 0;
    switch (m_kind) {
    case StatementKind::Select:
        sqlite3_reset(m_stmt.get());
        // The caller may change its buffers before fetching: SQLite copies.
        bindSqlParameters(true);
        m_state = State::Executed;
        return 0;
    case StatementKind::Insert:
    case StatementKind::Update:
    case StatementKind::Delete:
        return executeWrite();
    case StatementKind::Commit:
        m_session->commit();
        return 0;
    case StatementKind::Rollback:
        m_session->rollback();
        return 0;
    default:
        executeDefinition();
        return 0;
    }
}

uint32_t Cursor::executeWrite()
{
    sqlite3_stmt *s = m_stmt.get();
    sqlite3_reset(s);
    if (m_kind == StatementKind::Insert)
        bindInsertValues(m_insert, m_binds, s);
    else
        bindSqlParameters(false);
    m_session->beginWrite();
    const int rc = sqlite3_step(s);
    if (rc != SQLITE_DONE) {
        sqlite3_reset(s);
        throwWriteError(rc, m_kind == StatementKind::Update);
    }
    m_rows = uint32_t(sqlite3_changes(m_session->db()));
    sqlite3_reset(s);
    m_session->statementDone();
    return m_rows;
}

void Cursor::throwWriteError(int rc, bool update)
{
    sqlite3 *db = m_session->db();
    const std::string message = sqlite3_errmsg(db);
    if (m_session->autoCommit())
        m_session->commit();
    // SQLite names the columns as "t12.c3, t12.c4".
    std::vector<int> positions;
    for (size_t p = message.find(".c"); p != std::string::npos; p = message.find(".c", p + 2))
        positions.push_back(std::atoi(message.c_str() + p + 2));
    const std::string &schema = m_session->schema();
    if (rc == SQLITE_CONSTRAINT_UNIQUE || rc == SQLITE_CONSTRAINT_PRIMARYKEY) {
        std::sort(positions.begin(), positions.end());
        for (auto &c : m_session->catalog().constraints(m_target.id)) {
            std::sort(c.positions.begin(), c.positions.end());
            if (c.positions == positions)
                throw SqlError(ora::kUnique, schema + "." + c.name);
        }
        throw SqlError(ora::kUnique);
    }
    if (rc == SQLITE_CONSTRAINT_NOTNULL && positions.size() == 1 && positions[0] >= 1
        && size_t(positions[0]) <= m_target.columns.size())
        throw SqlError(update ? ora::kCannotUpdateNull : ora::kCannotInsertNull,
                       quotedColumnName(schema, m_target.name, m_target.columns[size_t(positions[0] - 1)].name));
    throwSqliteError(db, rc);
}

void Cursor::executeDefinition()
{
    Catalog &catalog = m_session->catalog();
    sql::Statement &st = *m_statement;
    switch (m_kind) {
    case StatementKind::Truncate: {
        const ObjectInfo table = writableTable(catalog, st.truncate->table);
        m_session->runDefinition([&] { execSql(m_session->db(), "DELETE FROM " + table.sqliteName()); });
        break;
    }
    case StatementKind::CreateTable:
        // A DEFAULT is a constant expression: no columns, no binds.
        for (const auto &column : st.createTable->columns) {
            if (!column.defaultExpr)
                continue;
            BindNames names;
            Translator tr(catalog, nullptr, &names);
            tr.forbidColumns();
            tr.expr(*column.defaultExpr);
            if (!names.names.empty())
                throw SqlError(1027); // bind variables not allowed for data definition operations
        }
        m_session->runDefinition([&] { catalog.createTable(*st.createTable); });
        break;
    case StatementKind::CreateView: {
        const sql::CreateViewStmt &v = *st.createView;
        m_session->runDefinition([&] {
            BindNames names;
            const SelectPlan plan = compileSelect(catalog, *v.query, &names);
            if (!names.names.empty())
                throw SqlError(1027); // bind variables not allowed for data definition operations
            const std::vector<ColumnInfo> columns = viewColumns(plan, v.columns);
            if (auto existing = catalog.find(v.name)) {
                if (!v.orReplace || !existing->view)
                    throw SqlError(ora::kNameInUse);
                catalog.drop(*existing);
            }
            catalog.createView(v.name, columns, v.queryText, plan.sql);
        });
        break;
    }
    case StatementKind::Drop: {
        m_session->runDefinition([&] {
            auto object = catalog.find(st.drop->name);
            if (!object || object->view != st.drop->view)
                throw SqlError(ora::kNoTable);
            catalog.drop(*object);
        });
        break;
    }
    default:
        throw SqlError(ora::kInvalidStatement);
    }
}

int Cursor::writeColumn(size_t i, Define &d)
{
    sqlite3_stmt *s = m_stmt.get();
    const OutputColumn &column = m_select.columns[i];
    const bool null = sqlite3_column_type(s, int(i)) == SQLITE_NULL;
    std::string_view text;
    if (column.wrapped) {
        std::string &whole = m_scratch[i];
        whole.assign(column.prefix);
        if (!null)
            whole.append(columnText(s, int(i)));
        whole.append(column.suffix);
        text = whole;
    } else if (!null) {
        text = store::displayText(column.type.code, columnText(s, int(i)), &m_scratch[i]);
    }
    // Quotes around NULL are a value; with no quotes the result is NULL again.
    if (column.wrapped ? text.empty() : null) {
        if (d.returnLength)
            *d.returnLength = 0;
        if (d.returnCode)
            *d.returnCode = ora::kNullFetched;
        if (d.indicator) {
            *d.indicator = -1;
            return 0;
        }
        return ora::kNullFetched;
    }
    const int capacity = std::max(d.length, 0);
    size_t written = 0;
    bool truncated = false;
    char *out = reinterpret_cast<char *>(d.buffer);
    switch (d.type) {
    case 1:
    case 96:
        written = std::min(text.size(), size_t(capacity));
        truncated = written < text.size();
        if (written)
            std::memcpy(out, text.data(), written);
        if (d.type == 96 && written < size_t(capacity))
            std::memset(out + written, ' ', size_t(capacity) - written);
        break;
    case 3: {
        Decimal v;
        int64_t n = 0;
        if (num::parse(text, &v) != 0)
            throw SqlError(ora::kInvalidNumber);
        num::fitTo(&v, 38, 0);
        if (!v.toInt64(&n))
            throw SqlError(1455); // converting column overflows integer datatype
        if (capacity == 8) { std::memcpy(out, &n, 8); written = 8; }
        else if (capacity == 4 && n >= INT32_MIN && n <= INT32_MAX) { int32_t x = int32_t(n); std::memcpy(out, &x, 4); written = 4; }
        else if (capacity == 2 && n >= INT16_MIN && n <= INT16_MAX) { int16_t x = int16_t(n); std::memcpy(out, &x, 2); written = 2; }
        else throw SqlError(1455);
        break;
    }
    case 4: {
        Decimal v;
        if (num::parse(text, &v) != 0)
            throw SqlError(ora::kInvalidNumber);
        const double x = v.toDouble();
        if (capacity == 8) { std::memcpy(out, &x, 8); written = 8; }
        else if (capacity == 4) { const float f = float(x); std::memcpy(out, &f, 4); written = 4; }
        else throw SqlError(ora::kUnsupportedType);
        break;
    }
    default: // NUL-terminated text, the terminator within the length
        if (capacity == 0) {
            truncated = true;
            break;
        }
        written = std::min(text.size(), size_t(capacity) - 1);
        truncated = written < text.size();
        std::memcpy(out, text.data(), written);
        out[written] = '\0';
        break;
    }
    if (d.returnLength)
        *d.returnLength = oci_ub2(std::min<size_t>(written, 65535));
    if (d.returnCode)
        *d.returnCode = truncated ? ora::kTruncated : 0;
    if (d.indicator) {
        *d.indicator = truncated ? oci_sb2(std::min<size_t>(text.size(), 32767)) : 0;
        return 0;
    }
    return truncated ? ora::kTruncated : 0;
}

int Cursor::fetch()
{
    if (!m_parsed || m_kind != StatementKind::Select || m_state == State::Parsed)
        throw SqlError(ora::kFetchOutOfSequence);
    if (m_state == State::Finished)
        throw SqlError(ora::kFetchOutOfSequence);
    const int rc = sqlite3_step(m_stmt.get());
    if (rc == SQLITE_DONE) {
        sqlite3_reset(m_stmt.get());
        m_state = State::Finished;
        throw SqlError(ora::kNoData);
    }
    if (rc != SQLITE_ROW) {
        sqlite3_reset(m_stmt.get());
        m_state = State::Finished;
        throwSqliteError(m_session->db(), rc);
    }
    ++m_rows;
    int result = 0;
    for (size_t i = 0; i < m_defines.size(); ++i) {
        if (!m_defines[i].set)
            continue;
        const int code = writeColumn(i, m_defines[i]);
        if (code == ora::kTruncated || (code != 0 && result == 0))
            result = code;
    }
    return result;
}

} // namespace kdb
