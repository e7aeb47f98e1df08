#include "Parser.h"

#include "Lexer.h"
#include "SqlError.h"

#include <algorithm>
#include <iterator>

namespace kdb::sql {
namespace {

// Deeper nesting is refused rather than risk the stack; SQLite itself stops
// at the same depth.
constexpr int kMaxDepth = 1000;

constexpr std::string_view kReserved[] = {
    "ACCESS", "ADD", "ALL", "ALTER", "AND", "ANY", "AS", "ASC", "AUDIT", "BETWEEN", "BY",
    "CHAR", "CHECK", "CLUSTER", "COLUMN", "COMMENT", "COMPRESS", "CONNECT", "CREATE",
    "CURRENT", "DATE", "DECIMAL", "DEFAULT", "DELETE", "DESC", "DISTINCT", "DROP", "ELSE",
    "EXCLUSIVE", "EXISTS", "FILE", "FLOAT", "FOR", "FROM", "GRANT", "GROUP", "HAVING",
    "IDENTIFIED", "IMMEDIATE", "IN", "INCREMENT", "INDEX", "INITIAL", "INSERT", "INTEGER",
    "INTERSECT", "INTO", "IS", "LEVEL", "LIKE", "LOCK", "LONG", "MAXEXTENTS", "MINUS",
    "MLSLABEL", "MODE", "MODIFY", "NOAUDIT", "NOCOMPRESS", "NOT", "NOWAIT", "NULL", "NUMBER",
    "OF", "OFFLINE", "ON", "ONLINE", "OPTION", "OR", "ORDER", "PCTFREE", "PRIOR",
    "PRIVILEGES", "PUBLIC", "RAW", "RENAME", "RESOURCE", "REVOKE", "ROW", "ROWID", "ROWNUM",
    "ROWS", "SELECT", "SESSION", "SET", "SHARE", "SIZE", "SMALLINT", "START", "SUCCESSFUL",
    "SYNONYM", "SYSDATE", "TABLE", "THEN", "TO", "TRIGGER", "UID", "UNION", "UNIQUE",
    "UPDATE", "USER", "VALIDATE", "VALUES", "VARCHAR", "VARCHAR2", "VIEW", "WHENEVER",
    "WHERE", "WITH"};

class Parser {
public:
    explicit Parser(std::string_view text) : m_text(text), m_tokens(tokenize(text)) {}

    Statement statement()
    {
        Statement st = dispatch();
        expectEnd();
        st.schemas = std::move(m_schemas);
        return st;
    }

    ExprPtr lone()
    {
        ExprPtr e = expression();
        expectEnd();
        return e;
    }

private:
    // ---- token access -------------------------------------------------
    const Token &cur() const { return m_tokens[m_pos]; }
    const Token &next() const { return m_tokens[std::min(m_pos + 1, m_tokens.size() - 1)]; }
    const Token &take() { return m_tokens[m_pos < m_tokens.size() - 1 ? m_pos++ : m_pos]; }
    bool atWord(std::string_view w) const { return cur().isWord(w); }
    bool atOp(std::string_view op) const { return cur().isOp(op); }
    bool acceptWord(std::string_view w)
    {
        if (!atWord(w))
            return false;
        ++m_pos;
        return true;
    }
    bool acceptOp(std::string_view op)
    {
        if (!atOp(op))
            return false;
        ++m_pos;
        return true;
    }
    void expectWord(std::string_view w, int code)
    {
        if (!acceptWord(w))
            throw SqlError(code);
    }
    void expectOp(std::string_view op, int code)
    {
        if (!acceptOp(op))
            throw SqlError(code);
    }
    void expectEnd()
    {
        if (cur().kind != TokenKind::End)
            throw SqlError(ora::kNotEnded);
    }

    bool atName() const
    {
        return cur().kind == TokenKind::QuotedIdentifier
            || (cur().kind == TokenKind::Identifier && !isReservedWord(cur().value));
    }
    std::string name(int code)
    {
        if (!atName())
            throw SqlError(code);
        return take().value;
    }

