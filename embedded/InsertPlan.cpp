#include "InsertPlan.h"

#include "Compiler.h"
#include "Parser.h"
#include "SqlError.h"
#include "SqliteUtil.h"

#include <algorithm>
#include <cstring>

namespace kdb {

using sql::Expr;
using sql::ExprKind;

namespace {

void planValue(InsertColumn *col, const Expr &value, const Catalog &catalog, BindNames *binds, std::string *sqlValue)
{
    if (value.kind == ExprKind::Bind) {
        col->source = InsertColumn::Source::Bind;
        col->slot = binds->parameter(value.text) - binds->base;
        return;
    }
    if (value.kind == ExprKind::Function && value.text == "TO_DATE" && value.args.size() == 2
        && value.args[0]->kind == ExprKind::Bind && value.args[1]->kind == ExprKind::String) {
        col->source = InsertColumn::Source::BindDate;
        col->slot = binds->parameter(value.args[0]->text) - binds->base;
        col->format = value.args[1]->text;
        std::string upper = col->format;
        for (char &c : upper)
            c = (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
        col->isoFormat = upper == "YYYY-MM-DD HH24:MI:SS";
        return;
    }
    Translator tr(catalog, nullptr, binds);
    const Translated t = tr.expr(value);
    if (t.aggregate)
        throw SqlError(ora::kGroupFunctionNotAllowed);
    if (value.kind == ExprKind::Null || (value.kind == ExprKind::String && value.text.empty())) {
        col->source = InsertColumn::Source::Null;
    } else if (value.kind == ExprKind::String) {
        col->source = InsertColumn::Source::Constant;
        col->constantType = kVarchar2;
        col->constant = value.text;
    } else if (value.kind == ExprKind::Number) {
        col->source = InsertColumn::Source::Constant;
        col->constantType = kNumber;
        Decimal d;
        num::parse(value.text, &d);
        col->constant = store::numberKey(d);
    } else {
        col->source = InsertColumn::Source::Expression;
        *sqlValue = fitSql(t.sql, t.type.code, col->target.type, col->target.nullable, col->target.quotedName, false);
    }
}

void bindChecked(InsertColumn &col, sqlite3_stmt *stmt, int index, int from, std::string_view value)
{
    std::string_view out;
    std::string detail;
    const int rc = from == 0 ? store::storeText(col.target, value, &col.scratch, &out, &detail)
                             : store::storeValue(col.target, from, value, &col.scratch, &out, &detail);
    if (rc != 0)
        throw SqlError(rc, detail);
    bindStatic(stmt, index, out);
}

// The import's dates come as "YYYY-MM-DD HH24:MI:SS", which is the stored
// form: a text of exactly that shape and valid ranges is copied as it is.
// Anything else goes through TO_DATE for its leniency and its error numbers.
bool copyIsoDate(std::string_view text, char *out)
{
    if (text.size() != size_t(store::kDateLength))
        return false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const char expected = i == 4 || i == 7 ? '-' : i == 10 ? ' ' : i == 13 || i == 16 ? ':' : '0';
        if (expected == '0' ? (c < '0' || c > '9') : c != expected)
            return false;
    }
    auto number = [&](size_t at, size_t n) {
        int v = 0;
        for (size_t i = at; i < at + n; ++i)
            v = v * 10 + (text[i] - '0');
        return v;
    };
    const int year = number(0, 4), month = number(5, 2), day = number(8, 2);
    static constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 1 || month < 1 || month > 12 || day < 1 || day > kDays[month - 1] || number(11, 2) > 23
        || number(14, 2) > 59 || number(17, 2) > 59)
        return false;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    if (month == 2 && day == 29 && !leap)
        return false;
    std::memcpy(out, text.data(), text.size());
    return true;
}

void bindNull(const InsertColumn &col, sqlite3_stmt *stmt, int index)
{
    if (!col.target.nullable)
        throw SqlError(ora::kCannotInsertNull, store::nullDetail(col.target));
    sqlite3_bind_null(stmt, index);
}

} // namespace

