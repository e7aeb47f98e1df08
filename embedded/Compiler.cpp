#include "Compiler.h"

#include "Lexer.h"
#include "Number.h"
#include "SqlError.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <optional>

namespace kdb {

using sql::Expr;
using sql::ExprKind;

namespace {

bool isRownum(const Expr &e)
{
    return e.kind == ExprKind::Function && e.text == "ROWNUM" && e.args.empty();
}

void collectConjuncts(const Expr *e, std::vector<const Expr *> *out)
{
    if (e->kind == ExprKind::And) {
        collectConjuncts(e->args[0].get(), out);
        collectConjuncts(e->args[1].get(), out);
    } else {
        out->push_back(e);
    }
}

// The row limit of "ROWNUM op n" (or "n op ROWNUM"); nullopt when the
// conjunct is no such comparison. A limit of -1 means "no limit".
std::optional<int64_t> rownumLimit(const Expr &e)
{
    if (e.kind != ExprKind::Compare)
        return std::nullopt;
    std::string op = e.text;
    const Expr *value = nullptr;
    if (isRownum(*e.args[0]) && e.args[1]->kind == ExprKind::Number) {
        value = e.args[1].get();
    } else if (isRownum(*e.args[1]) && e.args[0]->kind == ExprKind::Number) {
        value = e.args[0].get();
        op = op == "<" ? ">" : op == ">" ? "<" : op == "<=" ? ">=" : op == ">=" ? "<=" : op;
    } else {
        return std::nullopt;
    }
    Decimal d;
    if (num::parse(value->text, &d) != 0)
        throw SqlError(ora::kInvalidNumber);
    const double n = std::min(d.toDouble(), 9.0e18);
    if (op == "<=")
        return n < 1 ? 0 : int64_t(std::floor(n));
    if (op == "<")
        return n <= 1 ? 0 : int64_t(std::ceil(n)) - 1;
    if (op == "=")
        return n == 1 ? 1 : 0;
    if (op == ">")
        return n < 1 ? -1 : 0;
    if (op == ">=")
        return n <= 1 ? -1 : 0;
    throw SqlError(ora::kUnsupportedFeature);
}

std::string andAll(Translator &tr, const std::vector<const Expr *> &conds)
{
    std::string sql;
    for (const Expr *c : conds)
        sql += (sql.empty() ? "" : " AND ") + tr.condition(*c);
    return sql;
}

std::string whereSql(Translator &tr, const sql::ExprPtr &where)
{
    if (!where)
        return {};
    return " WHERE " + tr.condition(*where);
}

std::string dataTypeName(const SqlType &t)
{
    switch (t.code) {
    case kNumber: return "NUMBER";
    case kChar: return "CHAR";
    case kDate: return "DATE";
    case kLong: return "LONG";
    case kRaw: return "RAW";
    case kTimestamp: return "TIMESTAMP(6)";
    default: return "VARCHAR2";
    }
}

bool hasBind(const Expr &e)
{
    return e.kind == ExprKind::Bind
        || std::any_of(e.args.begin(), e.args.end(), [](const auto &a) { return hasBind(*a); });
}

bool isConcat(const Expr &e)
{
    return e.kind == ExprKind::Binary && e.text == "||";
}

// The value between the texts of 'text' || value || 'text' (grouped either
// way); null for any other expression.
const Expr *quotedValue(const Expr &e, std::string *prefix, std::string *suffix)
{
    if (!isConcat(e))
        return nullptr;
    const Expr &left = *e.args[0];
    const Expr &right = *e.args[1];
    if (right.kind == ExprKind::String && isConcat(left) && left.args[0]->kind == ExprKind::String) {
        *prefix = left.args[0]->text;
        *suffix = right.text;
        return left.args[1].get();
    }
    if (left.kind == ExprKind::String && isConcat(right) && right.args[1]->kind == ExprKind::String) {
        *prefix = left.text;
        *suffix = right.args[1]->text;
        return right.args[0].get();
    }
    return nullptr;
}

// An export quotes every text value: fetching the value alone and adding the
// quotes in the cursor spares SQLite two new strings per value and row.
// Values with binds are left whole, so that no bind is translated twice.
void wrapQuotedText(Translator &tr, const Expr &e, OutputColumn *col, std::string *itemSql)
{
    std::string prefix, suffix;
    const Expr *value = quotedValue(e, &prefix, &suffix);
    if (!value || hasBind(*value))
        return;
    const Translated inner = tr.expr(*value);
    if (inner.type.code != kVarchar2 && inner.type.code != kChar)
        return;
    *itemSql = inner.sql;
    col->wrapped = true;
    col->prefix = std::move(prefix);
    col->suffix = std::move(suffix);
}

} // namespace

SelectPlan compileSelect(const Catalog &catalog, const sql::SelectStmt &stmt, BindNames *binds, bool wrapAtFetch)
{
    // Ordering and DISTINCT work on whole values: those items stay whole.
    wrapAtFetch = wrapAtFetch && !stmt.distinct && stmt.orderBy.empty();
    const Source src = resolveSource(catalog, stmt.from);
    Translator tr(catalog, &src, binds);
    SelectPlan plan;
    if (src.object && src.object->view)
        plan.viewName = src.object->name;
    std::string items;
    std::map<std::string, Translated> aliases;
    bool anyAggregate = false, anyPlain = false;
    for (const auto &item : stmt.items) {
        if (!item.expr) {
            if (!item.qualifier.empty() && item.qualifier != src.qualifier)
                throw SqlError(ora::kInvalidIdentifier, "\"" + item.qualifier + "\"");
            for (size_t i = 0; i < src.columns.size(); ++i) {
                items += (items.empty() ? "" : ", ") + std::string("s.") + columnSqlName(int(i) + 1);
                plan.columns.push_back({src.columns[i].name, src.columns[i].type, src.columns[i].nullable, false, false, {}, {}});
            }
            anyPlain = true;
            continue;
        }
        Translated t = tr.expr(*item.expr);
        anyAggregate |= t.aggregate;
        anyPlain |= t.usesColumns && !t.aggregate;
        OutputColumn col{item.alias, t.type, t.nullable, false, false, {}, {}};
        std::string itemSql = t.sql;
        if (wrapAtFetch)
            wrapQuotedText(tr, *item.expr, &col, &itemSql);
        items += (items.empty() ? "" : ", ") + itemSql;
        if (col.name.empty()) {
            if (item.expr->kind == ExprKind::Column) {
                col.name = item.expr->text;
            } else {
                col.name = sql::upperOutsideQuotes(item.sourceText);
                col.unnamedExpression = true;
            }
        } else {
            aliases.emplace(item.alias, t);
        }
        plan.columns.push_back(col);
    }
    if (anyAggregate && anyPlain)
        throw SqlError(ora::kNotSingleGroup);

    std::vector<const Expr *> conjuncts, rest;
    if (stmt.where)
        collectConjuncts(stmt.where.get(), &conjuncts);
    std::optional<int64_t> limit;
    for (const Expr *c : conjuncts) {
        if (auto l = rownumLimit(*c)) {
            if (*l >= 0)
                limit = limit ? std::min(*limit, *l) : *l;
        } else {
            rest.push_back(c);
        }
    }
    const std::string cond = andAll(tr, rest);
    std::string from;
    if (limit) {
        from = "(SELECT * FROM " + src.from + " AS s" + (cond.empty() ? "" : " WHERE " + cond) + " LIMIT "
            + std::to_string(*limit) + ") AS s";
    } else {
        from = src.from + " AS s" + (cond.empty() ? "" : " WHERE " + cond);
    }

    std::string order;
    tr.setAliases(&aliases);
    for (const auto &o : stmt.orderBy) {
        std::string key;
        if (o.expr->kind == ExprKind::Number) {
            char *end = nullptr;
            const long k = std::strtol(o.expr->text.c_str(), &end, 10);
            if (*end != '\0' || k < 1 || size_t(k) > plan.columns.size())
                throw SqlError(1785); // ORDER BY item must be the number of a SELECT-list expression
            key = std::to_string(k);
        } else {
            Translated t = tr.expr(*o.expr);
            if (t.usesColumns && anyAggregate && !t.aggregate)
                throw SqlError(ora::kNotSingleGroup);
            key = t.sql;
        }
        // Oracle sorts NULL as the highest value.
        const bool nullsFirst = o.nullsFirst.value_or(o.descending);
        order += (order.empty() ? " ORDER BY " : ", ") + key + (o.descending ? " DESC" : " ASC")
            + (nullsFirst ? " NULLS FIRST" : " NULLS LAST");
    }
    plan.sql = std::string("SELECT ") + (stmt.distinct ? "DISTINCT " : "") + items + " FROM " + from + order;
    return plan;
}

ObjectInfo writableTable(const Catalog &catalog, const std::string &name)
{
    auto object = catalog.find(name);
    if (!object) {
        sql::TableRef ref;
        ref.name = name;
        resolveSource(catalog, ref); // 942 unless it is a dictionary view
        throw SqlError(ora::kInsufficientPrivileges);
    }
    if (object->view)
        throw SqlError(ora::kNotLegalOnView);
    return *object;
}

DmlPlan compileUpdate(const Catalog &catalog, const sql::UpdateStmt &stmt, BindNames *binds)
{
    DmlPlan plan;
    plan.object = writableTable(catalog, stmt.table.name);
    const Source src = resolveSource(catalog, stmt.table);
    Translator tr(catalog, &src, binds);
    std::string sets;
    std::vector<int> seen;
    for (const auto &a : stmt.sets) {
        int position = 0;
        for (size_t i = 0; i < plan.object.columns.size(); ++i)
            if (plan.object.columns[i].name == a.column)
                position = int(i) + 1;
        if (position == 0)
            throw SqlError(ora::kInvalidIdentifier, "\"" + a.column + "\"");
        if (std::find(seen.begin(), seen.end(), position) != seen.end())
            throw SqlError(ora::kDuplicateColumn);
        seen.push_back(position);
        const ColumnInfo &col = plan.object.columns[size_t(position - 1)];
        Translated t = tr.expr(*a.value);
        if (t.aggregate)
            throw SqlError(ora::kGroupFunctionNotAllowed);
        sets += (sets.empty() ? "" : ", ") + columnSqlName(position) + " = "
            + fitSql(t.sql, t.type.code, col.type(), col.nullable,
                     quotedColumnName(catalog.schema(), plan.object.name, col.name), true);
    }
    plan.sql = "UPDATE " + src.from + " AS s SET " + sets + whereSql(tr, stmt.where);
    return plan;
}

DmlPlan compileDelete(const Catalog &catalog, const sql::DeleteStmt &stmt, BindNames *binds)
{
    DmlPlan plan;
    plan.object = writableTable(catalog, stmt.table.name);
    const Source src = resolveSource(catalog, stmt.table);
    Translator tr(catalog, &src, binds);
    plan.sql = "DELETE FROM " + src.from + " AS s" + whereSql(tr, stmt.where);
    return plan;
}

std::vector<ColumnInfo> viewColumns(const SelectPlan &plan, const std::vector<std::string> &names)
{
    if (!names.empty() && names.size() != plan.columns.size())
        throw SqlError(1730); // invalid number of column names specified
    std::vector<ColumnInfo> out;
    for (size_t i = 0; i < plan.columns.size(); ++i) {
        const OutputColumn &c = plan.columns[i];
        ColumnInfo info;
        if (!names.empty())
            info.name = names[i];
        else if (c.unnamedExpression)
            throw SqlError(ora::kMissingAlias);
        else
            info.name = c.name;
        if (info.name.size() > sql::kMaxIdentifierLength)
            throw SqlError(ora::kIdentifierTooLong);
        for (const auto &o : out)
            if (o.name == info.name)
                throw SqlError(ora::kDuplicateColumn);
        info.dataType = dataTypeName(c.type);
        info.dataLength = c.type.isNumber() ? 22 : c.type.size;
        if (c.type.isNumber() && !(c.type.precision == 0 && c.type.scale == -127)) {
            if (c.type.precision != 38 || c.type.scale != 0)
                info.precision = c.type.precision;
            info.scale = c.type.scale;
        }
        info.nullable = c.nullable;
        out.push_back(std::move(info));
    }
    return out;
}

} // namespace kdb