    // ---- statements ----------------------------------------------------
    Statement dispatch()
    {
        if (atWord("SELECT"))
            return wrap(StatementKind::Select, &Statement::select, select());
        if (acceptWord("INSERT"))
            return wrap(StatementKind::Insert, &Statement::insert, insert());
        if (acceptWord("UPDATE"))
            return wrap(StatementKind::Update, &Statement::update, update());
        if (acceptWord("DELETE"))
            return wrap(StatementKind::Delete, &Statement::remove, remove());
        if (acceptWord("TRUNCATE"))
            return wrap(StatementKind::Truncate, &Statement::truncate, truncate());
        if (acceptWord("CREATE"))
            return create();
        if (acceptWord("DROP"))
            return wrap(StatementKind::Drop, &Statement::drop, drop());
        if (acceptWord("COMMIT")) {
            acceptWord("WORK");
            return Statement(StatementKind::Commit);
        }
        if (acceptWord("ROLLBACK")) {
            acceptWord("WORK");
            return Statement(StatementKind::Rollback);
        }
        throw SqlError(ora::kInvalidStatement);
    }

    template <typename T>
    static Statement wrap(StatementKind kind, std::unique_ptr<T> Statement::*member, std::unique_ptr<T> body)
    {
        Statement st(kind);
        st.*member = std::move(body);
        return st;
    }

    std::unique_ptr<SelectStmt> select()
    {
        expectWord("SELECT", ora::kMissingSelect);
        auto s = std::make_unique<SelectStmt>();
        if (acceptWord("DISTINCT") || acceptWord("UNIQUE"))
            s->distinct = true;
        else
            acceptWord("ALL");
        do {
            s->items.push_back(selectItem());
        } while (acceptOp(","));
        expectWord("FROM", ora::kMissingFrom);
        s->from = tableRef(true);
        if (acceptWord("WHERE"))
            s->where = condition();
        if (acceptWord("ORDER")) {
            expectWord("BY", ora::kMissingBy);
            do {
                s->orderBy.push_back(orderItem());
            } while (acceptOp(","));
        }
        return s;
    }

    SelectItem selectItem()
    {
        SelectItem item;
        const size_t begin = cur().begin;
        if (acceptOp("*")) {
            item.sourceText = "*";
            return item;
        }
        if ((cur().kind == TokenKind::Identifier || cur().kind == TokenKind::QuotedIdentifier)
            && next().isOp(".") && m_tokens[m_pos + 2].isOp("*")) {
            item.qualifier = take().value;
            m_pos += 2;
            item.sourceText.assign(m_text.substr(begin, m_tokens[m_pos - 1].end - begin));
            return item;
        }
        item.expr = expression();
        item.sourceText.assign(m_text.substr(begin, m_tokens[m_pos - 1].end - begin));
        if (acceptWord("AS"))
            item.alias = name(ora::kMissingExpression);
        else if (atName())
            item.alias = take().value;
        return item;
    }

    TableRef tableRef(bool allowAlias)
    {
        TableRef ref;
        ref.name = name(ora::kInvalidTableName);
        if (acceptOp(".")) {
            ref.schema = std::move(ref.name);
            ref.name = name(ora::kInvalidTableName);
            m_schemas.push_back(ref.schema);
        }
        if (allowAlias && atName())
            ref.alias = take().value;
        return ref;
    }

    OrderItem orderItem()
    {
        OrderItem o;
        o.expr = expression();
        if (acceptWord("DESC"))
            o.descending = true;
        else
            acceptWord("ASC");
        if (acceptWord("NULLS")) {
            if (acceptWord("FIRST"))
                o.nullsFirst = true;
            else if (acceptWord("LAST"))
                o.nullsFirst = false;
            else
                throw SqlError(ora::kMissingKeyword);
        }
        return o;
    }

    std::unique_ptr<InsertStmt> insert()
    {
        expectWord("INTO", ora::kMissingInto);
        auto s = std::make_unique<InsertStmt>();
        s->table = tableRef(false);
        if (acceptOp("(")) {
            do {
                s->columns.push_back(name(ora::kInvalidIdentifier));
            } while (acceptOp(","));
            expectOp(")", ora::kMissingRightParen);
        }
        expectWord("VALUES", ora::kMissingValues);
        expectOp("(", ora::kMissingLeftParen);
        do {
            s->values.push_back(expression());
        } while (acceptOp(","));
        if (!acceptOp(")"))
            throw SqlError(atEnd() ? ora::kMissingRightParen : ora::kMissingComma);
        return s;
    }

