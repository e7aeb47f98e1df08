// The parser on its own: what it accepts and the Oracle number of what it
// refuses.
#include "embedded/Lexer.h"
#include "embedded/Parser.h"
#include "embedded/SqlError.h"

#include <gtest/gtest.h>

using namespace kdb;

namespace {

int parseError(std::string_view text)
{
    try {
        sql::parseStatement(text);
        return 0;
    } catch (const SqlError &e) {
        return e.code();
    }
}

TEST(Parser, AcceptsTheStatementsTheProgramAndPeopleSend)
{
    const char *accepted[] = {
        "select ID,'\"'||NAME||'\"','\"' || to_char(CREATED,'yyyy-mm-dd') || '\"' from ITEMS",
        "select ''''||NAME||'''' from ITEMS",
        "select column_name, data_type, data_length, data_precision, data_scale from user_tab_columns "
        "where table_name = 'ITEMS'order by column_id",
        "SELECT COLUMN_NAME, DATA_TYPE from user_tab_columns WHERE TABLE_NAME = 'EMP'",
        "select TABLE_name from user_TABLEs",
        "select count(*) from emp",
        "select ID,NAME,to_char(CREATED,'yyyy-mm-dd') from ITEMS where rownum <= 30",
        "INSERT INTO EMP(EMPNO,HIREDATE,ENAME)VALUES(:1,TO_DATE(:2, 'yyyy-mm-dd hh24:mi:ss'),:3)",
        "truncate table emp",
        "SELECT DISTINCT a.x AS \"Mixed\", -b * (c + 1) / 2 FROM t a WHERE NOT (x > 1 OR y IS NOT NULL) "
        "AND z NOT LIKE 'a\\%' ESCAPE '\\' AND w NOT IN (1, 2) AND v BETWEEN :lo AND :hi ORDER BY 1 DESC NULLS LAST, 2",
        "SELECT * FROM t WHERE (a + 1) * 2 > 3 -- a comment\n",
        "UPDATE t SET a = a + 1, b = NULL WHERE c = :1",
        "DELETE FROM t WHERE a = 1",
        "delete t",
        "CREATE TABLE t (a NUMBER(10,2) DEFAULT 0 NOT NULL, b VARCHAR2(20 BYTE) CONSTRAINT t_u UNIQUE, "
        "c CHAR, d DATE DEFAULT SYSDATE, e INTEGER, f LONG, g RAW(16), h TIMESTAMP, CONSTRAINT t_pk PRIMARY KEY (a, c))",
        "create or replace view v (x, y) as select a, b from t",
        "DROP TABLE t CASCADE CONSTRAINTS PURGE",
        "drop view v",
        "commit work",
        "ROLLBACK",
    };
    for (const char *text : accepted)
        EXPECT_EQ(parseError(text), 0) << text;
}

TEST(Parser, RefusesWithOraclesNumbers)
{
    using namespace std::string_view_literals;
    struct Case {
        std::string_view text;
        int code;
    } cases[] = {
        {"SELECT * FROM t;", 911},
        {"SELECT TO_CHAR(d, 'YYYY\0MM') FROM t"sv, 911},
        {"SELECT \"A\0B\" FROM t"sv, 911},
        {"SELECT * FROM t WHERE a = 1; DROP TABLE t", 911},
        {"SELECT * FROM t garbage more", 933},
        {"COMMIT now", 933},
        {"ATTACH DATABASE 'f' AS g", 900},
        {"PRAGMA writable_schema = 1", 900},
        {"", 900},
        {"SELECT FROM t", 936},
        {"SELECT a b c FROM t", 923},
        {"SELECT * FROM", 903},
        {"SELECT * FROM t ORDER a", 924},
        {"SELECT (a FROM t", 907},
        {"SELECT * FROM t WHERE a", 920},
        {"INSERT t VALUES (1)", 925},
        {"INSERT INTO t (a) (1)", 926},
        {"INSERT INTO t VALUES (1 2)", 917},
        {"UPDATE t SET a 1", 927},
        {"CREATE INDEX i ON t (a)", 901},
        {"CREATE TABLE t (a BLOBBY)", 902},
        {"CREATE TABLE t (a VARCHAR2)", 906},
        {"SELECT 'abc FROM t", 1756},
        {"SELECT \"abc FROM t", 1740},
        {"SELECT \"\" FROM t", 1741},
        {"SELECT a123456789012345678901234567890 FROM t", 972},
        {"SELECT a FROM t WHERE b = ?", 911},
    };
    for (const auto &c : cases)
        EXPECT_EQ(parseError(c.text), c.code) << c.text;

    // Nesting too deep for the stack is refused, not followed.
    const std::string parens = "SELECT " + std::string(100000, '(') + "1" + std::string(100000, ')') + " FROM DUAL";
    EXPECT_EQ(parseError(parens.c_str()), 3001);
    std::string sum = "SELECT 1";
    for (int i = 0; i < 100000; ++i)
        sum += "+1";
    EXPECT_EQ(parseError((sum + " FROM DUAL").c_str()), 3001);
    std::string nots = "SELECT 1 FROM DUAL WHERE ";
    for (int i = 0; i < 100000; ++i)
        nots += "NOT ";
    EXPECT_EQ(parseError((nots + "1 = 1").c_str()), 3001);
}

TEST(Parser, NamesAndTextsAreNormalisedAsOracleDoes)
{
    const sql::Statement st = sql::parseStatement("select \"Mixed\", plain, 'lit''s' x from \"low\" where a = :b1");
    ASSERT_EQ(st.select->items.size(), 3u);
    EXPECT_EQ(st.select->items[0].expr->text, "Mixed");
    EXPECT_EQ(st.select->items[1].expr->text, "PLAIN");
    EXPECT_EQ(st.select->items[2].expr->text, "lit's");
    EXPECT_EQ(st.select->items[2].alias, "X");
    EXPECT_EQ(st.select->from.name, "low");
    EXPECT_EQ(st.select->where->args[1]->text, "B1");
    EXPECT_EQ(sql::upperOutsideQuotes("to_char(d,'yyyy') || \"x\""), "TO_CHAR(D,'yyyy') || \"x\"");
}

} // namespace
