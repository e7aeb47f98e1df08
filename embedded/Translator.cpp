#include "Translator.h"

#include "Lexer.h"
#include "NumberFormat.h"
#include "SqlError.h"
#include "Storage.h"

#include <algorithm>

namespace kdb {

using sql::Expr;
using sql::ExprKind;

namespace {

constexpr int kNameSize = 30;

struct DictionaryView {
    const char *name;
    const char *from;
    std::vector<SourceColumn> columns;
};

const std::vector<DictionaryView> &dictionary()
{
    static const std::vector<DictionaryView> views = {
        {"USER_TABLES", "(SELECT name AS c1 FROM kdb_objects WHERE kind = 'TABLE')",
         {{"TABLE_NAME", SqlType::varchar2(kNameSize), false}}},
        {"USER_VIEWS",
         "(SELECT name AS c1, kdb_num(length(CAST(text AS BLOB))) AS c2, text AS c3 FROM kdb_objects"
         " WHERE kind = 'VIEW')",
         {{"VIEW_NAME", SqlType::varchar2(kNameSize), false},
          {"TEXT_LENGTH", SqlType::number(), true},
          {"TEXT", {kLong, 0, 0, 0}, true}}},
        {"USER_TAB_COLUMNS",
         "(SELECT o.name AS c1, c.name AS c2, c.data_type AS c3, kdb_num(c.data_length) AS c4,"
         " kdb_num(c.data_precision) AS c5, kdb_num(c.data_scale) AS c6, c.nullable AS c7,"
         " kdb_num(c.position) AS c8, c.default_text AS c9"
         " FROM kdb_objects AS o JOIN kdb_columns AS c ON c.object_id = o.id)",
         {{"TABLE_NAME", SqlType::varchar2(kNameSize), false},
          {"COLUMN_NAME", SqlType::varchar2(kNameSize), false},
          {"DATA_TYPE", SqlType::varchar2(106), true},
          {"DATA_LENGTH", SqlType::number(), false},
          {"DATA_PRECISION", SqlType::number(), true},
          {"DATA_SCALE", SqlType::number(), true},
          {"NULLABLE", SqlType::varchar2(1), true},
          {"COLUMN_ID", SqlType::number(), true},
          {"DATA_DEFAULT", {kLong, 0, 0, 0}, true}}},
        {"DUAL", "(SELECT 'X' AS c1)", {{"DUMMY", SqlType::varchar2(1), true}}},
    };
    return views;
}

Translated typed(std::string sql, SqlType type)
{
    Translated t;
    t.sql = std::move(sql);
    t.type = type;
    return t;
}

void merge(Translated *into, const Translated &from)
{
    into->aggregate |= from.aggregate;
    into->usesColumns |= from.usesColumns;
}

bool isNullLiteral(const Translated &t) { return t.sql == "NULL"; }

int widthOfDateFormat(std::string_view fmt)
{
    // The widest output: a date with the longest month and day names.
    DateTime sample;
    sample.year = 2000;
    sample.month = 9;
    sample.day = 27; // a Wednesday in September
    sample.hour = 23;
    sample.minute = 59;
    sample.second = 59;
    std::string out;
    if (date::toChar(sample, fmt, &out) != 0)
        return int(fmt.size());
    return std::max<int>(int(out.size()), int(fmt.size()));
}

void requireArgs(const Expr &e, size_t min, size_t max)
{
    if (e.star || e.args.size() < min || e.args.size() > max)
        throw SqlError(ora::kArgumentCount);
}

} // namespace

int BindNames::parameter(const std::string &name)
{
    auto it = std::find(names.begin(), names.end(), name);
    if (it == names.end()) {
        names.push_back(name);
        return base + int(names.size()) - 1;
    }
    return base + int(it - names.begin());
}

std::string quotedColumnName(const std::string &schema, const std::string &table, const std::string &column)
{
    return "\"" + schema + "\".\"" + table + "\".\"" + column + "\"";
}

std::string fitSql(const std::string &sql, int from, const SqlType &target, bool nullable,
                   const std::string &quotedName, bool update)
{
    return "kdb_fit(" + sql + ", " + std::to_string(from) + ", " + std::to_string(target.code) + ", "
        + std::to_string(target.size) + ", " + std::to_string(target.precision) + ", "
        + std::to_string(target.scale) + ", " + (nullable ? "1" : "0") + ", " + quoteSqlText(quotedName)
        + ", " + (update ? "1" : "0") + ")";
}

Source resolveSource(const Catalog &catalog, const sql::TableRef &ref)
{
    Source src;
    src.qualifier = ref.alias.empty() ? ref.name : ref.alias;
    if (auto object = catalog.find(ref.name)) {
        src.from = object->sqliteName();
        for (const auto &c : object->columns)
            src.columns.push_back({c.name, c.type(), c.nullable});
        src.object = std::move(object);
        return src;
    }
    for (const auto &view : dictionary()) {
        if (ref.name == view.name) {
            src.from = view.from;
            src.columns = view.columns;
            return src;
        }
    }
    throw SqlError(ora::kNoTable);
}

std::string Translator::asNumber(const Translated &t)
{
    if (t.type.isNumber() || isNullLiteral(t))
        return t.sql;
    if (t.type.isDate())
        throw SqlError(ora::kInconsistentTypes, "expected NUMBER got DATE");
    return "kdb_tonum(" + t.sql + ")";
}

std::string Translator::asText(const Translated &t)
{
    if (t.type.isNumber())
        return "kdb_ntext(" + t.sql + ")";
    if (t.type.isDate())
        return "kdb_dtext(" + t.sql + ")";
    return t.sql;
}

std::string Translator::asDate(const Translated &t)
{
    if (t.type.isDate() || isNullLiteral(t))
        return t.sql;
    if (t.type.isNumber())
        throw SqlError(ora::kInconsistentTypes, "expected DATE got NUMBER");
    return "kdb_todate(" + t.sql + ")";
}

Translated Translator::expr(const Expr &e)
{
    switch (e.kind) {
    case ExprKind::Column:
        return column(e);
    case ExprKind::String:
    case ExprKind::Number:
    case ExprKind::Null:
        return literal(e);
    case ExprKind::Bind: {
        Translated t = typed("?" + std::to_string(m_binds->parameter(e.text)), SqlType::varchar2(4000));
        return t;
    }
    case ExprKind::Negate: {
        Translated inner = expr(*e.args[0]);
        Translated t = typed("kdb_neg(" + asNumber(inner) + ")", SqlType::number());
        merge(&t, inner);
        return t;
    }
    case ExprKind::Binary:
        return e.text == "||" ? concat(e) : arithmetic(e);
    case ExprKind::Function:
        return function(e);
    default:
        throw SqlError(ora::kMissingExpression);
    }
}

Translated Translator::column(const Expr &e)
{
    if (m_noColumns)
        throw SqlError(ora::kColumnNotAllowed);
    const std::string shown = (e.qualifier.empty() ? "" : "\"" + e.qualifier + "\".") + "\"" + e.text + "\"";
    if (e.qualifier.empty() && m_aliases) {
        auto it = m_aliases->find(e.text);
        if (it != m_aliases->end())
            return it->second;
    }
    if (m_source && (e.qualifier.empty() || e.qualifier == m_source->qualifier)) {
        for (size_t i = 0; i < m_source->columns.size(); ++i) {
            const SourceColumn &c = m_source->columns[i];
            if (c.name == e.text) {
                Translated t = typed("s." + columnSqlName(int(i) + 1), c.type);
                t.nullable = c.nullable;
                t.usesColumns = true;
                return t;
            }
        }
    }
    throw SqlError(ora::kInvalidIdentifier, shown);
}

Translated Translator::literal(const Expr &e)
{
    if (e.kind == ExprKind::Null)
        return typed("NULL", SqlType::varchar2(0));
    if (e.kind == ExprKind::String) {
        if (e.text.empty())
            return typed("NULL", SqlType::charType(0));
        Translated t = typed(quoteSqlText(e.text), SqlType::charType(int(e.text.size())));
        t.nullable = false;
        return t;
    }
    Decimal d;
    const int rc = num::parse(e.text, &d);
    if (rc != 0)
        throw SqlError(rc);
    Translated t = typed(quoteSqlText(store::numberKey(d)), SqlType::number());
    t.nullable = false;
    return t;
}

Translated Translator::arithmetic(const Expr &e)
{
    Translated a = expr(*e.args[0]);
    Translated b = expr(*e.args[1]);
    Translated t;
    const std::string &op = e.text;
    if ((op == "+" || op == "-") && a.type.isDate() && !b.type.isDate()) {
        const std::string days = asNumber(b);
        t = typed("kdb_dadd(" + a.sql + ", " + (op == "-" ? "kdb_neg(" + days + ")" : days) + ")", SqlType::date());
    } else if (op == "+" && b.type.isDate() && !a.type.isDate()) {
        t = typed("kdb_dadd(" + b.sql + ", " + asNumber(a) + ")", SqlType::date());
    } else if (op == "-" && a.type.isDate() && b.type.isDate()) {
        t = typed("kdb_ddiff(" + a.sql + ", " + b.sql + ")", SqlType::number());
    } else {
        if (a.type.isDate() || b.type.isDate())
            throw SqlError(ora::kInconsistentTypes, "expected NUMBER got DATE");
        const char *fn = op == "+" ? "kdb_add(" : op == "-" ? "kdb_sub(" : op == "*" ? "kdb_mul(" : "kdb_div(";
        t = typed(fn + asNumber(a) + ", " + asNumber(b) + ")", SqlType::number());
    }
    merge(&t, a);
    merge(&t, b);
    return t;
}

Translated Translator::concat(const Expr &e)
{
    Translated a = expr(*e.args[0]);
    Translated b = expr(*e.args[1]);
    const bool bothChar = a.type.code == kChar && b.type.code == kChar;
    const int size = textWidth(a.type) + textWidth(b.type);
    // NULL counts as empty text, and an empty result is NULL again. A side
    // that is never NULL (never empty either: empty text is NULL) needs no
    // COALESCE and makes the result never empty, so no NULLIF: an export's
    // quotes around every value then cost one plain concatenation each.
    const auto side = [&](const Translated &x) {
        return x.nullable ? "COALESCE(" + asText(x) + ", '')" : "(" + asText(x) + ")";
    };
    const std::string joined = side(a) + " || " + side(b);
    const bool neverEmpty = !a.nullable || !b.nullable;
    Translated t = typed(neverEmpty ? "(" + joined + ")" : "NULLIF(" + joined + ", '')",
                         bothChar ? SqlType::charType(size) : SqlType::varchar2(size));
    t.nullable = !neverEmpty;
    merge(&t, a);
    merge(&t, b);
    return t;
}

Translated Translator::function(const Expr &e)
{
    const std::string &name = e.text;
    std::vector<Translated> args;
    if (name == "COUNT") {
        if (!e.star) {
            requireArgs(e, 1, 1);
        }
        Translated t = typed(e.star ? "kdb_num(count(*))" : "", SqlType::number());
        if (!e.star) {
            Translated inner = expr(*e.args[0]);
            if (inner.aggregate)
                throw SqlError(935); // group function is nested too deeply
            t.sql = "kdb_num(count(" + inner.sql + "))";
        }
        t.aggregate = true;
        t.nullable = false;
        return t;
    }
    if (name == "SYSDATE" && e.args.empty() && e.end - e.begin == 7)
        return typed("kdb_sysdate()", SqlType::date());
    if (name == "USER" && e.args.empty())
        return typed(quoteSqlText(m_catalog.schema()), SqlType::varchar2(kNameSize));
    if (name == "ROWNUM")
        throw SqlError(ora::kUnsupportedFeature);
    if (e.star)
        throw SqlError(ora::kArgumentCount);
    for (const auto &a : e.args)
        args.push_back(expr(*a));
    Translated t;
    if (name == "TO_CHAR") {
        requireArgs(e, 1, 2);
        const Translated &v = args[0];
        const bool literalFormat = args.size() > 1 && e.args[1]->kind == ExprKind::String;
        if (v.type.isDate()) {
            if (args.size() == 1)
                t = typed("kdb_dtext(" + v.sql + ")", SqlType::varchar2(9));
            else
                t = typed("kdb_dchar(" + v.sql + ", " + asText(args[1]) + ")",
                          SqlType::varchar2(literalFormat ? widthOfDateFormat(e.args[1]->text) : 75));
        } else if (v.type.isNumber()) {
            if (args.size() == 1)
                t = typed("kdb_ntext(" + v.sql + ")", SqlType::varchar2(40));
            else
                t = typed("kdb_nchar(" + v.sql + ", " + asText(args[1]) + ")",
                          SqlType::varchar2(literalFormat ? numfmt::width(e.args[1]->text) : 64));
        } else {
            t = typed(v.sql, SqlType::varchar2(textWidth(v.type)));
        }
    } else if (name == "TO_DATE") {
        requireArgs(e, 1, 2);
        if (args[0].type.isDate() && args.size() == 1)
            t = typed(args[0].sql, SqlType::date());
        else if (args.size() == 1)
            t = typed("kdb_todate(" + asText(args[0]) + ")", SqlType::date());
        else
            t = typed("kdb_todate(" + asText(args[0]) + ", " + asText(args[1]) + ")", SqlType::date());
    } else if (name == "TO_NUMBER") {
        requireArgs(e, 1, 2);
        if (args.size() == 1)
            t = typed(asNumber(args[0]), SqlType::number());
        else
            t = typed("kdb_tonum(" + asText(args[0]) + ", " + asText(args[1]) + ")", SqlType::number());
    } else if (name == "NVL") {
        requireArgs(e, 2, 2);
        const SqlType &type = args[0].type;
        const std::string other = type.isNumber() ? asNumber(args[1]) : type.isDate() ? asDate(args[1]) : asText(args[1]);
        SqlType result = type;
        if (type.isText())
            result.size = std::max(textWidth(type), textWidth(args[1].type));
        if (isNullLiteral(args[0]))
            result = args[1].type;
        t = typed("COALESCE(" + args[0].sql + ", " + other + ")", result);
        t.nullable = args[1].nullable;
    } else if (name == "UPPER" || name == "LOWER") {
        requireArgs(e, 1, 1);
        const SqlType &type = args[0].type;
        t = typed((name == "UPPER" ? "upper(" : "lower(") + asText(args[0]) + ")",
                  type.code == kChar ? type : SqlType::varchar2(textWidth(type)));
    } else if (name == "LENGTH") {
        requireArgs(e, 1, 1);
        t = typed("kdb_num(length(" + asText(args[0]) + "))", SqlType::number());
    } else if (name == "SUBSTR") {
        requireArgs(e, 2, 3);
        std::string sql = "kdb_substr(" + asText(args[0]) + ", " + asNumber(args[1]);
        if (args.size() > 2)
            sql += ", " + asNumber(args[2]);
        t = typed(sql + ")", SqlType::varchar2(textWidth(args[0].type)));
    } else if (name == "TRIM" || name == "LTRIM" || name == "RTRIM") {
        requireArgs(e, 1, name == "TRIM" ? 1 : 2);
        const std::string set = args.size() > 1 ? asText(args[1]) : "' '";
        const char *fn = name == "TRIM" ? "trim(" : name == "LTRIM" ? "ltrim(" : "rtrim(";
        t = typed(std::string("NULLIF(") + fn + asText(args[0]) + ", " + set + "), '')",
                  SqlType::varchar2(textWidth(args[0].type)));
    } else {
        throw SqlError(ora::kInvalidIdentifier, "\"" + name + "\"");
    }
    for (const auto &a : args)
        merge(&t, a);
    return t;
}

std::string Translator::condition(const Expr &e)
{
    switch (e.kind) {
    case ExprKind::And:
    case ExprKind::Or:
        return "(" + condition(*e.args[0]) + (e.kind == ExprKind::And ? " AND " : " OR ") + condition(*e.args[1]) + ")";
    case ExprKind::Not:
        return "(NOT " + condition(*e.args[0]) + ")";
    case ExprKind::Compare:
        return compare(e);
    case ExprKind::IsNull: {
        Translated a = expr(*e.args[0]);
        if (a.aggregate)
            throw SqlError(ora::kGroupFunctionNotAllowed);
        return "(" + a.sql + (e.negated ? " IS NOT NULL)" : " IS NULL)");
    }
    case ExprKind::Like: {
        std::string sql = "kdb_like(";
        for (size_t i = 0; i < e.args.size(); ++i) {
            Translated a = expr(*e.args[i]);
            if (a.aggregate)
                throw SqlError(ora::kGroupFunctionNotAllowed);
            sql += (i ? ", " : "") + asText(a);
        }
        sql += ")";
        return e.negated ? "(NOT " + sql + ")" : sql;
    }
    case ExprKind::In:
        return inList(e);
    case ExprKind::Between:
        return between(e);
    default:
        throw SqlError(ora::kInvalidRelOp);
    }
}

namespace {

// Oracle's implicit conversion for a comparison of several operands: NUMBER
// wins over text, DATE over text; two CHAR-like operands compare blank-padded.
std::vector<std::string> unify(const std::vector<Translated> &ops)
{
    bool number = false, dateType = false, allChar = true;
    for (const auto &t : ops) {
        number |= t.type.isNumber();
        dateType |= t.type.isDate();
        allChar &= t.type.code == kChar || t.sql == "NULL";
        if (t.aggregate)
            throw SqlError(ora::kGroupFunctionNotAllowed);
    }
    if (number && dateType)
        throw SqlError(ora::kInconsistentTypes, "expected NUMBER got DATE");
    std::vector<std::string> out;
    for (const auto &t : ops) {
        if (number)
            out.push_back(Translator::asNumber(t));
        else if (dateType)
            out.push_back(Translator::asDate(t));
        else if (allChar)
            out.push_back("rtrim(" + t.sql + ", ' ')");
        else
            out.push_back(t.sql);
    }
    return out;
}

} // namespace

std::string Translator::compare(const Expr &e)
{
    const auto ops = unify({expr(*e.args[0]), expr(*e.args[1])});
    return "(" + ops[0] + " " + e.text + " " + ops[1] + ")";
}

std::string Translator::inList(const Expr &e)
{
    std::vector<Translated> all;
    for (const auto &a : e.args)
        all.push_back(expr(*a));
    const auto ops = unify(all);
    std::string sql = "(" + ops[0] + (e.negated ? " NOT IN (" : " IN (");
    for (size_t i = 1; i < ops.size(); ++i)
        sql += (i > 1 ? ", " : "") + ops[i];
    return sql + "))";
}

std::string Translator::between(const Expr &e)
{
    const auto ops = unify({expr(*e.args[0]), expr(*e.args[1]), expr(*e.args[2])});
    return "(" + ops[0] + (e.negated ? " NOT BETWEEN " : " BETWEEN ") + ops[1] + " AND " + ops[2] + ")";
}

} // namespace kdb