    bool atEnd() const { return cur().kind == TokenKind::End; }

    std::unique_ptr<UpdateStmt> update()
    {
        auto s = std::make_unique<UpdateStmt>();
        s->table = tableRef(true);
        expectWord("SET", 971);
        do {
            Assignment a;
            a.column = name(ora::kInvalidIdentifier);
            if (acceptOp(".")) // alias.column
                a.column = name(ora::kInvalidIdentifier);
            expectOp("=", ora::kMissingEquals);
            a.value = expression();
            s->sets.push_back(std::move(a));
        } while (acceptOp(","));
        if (acceptWord("WHERE"))
            s->where = condition();
        return s;
    }

    std::unique_ptr<DeleteStmt> remove()
    {
        auto s = std::make_unique<DeleteStmt>();
        acceptWord("FROM");
        s->table = tableRef(true);
        if (acceptWord("WHERE"))
            s->where = condition();
        return s;
    }

    std::unique_ptr<TruncateStmt> truncate()
    {
        expectWord("TABLE", 3290);
        auto s = std::make_unique<TruncateStmt>();
        s->table = tableRef(false).name;
        return s;
    }

    std::unique_ptr<DropStmt> drop()
    {
        auto s = std::make_unique<DropStmt>();
        if (acceptWord("VIEW")) {
            s->view = true;
            s->name = tableRef(false).name;
            return s;
        }
        expectWord("TABLE", 950);
        s->name = tableRef(false).name;
        if (acceptWord("CASCADE"))
            expectWord("CONSTRAINTS", 905);
        acceptWord("PURGE");
        return s;
    }

    Statement create()
    {
        bool orReplace = false;
        if (acceptWord("OR")) {
            expectWord("REPLACE", 922);
            orReplace = true;
        }
        if (!orReplace && acceptWord("TABLE"))
            return wrap(StatementKind::CreateTable, &Statement::createTable, createTable());
        if (acceptWord("VIEW")) {
            auto v = createView();
            v->orReplace = orReplace;
            return wrap(StatementKind::CreateView, &Statement::createView, std::move(v));
        }
        throw SqlError(ora::kCreateKeyword);
    }

    std::unique_ptr<CreateTableStmt> createTable()
    {
        auto s = std::make_unique<CreateTableStmt>();
        s->name = tableRef(false).name;
        expectOp("(", ora::kMissingLeftParen);
        do {
            if (atWord("CONSTRAINT") || atWord("PRIMARY") || atWord("UNIQUE") || atWord("CHECK")
                || atWord("FOREIGN"))
                s->constraints.push_back(tableConstraint());
            else
                s->columns.push_back(columnDef(&s->constraints));
        } while (acceptOp(","));
        expectOp(")", ora::kMissingRightParen);
        return s;
    }

    ColumnDef columnDef(std::vector<ConstraintDef> *constraints)
    {
        ColumnDef c;
        c.name = name(ora::kInvalidIdentifier);
        c.type = typeSpec();
        for (;;) {
            if (acceptWord("DEFAULT")) {
                const size_t begin = cur().begin;
                c.defaultExpr = expression();
                c.defaultText.assign(m_text.substr(begin, m_tokens[m_pos - 1].end - begin));
                continue;
            }
            std::string constraintName;
            if (acceptWord("CONSTRAINT"))
                constraintName = name(ora::kInvalidIdentifier);
            ConstraintDef def{constraintName, ConstraintKind::NotNull, {c.name}};
            if (acceptWord("NOT")) {
                expectWord("NULL", ora::kMissingNull);
            } else if (acceptWord("NULL")) {
                if (!constraintName.empty())
                    throw SqlError(ora::kMissingOption);
                continue;
            } else if (acceptWord("PRIMARY")) {
                expectWord("KEY", ora::kMissingKeyword);
                def.kind = ConstraintKind::PrimaryKey;
            } else if (acceptWord("UNIQUE")) {
                def.kind = ConstraintKind::Unique;
            } else if (atWord("CHECK") || atWord("REFERENCES")) {
                throw SqlError(ora::kUnsupportedFeature);
            } else {
                if (!constraintName.empty())
                    throw SqlError(ora::kMissingOption);
                return c;
            }
            constraints->push_back(std::move(def));
        }
    }