InsertPlan compileInsert(const Catalog &catalog, const sql::InsertStmt &stmt, BindNames *binds)
{
    InsertPlan plan;
    plan.object = writableTable(catalog, stmt.table.name);
    const auto &tableColumns = plan.object.columns;
    plan.columns.resize(tableColumns.size());
    for (size_t i = 0; i < tableColumns.size(); ++i) {
        InsertColumn &col = plan.columns[i];
        col.target.type = tableColumns[i].type();
        col.target.nullable = tableColumns[i].nullable;
        col.target.quotedName = quotedColumnName(catalog.schema(), plan.object.name, tableColumns[i].name);
        col.scratch.reserve(size_t(std::max(col.target.type.size, store::kNumberKeyMax)));
    }

    // Which table column each value goes to.
    std::vector<int> targets;
    if (stmt.columns.empty()) {
        for (size_t i = 0; i < tableColumns.size(); ++i)
            targets.push_back(int(i));
    } else {
        for (const auto &name : stmt.columns) {
            auto it = std::find_if(tableColumns.begin(), tableColumns.end(),
                                   [&](const ColumnInfo &c) { return c.name == name; });
            if (it == tableColumns.end())
                throw SqlError(ora::kInvalidIdentifier, "\"" + name + "\"");
            const int index = int(it - tableColumns.begin());
            if (std::find(targets.begin(), targets.end(), index) != targets.end())
                throw SqlError(ora::kDuplicateColumn);
            targets.push_back(index);
        }
    }
    if (stmt.values.size() > targets.size())
        throw SqlError(ora::kTooManyValues);
    if (stmt.values.size() < targets.size())
        throw SqlError(ora::kNotEnoughValues);

    binds->base = int(tableColumns.size()) + 1;
    std::vector<std::string> sqlValues(tableColumns.size());
    std::vector<bool> given(tableColumns.size(), false);
    for (size_t v = 0; v < stmt.values.size(); ++v) {
        given[size_t(targets[v])] = true;
        planValue(&plan.columns[size_t(targets[v])], *stmt.values[v], catalog, binds, &sqlValues[size_t(targets[v])]);
    }
    for (size_t i = 0; i < tableColumns.size(); ++i) {
        if (given[i] || tableColumns[i].defaultText.empty())
            continue;
        const sql::ExprPtr def = sql::parseExpression(tableColumns[i].defaultText);
        BindNames none;
        planValue(&plan.columns[i], *def, catalog, &none, &sqlValues[i]);
        if (!none.names.empty())
            throw SqlError(ora::kInternal, "bind in DEFAULT");
    }

    std::string names, values;
    for (size_t i = 0; i < tableColumns.size(); ++i) {
        names += (i ? ", " : "") + columnSqlName(int(i) + 1);
        values += (i ? ", " : "")
            + (plan.columns[i].source == InsertColumn::Source::Expression ? sqlValues[i] : "?" + std::to_string(i + 1));
    }
    plan.sql = "INSERT INTO " + plan.object.sqliteName() + "(" + names + ") VALUES(" + values + ")";
    plan.bindBase = binds->base;
    return plan;
}

void bindInsertValues(InsertPlan &plan, std::vector<BindSlot> &slots, sqlite3_stmt *stmt)
{
    for (size_t i = 0; i < plan.columns.size(); ++i) {
        InsertColumn &col = plan.columns[i];
        const int index = int(i) + 1;
        std::string_view text;
        switch (col.source) {
        case InsertColumn::Source::Null:
            bindNull(col, stmt, index);
            break;
        case InsertColumn::Source::Bind:
            if (!bindText(slots[size_t(col.slot)], &text))
                bindNull(col, stmt, index);
            else
                bindChecked(col, stmt, index, 0, text);
            break;
        case InsertColumn::Source::BindDate: {
            if (!bindText(slots[size_t(col.slot)], &text)) {
                bindNull(col, stmt, index);
                break;
            }
            if (!col.isoFormat || !copyIsoDate(text, col.date)) {
                DateTime dt;
                const int rc = date::toDate(text, col.format, &dt);
                if (rc != 0)
                    throw SqlError(rc);
                date::toStorage(dt, col.date);
            }
            bindChecked(col, stmt, index, kDate, std::string_view(col.date, store::kDateLength));
            break;
        }
        case InsertColumn::Source::Constant:
            bindChecked(col, stmt, index, col.constantType == kNumber ? kNumber : 0, col.constant);
            break;
        case InsertColumn::Source::Expression:
            break;
        }
    }
    // Binds that expressions use are SQLite parameters after the columns.
    const int count = sqlite3_bind_parameter_count(stmt);
    for (size_t s = 0; s < slots.size() && plan.bindBase + int(s) <= count; ++s) {
        std::string_view text;
        if (bindText(slots[s], &text))
            bindStatic(stmt, plan.bindBase + int(s), text);
        else
            sqlite3_bind_null(stmt, plan.bindBase + int(s));
    }
}

} // namespace kdb
