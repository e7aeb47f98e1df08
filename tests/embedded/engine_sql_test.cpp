// The SQL the engine answers, as one script of statements with the rows or
// the Oracle error each must give. Later steps rely on earlier ones.
#include "EngineClient.h"

#include <cstdio>

using namespace enginetest;

namespace {

struct Step {
    const char *sql;
    Rows rows; // expected rows of a query; ignored for other statements
    int error = 0;
};

const std::string N = kNull;

const Step kScript[] = {
    {"CREATE TABLE T (ID NUMBER(5) PRIMARY KEY, NAME VARCHAR2(10), AMT NUMBER(7,2), D DATE, C CHAR(3))", {}},
    {"INSERT INTO T VALUES (1, 'alpha', 10.5, TO_DATE('2001-04-01 13:05:00', 'YYYY-MM-DD HH24:MI:SS'), 'ab')", {}},
    {"INSERT INTO T (ID, NAME) VALUES (2, 'beta')", {}},
    {"insert into t values (3, 'Gamma', -0.5, to_date('1999-12-31', 'YYYY-MM-DD'), 'xyz')", {}},
    {"INSERT INTO T VALUES (4, '', 0, NULL, NULL)", {}},

    // Values as text: CHAR keeps its padding, numbers in Oracle's short form,
    // the empty string stored as NULL.
    {"SELECT ID, NAME, AMT, C FROM T ORDER BY ID",
     {{"1", "alpha", "10.5", "ab "}, {"2", "beta", N, N}, {"3", "Gamma", "-.5", "xyz"}, {"4", N, "0", N}}},
    {"SELECT * FROM T WHERE ID = 3", {{"3", "Gamma", "-.5", "31-DEC-99", "xyz"}}},
    {"SELECT TO_CHAR(D, 'YYYY-MM-DD HH24:MI:SS') FROM T WHERE ID = 1", {{"2001-04-01 13:05:00"}}},
    // The ISO formats in any letter case, a year under 1000 kept at four
    // digits, and a near miss (12-hour clock) that must not pass for ISO.
    {"SELECT TO_CHAR(D, 'yyyy-MM-dd'), TO_CHAR(D, 'Yyyy-Mm-Dd Hh24:Mi:Ss'), TO_CHAR(D, 'YYYY-MM-DD HH:MI:SS'), "
     "TO_CHAR(TO_DATE('0087-02-03', 'YYYY-MM-DD'), 'YYYY-MM-DD') FROM T WHERE ID = 1",
     {{"2001-04-01", "2001-04-01 13:05:00", "2001-04-01 01:05:00", "0087-02-03"}}},
    // Texts around a value, as an export quotes them: NULL counts as empty,
    // CHAR keeps its blanks, either grouping, and nothing around NULL is NULL.
    {"SELECT '\"' || NAME || '\"', '\"' || C || '\"', '<' || (NAME || '>'), '' || NAME || '', "
     "'\"' || TO_CHAR(D, 'YYYY-MM-DD') || '\"' FROM T WHERE ID IN (1, 2)",
     {{"\"alpha\"", "\"ab \"", "<alpha>", "alpha", "\"2001-04-01\""}, {"\"beta\"", "\"\"", "<beta>", "beta", "\"\""}}},
    {"SELECT '[' || NAME || ']' FROM T WHERE ID = 4", {{"[]"}}},
    {"SELECT DISTINCT '[' || C || ']' FROM T ORDER BY 1", {{"[]"}, {"[ab ]"}, {"[xyz]"}}},
    {"SELECT ID FROM T WHERE NAME IS NULL", {{"4"}}},
    {"SELECT ID FROM T WHERE NAME IS NOT NULL AND C IS NULL", {{"2"}}},

    // Comparison and order follow the types: numbers by value, text by
    // bytes, NULL last.
    {"SELECT ID FROM T WHERE AMT > 9", {{"1"}}},
    {"SELECT ID FROM T ORDER BY AMT", {{"3"}, {"4"}, {"1"}, {"2"}}},
    {"SELECT NAME FROM T ORDER BY NAME", {{"Gamma"}, {"alpha"}, {"beta"}, {N}}},
    {"SELECT ID FROM T ORDER BY ID DESC", {{"4"}, {"3"}, {"2"}, {"1"}}},
    {"SELECT ID FROM T WHERE D > TO_DATE('2000-01-01', 'YYYY-MM-DD')", {{"1"}}},
    {"SELECT ID FROM T WHERE NAME LIKE 'G%'", {{"3"}}},
    {"SELECT COUNT(*) FROM T WHERE NAME LIKE 'g%'", {{"0"}}},
    {"SELECT ID FROM T WHERE NAME LIKE '_eta'", {{"2"}}},
    {"SELECT ID FROM T WHERE ID IN (1, 3) ORDER BY ID", {{"1"}, {"3"}}},
    {"SELECT ID FROM T WHERE AMT BETWEEN 0 AND 10.5 ORDER BY ID", {{"1"}, {"4"}}},
    {"SELECT ID FROM T WHERE NOT (ID < 3) OR NAME = 'beta' ORDER BY ID", {{"2"}, {"3"}, {"4"}}},
    {"SELECT COUNT(*) FROM T WHERE ROWNUM <= 2", {{"2"}}},
    {"SELECT COUNT(*) FROM T WHERE ROWNUM < 2", {{"1"}}},
    {"SELECT COUNT(*) FROM T", {{"4"}}},

    // Expressions.
    {"SELECT NAME || '-' || ID, UPPER(NAME), LOWER(NAME), LENGTH(NAME), SUBSTR(NAME, 2, 3) FROM T WHERE ID = 3",
     {{"Gamma-3", "GAMMA", "gamma", "5", "amm"}}},
    {"SELECT NVL(NAME, 'none'), NAME || 'x', LENGTH(NAME) FROM T WHERE ID = 4", {{"none", "x", N}}},
    {"SELECT TRIM('  pad  '), 7 * 6, 1 / 4, 10 - 12.5, -(2) FROM DUAL", {{"pad", "42", ".25", "-2.5", "-2"}}},
    {"SELECT TO_NUMBER('1.50'), TO_CHAR(1234.5), AMT + 1 FROM T WHERE ID = 1", {{"1.5", "1234.5", "11.5"}}},
    {"SELECT ID AS X, NAME \"Nice\" FROM T WHERE ID = 2", {{"2", "beta"}}},
    {"select id from t where name = 'alpha'", {{"1"}}},

    // Changes.
    {"UPDATE T SET AMT = AMT * 2 WHERE ID <= 3", {}},
    {"SELECT AMT FROM T ORDER BY ID", {{"21"}, {N}, {"-1"}, {"0"}}},
    {"DELETE FROM T WHERE ID = 2", {}},
    {"SELECT ID FROM T ORDER BY ID", {{"1"}, {"3"}, {"4"}}},

    // Views and the dictionary.
    {"CREATE VIEW V AS SELECT ID, NAME FROM T WHERE ID > 1", {}},
    {"SELECT * FROM V ORDER BY ID", {{"3", "Gamma"}, {"4", N}}},
    {"SELECT VIEW_NAME FROM USER_VIEWS", {{"V"}}},
    {"SELECT TABLE_NAME FROM USER_TABLES", {{"T"}}},
    {"SELECT COLUMN_NAME, DATA_TYPE, DATA_LENGTH, DATA_PRECISION, DATA_SCALE, NULLABLE, COLUMN_ID "
     "FROM USER_TAB_COLUMNS WHERE TABLE_NAME = 'T' ORDER BY COLUMN_ID",
     {{"ID", "NUMBER", "22", "5", "0", "N", "1"},
      {"NAME", "VARCHAR2", "10", N, N, "Y", "2"},
      {"AMT", "NUMBER", "22", "7", "2", "Y", "3"},
      {"D", "DATE", "7", N, N, "Y", "4"},
      {"C", "CHAR", "3", N, N, "Y", "5"}}},
    {"SELECT COLUMN_NAME FROM USER_TAB_COLUMNS WHERE TABLE_NAME = 'V' ORDER BY COLUMN_ID", {{"ID"}, {"NAME"}}},

    // Quoted names keep their case; unquoted ones are upper-cased.
    {"CREATE TABLE \"Mixed\" (\"low\" NUMBER, Up NUMBER DEFAULT 7)", {}},
    {"INSERT INTO \"Mixed\" (\"low\") VALUES (1)", {}},
    {"SELECT \"low\", UP, \"UP\" FROM \"Mixed\"", {{"1", "7", "7"}}},
    {"SELECT low FROM \"Mixed\"", {}, 904},
    {"SELECT * FROM MIXED", {}, 942},

    // Errors of the statement itself.
    {"SELECT * FROM NOPE", {}, 942},
    {"SELECT NOPE FROM T", {}, 904},
    {"FROBNICATE T", {}, 900},
    {"SELECT ID FROM T WHERE ID = 1 1", {}, 933},
    {"SELECT ID FROM T;", {}, 911},
    {"INSERT INTO T (ID) VALUES ('x')", {}, 1722},
    {"DROP TABLE NOPE", {}, 942},

    {"DROP VIEW V", {}},
    {"SELECT * FROM V", {}, 942},
    {"DROP TABLE T", {}},
    {"SELECT * FROM T", {}, 942},
    {"SELECT TABLE_NAME FROM USER_TABLES", {{"Mixed"}}},
};

} // namespace