    TypeSpec typeSpec()
    {
        if (cur().kind != TokenKind::Identifier)
            throw SqlError(ora::kInvalidDatatype);
        TypeSpec t;
        t.name = take().value;
        if (t.name == "VARCHAR2" || t.name == "VARCHAR" || t.name == "RAW") {
            expectOp("(", ora::kMissingLeftParen);
            t.length = integer();
            if (t.name != "RAW" && !acceptWord("BYTE"))
                acceptWord("CHAR");
            expectOp(")", ora::kMissingRightParen);
            if (t.name == "VARCHAR")
                t.name = "VARCHAR2";
        } else if (t.name == "CHAR" || t.name == "CHARACTER" || t.name == "TIMESTAMP") {
            if (acceptOp("(")) {
                t.length = integer();
                if (t.name != "TIMESTAMP" && !acceptWord("BYTE"))
                    acceptWord("CHAR");
                expectOp(")", ora::kMissingRightParen);
            }
            if (t.name == "CHARACTER")
                t.name = "CHAR";
        } else if (t.name == "NUMBER" || t.name == "DECIMAL" || t.name == "NUMERIC") {
            if (acceptOp("(")) {
                if (acceptOp("*"))
                    t.starPrecision = true;
                else
                    t.precision = integer();
                if (acceptOp(","))
                    t.scale = signedInteger();
                expectOp(")", ora::kMissingRightParen);
            }
            if (t.name != "NUMBER" && !t.scale)
                t.scale = 0;
            t.name = "NUMBER";
        } else if (t.name == "INTEGER" || t.name == "INT" || t.name == "SMALLINT") {
            t.name = "NUMBER";
            t.starPrecision = true;
            t.scale = 0;
        } else if (t.name == "LONG") {
            acceptWord("VARCHAR");
        } else if (t.name != "DATE") {
            throw SqlError(ora::kInvalidDatatype);
        }
        return t;
    }

    int integer()
    {
        if (cur().kind != TokenKind::Number
            || cur().value.find_first_not_of("0123456789") != std::string::npos
            || cur().value.size() > 9)
            throw SqlError(2017); // integer value required
        return std::stoi(take().value);
    }

    int signedInteger()
    {
        const bool negative = acceptOp("-");
        if (!negative)
            acceptOp("+");
        const int v = integer();
        return negative ? -v : v;
    }

    ConstraintDef tableConstraint()
    {
        ConstraintDef def;
        if (acceptWord("CONSTRAINT"))
            def.name = name(ora::kInvalidIdentifier);
        if (acceptWord("PRIMARY")) {
            expectWord("KEY", ora::kMissingKeyword);
            def.kind = ConstraintKind::PrimaryKey;
        } else if (acceptWord("UNIQUE")) {
            def.kind = ConstraintKind::Unique;
        } else if (atWord("CHECK") || atWord("FOREIGN")) {
            throw SqlError(ora::kUnsupportedFeature);
        } else {
            throw SqlError(ora::kMissingKeyword);
        }
        expectOp("(", ora::kMissingLeftParen);
        do {
            def.columns.push_back(name(ora::kInvalidIdentifier));
        } while (acceptOp(","));
        expectOp(")", ora::kMissingRightParen);
        return def;
    }

    std::unique_ptr<CreateViewStmt> createView()
    {
        auto v = std::make_unique<CreateViewStmt>();
        v->name = tableRef(false).name;
        if (acceptOp("(")) {
            do {
                v->columns.push_back(name(ora::kInvalidIdentifier));
            } while (acceptOp(","));
            expectOp(")", ora::kMissingRightParen);
        }
        expectWord("AS", ora::kMissingKeyword);
        const size_t begin = cur().begin;
        v->query = select();
        v->queryText.assign(m_text.substr(begin, m_tokens[m_pos - 1].end - begin));
        return v;
    }

    // ---- conditions ---------------------------------------------------
    ExprPtr condition()
    {
        ExprPtr left = andCondition();
        while (atWord("OR")) {
            ++m_pos;
            left = binaryNode(ExprKind::Or, std::move(left), andCondition(), "OR");
        }
        return left;
    }

