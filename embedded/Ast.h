#pragma once
// The parsed form of the statements the engine accepts. Names are stored as
// Oracle stores them: unquoted ones upper-cased, quoted ones as written.
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kdb::sql {

struct Expr;
using ExprPtr = std::unique_ptr<Expr>;

enum class ExprKind {
    Column,    // [qualifier.]name
    String,    // 'text'
    Number,    // 12.5
    Null,      // NULL
    Bind,      // :1, :NAME
    Negate,    // -a
    Binary,    // a op b, op one of + - * / ||
    Function,  // NAME(args) or NAME(*) for COUNT(*); SYSDATE and USER too
    // Conditions: a boolean value where a WHERE clause wants one.
    And, Or, Not,
    Compare,   // a op b, op one of = <> < <= > >=
    IsNull,    // a IS [NOT] NULL (negated)
    Like,      // a [NOT] LIKE b [ESCAPE c]
    In,        // a [NOT] IN (b, c, ...)
    Between    // a [NOT] BETWEEN b AND c
};

struct Expr {
    ExprKind kind;
    std::string text;       // column or function name, literal text, bind name, operator
    std::string qualifier;  // table or alias before a column name
    bool star = false;      // COUNT(*)
    bool negated = false;   // NOT LIKE, NOT IN, NOT BETWEEN, IS NOT NULL
    std::vector<ExprPtr> args;
    size_t begin = 0;       // source span
    size_t end = 0;
    int depth = 1;          // height of the tree below, this node included

    explicit Expr(ExprKind k) : kind(k) {}
};

struct TableRef {
    std::string schema; // SCHEMA of SCHEMA.NAME; empty when not given
    std::string name;
    std::string alias;
};

struct SelectItem {
    ExprPtr expr;          // null for "*"
    std::string alias;     // as written after AS, normalised
    std::string qualifier; // "X" of X.*
    std::string sourceText;// the item as written, for its describe name
};

struct OrderItem {
    ExprPtr expr;
    bool descending = false;
    std::optional<bool> nullsFirst;
};

struct SelectStmt {
    bool distinct = false;
    std::vector<SelectItem> items;
    TableRef from;
    ExprPtr where;
    std::vector<OrderItem> orderBy;
};

struct InsertStmt {
    TableRef table;
    std::vector<std::string> columns; // empty: all, in table order
    std::vector<ExprPtr> values;
};

struct Assignment {
    std::string column;
    ExprPtr value;
};

struct UpdateStmt {
    TableRef table;
    std::vector<Assignment> sets;
    ExprPtr where;
};

struct DeleteStmt {
    TableRef table;
    ExprPtr where;
};

struct TruncateStmt {
    std::string table;
};

struct TypeSpec {
    std::string name;          // VARCHAR2, CHAR, NUMBER, INTEGER, DATE, LONG, RAW, TIMESTAMP
    std::optional<int> length; // VARCHAR2(n), CHAR(n), RAW(n), TIMESTAMP(n)
    std::optional<int> precision;
    std::optional<int> scale;
    bool starPrecision = false; // NUMBER(*, s)
};

enum class ConstraintKind { PrimaryKey, Unique, NotNull };

struct ConstraintDef {
    std::string name; // empty: the engine names it SYS_Cnnnnnn
    ConstraintKind kind;
    std::vector<std::string> columns;
};

struct ColumnDef {
    std::string name;
    TypeSpec type;
    std::string defaultText; // the DEFAULT expression as written; empty when none
    ExprPtr defaultExpr;
};

struct CreateTableStmt {
    std::string name;
    std::vector<ColumnDef> columns;
    std::vector<ConstraintDef> constraints; // column and table constraints alike
};

struct CreateViewStmt {
    std::string name;
    bool orReplace = false;
    std::vector<std::string> columns;
    std::unique_ptr<SelectStmt> query;
    std::string queryText; // the text after AS
};

struct DropStmt {
    bool view = false;
    std::string name;
};

enum class StatementKind { Select, Insert, Update, Delete, Truncate, CreateTable, CreateView, Drop, Commit, Rollback };

struct Statement {
    explicit Statement(StatementKind k) : kind(k) {}
    StatementKind kind;
    std::vector<std::string> schemas; // every SCHEMA. qualifier of a table name
    std::unique_ptr<SelectStmt> select;
    std::unique_ptr<InsertStmt> insert;
    std::unique_ptr<UpdateStmt> update;
    std::unique_ptr<DeleteStmt> remove;
    std::unique_ptr<TruncateStmt> truncate;
    std::unique_ptr<CreateTableStmt> createTable;
    std::unique_ptr<CreateViewStmt> createView;
    std::unique_ptr<DropStmt> drop;
};

} // namespace kdb::sql