TEST_F(EngineTest, ScriptOfStatementsGivesTheirRowsOrErrors)
{
    for (const Step &step : kScript) {
        SCOPED_TRACE(step.sql);
        Rows rows;
        int rc = c.run(step.sql, &rows);
        EXPECT_EQ(step.error, rc) << c.message(rc);
        if (rc == 0 && c.cda.ft == OCI_FT_SELECT) {
            EXPECT_EQ(step.rows, rows);
        }
    }
}

TEST_F(EngineTest, FunctionTypeAndRowsProcessed)
{
    exec("CREATE TABLE T (ID NUMBER, NAME VARCHAR2(10))");
    const struct {
        const char *sql;
        int functionType;
        unsigned rows;
    } cases[] = {
        {"INSERT INTO T VALUES (1, 'a')", OCI_FT_INSERT, 1},
        {"INSERT INTO T VALUES (2, 'b')", OCI_FT_INSERT, 1},
        {"INSERT INTO T VALUES (3, 'c')", OCI_FT_INSERT, 1},
        {"UPDATE T SET NAME = 'x' WHERE ID >= 2", OCI_FT_UPDATE, 2},
        {"UPDATE T SET NAME = 'y' WHERE ID > 99", OCI_FT_UPDATE, 0},
        {"SELECT * FROM T", OCI_FT_SELECT, 3},
        {"DELETE FROM T", OCI_FT_DELETE, 3},
    };
    for (const auto &k : cases) {
        SCOPED_TRACE(k.sql);
        EXPECT_EQ(0, exec(k.sql));
        EXPECT_EQ(k.functionType, c.cda.ft);
        EXPECT_EQ(k.rows, c.cda.rpc);
    }
}