    ExprPtr andCondition()
    {
        ExprPtr left = notCondition();
        while (atWord("AND")) {
            ++m_pos;
            left = binaryNode(ExprKind::And, std::move(left), notCondition(), "AND");
        }
        return left;
    }

    ExprPtr notCondition()
    {
        const Nesting guard(&m_nesting);
        if (atWord("NOT")) {
            const size_t begin = cur().begin;
            ++m_pos;
            auto e = std::make_unique<Expr>(ExprKind::Not);
            e->args.push_back(notCondition());
            e->begin = begin;
            e->end = e->args[0]->end;
            setDepth(e.get());
            return e;
        }
        if (atOp("(")) {
            // "(" opens either a nested condition or an expression such as
            // (A + B) > 3: try the condition first and fall back.
            const size_t saved = m_pos;
            try {
                ++m_pos;
                ExprPtr inner = condition();
                if (acceptOp(")") && !continuesPredicate())
                    return inner;
            } catch (const SqlError &) {
            }
            m_pos = saved;
        }
        return predicate();
    }

    bool continuesPredicate() const
    {
        static constexpr std::string_view ops[] = {"=", "<>", "!=", "^=", "<", "<=", ">", ">=",
                                                    "+", "-", "*", "/", "||"};
        for (auto op : ops)
            if (atOp(op))
                return true;
        return atWord("IS") || atWord("LIKE") || atWord("IN") || atWord("BETWEEN")
            || (atWord("NOT") && (next().isWord("LIKE") || next().isWord("IN") || next().isWord("BETWEEN")));
    }

    ExprPtr predicate()
    {
        ExprPtr left = expression();
        static constexpr std::string_view compares[] = {"=", "<>", "!=", "^=", "<=", ">=", "<", ">"};
        for (auto op : compares) {
            if (atOp(op)) {
                ++m_pos;
                std::string canonical(op == "!=" || op == "^=" ? "<>" : op);
                return binaryNode(ExprKind::Compare, std::move(left), expression(), canonical);
            }
        }
        if (acceptWord("IS")) {
            auto e = std::make_unique<Expr>(ExprKind::IsNull);
            e->negated = acceptWord("NOT");
            expectWord("NULL", ora::kMissingNull);
            e->begin = left->begin;
            e->end = m_tokens[m_pos - 1].end;
            e->args.push_back(std::move(left));
            setDepth(e.get());
            return e;
        }
        const bool negated = acceptWord("NOT");
        ExprPtr e;
        if (acceptWord("LIKE")) {
            e = std::make_unique<Expr>(ExprKind::Like);
            e->args.push_back(std::move(left));
            e->args.push_back(expression());
            if (acceptWord("ESCAPE"))
                e->args.push_back(expression());
        } else if (acceptWord("IN")) {
            e = std::make_unique<Expr>(ExprKind::In);
            e->args.push_back(std::move(left));
            expectOp("(", ora::kMissingLeftParen);
            do {
                e->args.push_back(expression());
            } while (acceptOp(","));
            expectOp(")", ora::kMissingRightParen);
        } else if (acceptWord("BETWEEN")) {
            e = std::make_unique<Expr>(ExprKind::Between);
            e->args.push_back(std::move(left));
            e->args.push_back(expression());
            expectWord("AND", ora::kMissingKeyword);
            e->args.push_back(expression());
        } else {
            throw SqlError(ora::kInvalidRelOp);
        }
        e->negated = negated;
        e->begin = e->args[0]->begin;
        e->end = m_tokens[m_pos - 1].end;
        setDepth(e.get());
        return e;
    }

    // ---- expressions --------------------------------------------------
    static void setDepth(Expr *e)
    {
        for (const auto &a : e->args)
            e->depth = std::max(e->depth, a->depth + 1);
        if (e->depth > kMaxDepth)
            throw SqlError(ora::kUnsupportedFeature);
    }

    // Guards the recursion of one nested construct.
    struct Nesting {
        explicit Nesting(int *depth) : m_depth(depth)
        {
            if (++*m_depth > kMaxDepth)
                throw SqlError(ora::kUnsupportedFeature);
        }
        ~Nesting() { --*m_depth; }
        int *m_depth;
    };

    static ExprPtr binaryNode(ExprKind kind, ExprPtr a, ExprPtr b, std::string op)
    {
        auto e = std::make_unique<Expr>(kind);
        e->text = std::move(op);
        e->begin = a->begin;
        e->end = b->end;
        e->args.push_back(std::move(a));
        e->args.push_back(std::move(b));
        setDepth(e.get());
        return e;
    }

    ExprPtr expression()
    {
        ExprPtr left = term();
        while (atOp("+") || atOp("-") || atOp("||")) {
            std::string op = take().value;
            left = binaryNode(ExprKind::Binary, std::move(left), term(), op);
        }
        return left;
    }

    ExprPtr term()
    {
        ExprPtr left = factor();
        while (atOp("*") || atOp("/")) {
            std::string op = take().value;
            left = binaryNode(ExprKind::Binary, std::move(left), factor(), op);
        }
        return left;
    }

    ExprPtr factor()
    {
        const Nesting guard(&m_nesting);
        if (atOp("-") || atOp("+")) {
            const size_t begin = cur().begin;
            const bool minus = take().value == "-";
            ExprPtr inner = factor();
            if (!minus)
                return inner;
            auto e = std::make_unique<Expr>(ExprKind::Negate);
            e->begin = begin;
            e->end = inner->end;
            e->args.push_back(std::move(inner));
            setDepth(e.get());
            return e;
        }
        return primary();
    }

    ExprPtr leaf(ExprKind kind)
    {
        auto e = std::make_unique<Expr>(kind);
        e->begin = cur().begin;
        e->end = cur().end;
        e->text = take().value;
        return e;
    }

    ExprPtr primary()
    {
        switch (cur().kind) {
        case TokenKind::Number:
            return leaf(ExprKind::Number);
        case TokenKind::String:
            return leaf(ExprKind::String);
        case TokenKind::Bind:
            return leaf(ExprKind::Bind);
        case TokenKind::QuotedIdentifier:
            return columnRef();
        case TokenKind::Identifier:
            break;
        default:
            if (atOp("(")) {
                const size_t begin = cur().begin;
                ++m_pos;
                ExprPtr inner = expression();
                expectOp(")", ora::kMissingRightParen);
                inner->begin = begin;
                inner->end = m_tokens[m_pos - 1].end;
                return inner;
            }
            throw SqlError(ora::kMissingExpression);
        }
        if (atWord("NULL"))
            return leaf(ExprKind::Null);
        if (next().isOp("("))
            return functionCall();
        if (atWord("SYSDATE") || atWord("USER") || atWord("ROWNUM")) {
            auto e = leaf(ExprKind::Function);
            return e;
        }
        if (isReservedWord(cur().value))
            throw SqlError(ora::kMissingExpression);
        return columnRef();
    }

    ExprPtr columnRef()
    {
        auto e = leaf(ExprKind::Column);
        if (atOp(".") && (next().kind == TokenKind::Identifier || next().kind == TokenKind::QuotedIdentifier)) {
            ++m_pos;
            e->qualifier = std::move(e->text);
            e->text = take().value;
            e->end = m_tokens[m_pos - 1].end;
        }
        return e;
    }

    ExprPtr functionCall()
    {
        auto e = leaf(ExprKind::Function);
        ++m_pos; // "("
        if (acceptOp("*")) {
            e->star = true;
        } else if (!atOp(")")) {
            do {
                e->args.push_back(expression());
            } while (acceptOp(","));
        }
        expectOp(")", ora::kMissingRightParen);
        e->end = m_tokens[m_pos - 1].end;
        setDepth(e.get());
        return e;
    }

    std::string_view m_text;
    std::vector<Token> m_tokens;
    size_t m_pos = 0;
    std::vector<std::string> m_schemas;
    int m_nesting = 0;
};

} // namespace

Statement parseStatement(std::string_view text)
{
    return Parser(text).statement();
}

ExprPtr parseExpression(std::string_view text)
{
    return Parser(text).lone();
}

bool isReservedWord(std::string_view word)
{
    return std::find(std::begin(kReserved), std::end(kReserved), word) != std::end(kReserved);
}

} // namespace kdb::sql