TEST_F(EngineTest, NumberedAndNamedBindsAreReadAtExecute)
{
    exec("CREATE TABLE T (ID NUMBER, NAME VARCHAR2(10))");
    ASSERT_EQ(0, oparse(&c.cda, reinterpret_cast<const oci_text *>("INSERT INTO T VALUES (:ID, :NAME)"), -1, 0, 1));
    char id[8] = "1";
    char name[16] = "first";
    ASSERT_EQ(0, obndrv(&c.cda, reinterpret_cast<const oci_text *>(":ID"), -1, reinterpret_cast<oci_ub1 *>(id),
                        sizeof id, OCI_EXT_STRING, -1, nullptr, nullptr, -1, -1));
    ASSERT_EQ(0, obndrv(&c.cda, reinterpret_cast<const oci_text *>(":NAME"), 5, reinterpret_cast<oci_ub1 *>(name),
                        sizeof name, OCI_EXT_STRING, -1, nullptr, nullptr, -1, -1));
    ASSERT_EQ(0, oexec(&c.cda));
    // The same binds, new contents: the buffers are read again.
    std::snprintf(id, sizeof id, "2");
    std::snprintf(name, sizeof name, "second");
    ASSERT_EQ(0, oexec(&c.cda));
    // An indicator of -1 binds NULL whatever the buffer holds.
    oci_sb2 nullIndicator = -1;
    ASSERT_EQ(0, oparse(&c.cda, reinterpret_cast<const oci_text *>("INSERT INTO T VALUES (:1, :2)"), -1, 0, 1));
    ASSERT_EQ(0, obndrn(&c.cda, 1, reinterpret_cast<oci_ub1 *>(id), sizeof id, OCI_EXT_STRING, -1, nullptr, nullptr,
                        0, -1));
    ASSERT_EQ(0, obndrn(&c.cda, 2, reinterpret_cast<oci_ub1 *>(name), sizeof name, OCI_EXT_STRING, -1,
                        &nullIndicator, nullptr, 0, -1));
    std::snprintf(id, sizeof id, "3");
    ASSERT_EQ(0, oexec(&c.cda));
    EXPECT_EQ((Rows{{"1", "first"}, {"2", "second"}, {"3", N}}), query("SELECT ID, NAME FROM T ORDER BY ID"));
}
