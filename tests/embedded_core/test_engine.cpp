// The engine through its 20 calls: statements, values, describe, fetch,
// transactions, logon.
#include "EngineSession.h"

#include "embedded/Admin.h"

#include <cstring>
#include <gtest/gtest.h>
#include <sys/stat.h>

using enginetest::EngineSession;
using enginetest::Rows;

namespace {

const oci_text *text(const char *s) { return reinterpret_cast<const oci_text *>(s); }

class Engine : public ::testing::Test {
protected:
    void SetUp() override
    {
        db = enginetest::newDatabase();
        session = std::make_unique<EngineSession>(db);
        ASSERT_TRUE(session->loggedOn());
        ASSERT_EQ(session->exec("CREATE TABLE ITEMS (ID NUMBER(6) PRIMARY KEY, NAME VARCHAR2(20) NOT NULL,"
                                " PRICE NUMBER(8,2), CODE CHAR(4), CREATED DATE, NOTE VARCHAR2(100) DEFAULT 'none')"),
                  0);
        const char *rows[][5] = {
            {"1", "Pen", "1.5", "AB", "2001-05-01 10:20:30"},
            {"2", "Ink", "-0.25", "", "2001-05-02 00:00:00"},
            {"3", "Pad", "", "XYZW", ""},
            {"10", "ink", "1000", "Q", "1999-12-31 23:59:59"},
        };
        for (auto &r : rows)
            ASSERT_EQ(session->exec("INSERT INTO ITEMS (ID, NAME, PRICE, CODE, CREATED) VALUES "
                                    "(:1, :2, :3, :4, TO_DATE(:5, 'yyyy-mm-dd hh24:mi:ss'))",
                                    {r[0], r[1], r[2], r[3], r[4]}),
                      0);
    }
    std::string db;
    std::unique_ptr<EngineSession> session;
};

TEST_F(Engine, QueriesGiveOraclesResults)
{
    struct Case {
        const char *sql;
        Rows rows;
    } cases[] = {
        {"select ID,'\"'||NAME||'\"','\"' || to_char(CREATED,'yyyy-mm-dd') || '\"' from ITEMS where ID = 1",
         {{"1", "\"Pen\"", "\"2001-05-01\""}}},
        {"SELECT PRICE, CODE, NOTE FROM ITEMS ORDER BY ID", {{"1.5", "AB  ", "none"}, {"-.25", "<NULL>", "none"},
                                                            {"<NULL>", "XYZW", "none"}, {"1000", "Q   ", "none"}}},
        {"SELECT ID FROM ITEMS ORDER BY PRICE", {{"2"}, {"1"}, {"10"}, {"3"}}},
        {"SELECT ID FROM ITEMS ORDER BY PRICE DESC", {{"3"}, {"10"}, {"1"}, {"2"}}},
        {"SELECT ID FROM ITEMS ORDER BY NAME", {{"2"}, {"3"}, {"1"}, {"10"}}},
        {"SELECT ID FROM ITEMS WHERE ID > 2 ORDER BY 1", {{"3"}, {"10"}}},
        {"select count(*) from ITEMS", {{"4"}}},
        {"SELECT COUNT(*) FROM ITEMS WHERE NAME LIKE 'P%'", {{"2"}}},
        {"SELECT ID FROM ITEMS WHERE NAME LIKE '_nk' ORDER BY ID", {{"2"}, {"10"}}},
        {"SELECT ID FROM ITEMS WHERE CODE = 'AB' OR CODE IN ('Q', 'Z')", {{"1"}, {"10"}}},
        {"SELECT ID FROM ITEMS WHERE PRICE BETWEEN 0 AND 2", {{"1"}}},
        {"SELECT ID FROM ITEMS WHERE PRICE IS NULL OR NOT (ID < 10)", {{"3"}, {"10"}}},
        {"SELECT ID FROM ITEMS WHERE PRICE > '1'", {{"1"}, {"10"}}},
        {"SELECT ID FROM ITEMS WHERE CREATED < TO_DATE('2001-01-01', 'YYYY-MM-DD')", {{"10"}}},
        {"select ID,NAME,to_char(CREATED,'yyyy-mm-dd') from ITEMS where rownum <= 2", {{"1", "Pen", "2001-05-01"},
                                                                                       {"2", "Ink", "2001-05-02"}}},
        {"SELECT ID FROM ITEMS WHERE ROWNUM < 2", {{"1"}}},
        {"SELECT NVL(PRICE, 0) + 1, PRICE * 2, ID / 4, -PRICE FROM ITEMS WHERE ID = 3", {{"1", "<NULL>", ".75", "<NULL>"}}},
        {"SELECT UPPER(NAME), LOWER(NAME), LENGTH(NAME), SUBSTR(NAME, 2), SUBSTR(NAME, -2, 1) FROM ITEMS WHERE ID = 1",
         {{"PEN", "pen", "3", "en", "e"}}},
        {"SELECT TRIM('  a b  '), TO_NUMBER('  12.50 '), TO_CHAR(1234.5, '99,999.99'), TO_CHAR(7) FROM DUAL",
         {{"a b", "12.5", "  1,234.50", "7"}}},
        {"SELECT 'x' || NULL || 'y', NULL || NULL, '' FROM DUAL", {{"xy", "<NULL>", "<NULL>"}}},
        {"SELECT CREATED FROM ITEMS WHERE ID = 10", {{"31-DEC-99"}}},
        {"SELECT TO_CHAR(CREATED + 1, 'YYYY-MM-DD HH24:MI:SS'), TO_DATE('2001-05-03','YYYY-MM-DD') - CREATED FROM ITEMS WHERE ID = 2",
         {{"2001-05-03 00:00:00", "1"}}},
        {"select TABLE_name from user_TABLEs", {{"ITEMS"}}},
        {"select column_name, data_type, data_length, data_precision, data_scale from user_tab_columns "
         "where table_name = 'ITEMS'order by column_id",
         {{"ID", "NUMBER", "22", "6", "0"}, {"NAME", "VARCHAR2", "20", "<NULL>", "<NULL>"},
          {"PRICE", "NUMBER", "22", "8", "2"}, {"CODE", "CHAR", "4", "<NULL>", "<NULL>"},
          {"CREATED", "DATE", "7", "<NULL>", "<NULL>"}, {"NOTE", "VARCHAR2", "100", "<NULL>", "<NULL>"}}},
        {"SELECT COLUMN_NAME, NULLABLE FROM USER_TAB_COLUMNS WHERE TABLE_NAME = 'ITEMS' AND COLUMN_ID <= 2 ORDER BY COLUMN_ID",
         {{"ID", "N"}, {"NAME", "N"}}},
        {"SELECT i.ID FROM ITEMS i WHERE i.NAME = 'Pad'", {{"3"}}},
        {"SELECT DISTINCT UPPER(NAME) N FROM ITEMS ORDER BY N", {{"INK"}, {"PAD"}, {"PEN"}}},
    };
    for (const auto &c : cases) {
        int error = -1;
        EXPECT_EQ(session->query(c.sql, &error), c.rows) << c.sql;
        EXPECT_EQ(error, 0) << c.sql;
    }
}

TEST_F(Engine, FailuresGiveOracleNumbersAndTexts)
{
    struct Case {
        const char *sql;
        std::vector<std::string> binds;
        int code;
        const char *message;
    } cases[] = {
        {"SELECT * FROM ITEMS;", {}, 911, "ORA-00911: invalid character"},
        {"SELECT * FROM ITEMS extra words", {}, 933, "ORA-00933: SQL command not properly ended"},
        {"ATTACH DATABASE 'x' AS y", {}, 900, "ORA-00900: invalid SQL statement"},
        {"PRAGMA journal_mode", {}, 900, "ORA-00900: invalid SQL statement"},
        {"SELECT * FROM NOPE", {}, 942, "ORA-00942: table or view does not exist"},
        {"SELECT NOPE FROM ITEMS", {}, 904, "ORA-00904: \"NOPE\": invalid identifier"},
        {"SELECT ID, COUNT(*) FROM ITEMS", {}, 937, nullptr},
        {"INSERT INTO ITEMS (ID, NAME) VALUES (:1, :2)", {"1", "Dup"}, 1,
         "ORA-00001: unique constraint (DEMO.SYS_C000001) violated"},
        {"INSERT INTO ITEMS (ID, NAME) VALUES (:1, :2)", {"5", ""}, 1400,
         "ORA-01400: cannot insert NULL into (\"DEMO\".\"ITEMS\".\"NAME\")"},
        {"INSERT INTO ITEMS (ID, NAME) VALUES (:1, :2)", {"5", "a name that is far too long"}, 12899,
         "ORA-12899: value too large for column \"DEMO\".\"ITEMS\".\"NAME\" (actual: 27, maximum: 20)"},
        {"INSERT INTO ITEMS (ID, NAME) VALUES (:1, :2)", {"x5", "n"}, 1722, "ORA-01722: invalid number"},
        {"INSERT INTO ITEMS (ID, NAME) VALUES (:1, :2)", {"1234567", "n"}, 1438, nullptr},
        {"INSERT INTO ITEMS (ID, NAME, CREATED) VALUES (:1, :2, TO_DATE(:3, 'yyyy-mm-dd hh24:mi:ss'))",
         {"5", "n", "2001-13-01 00:00:00"}, 1843, nullptr},
        {"INSERT INTO ITEMS (ID, NAME, CREATED) VALUES (:1, :2, TO_DATE(:3, 'yyyy-mm-dd hh24:mi:ss'))",
         {"5", "n", "2001-01-32 00:00:00"}, 1847, nullptr},
        {"UPDATE ITEMS SET NAME = NULL WHERE ID = 1", {}, 1407,
         "ORA-01407: cannot update (\"DEMO\".\"ITEMS\".\"NAME\") to NULL"},
        {"SELECT * FROM OTHER.ITEMS", {}, 942, nullptr},
        {"UPDATE ITEMS SET PRICE = PRICE * 100000 WHERE ID > 0", {}, 1438, nullptr},
        {"INSERT INTO ITEMS (ID) VALUES (1, 2)", {}, 913, nullptr},
        {"INSERT INTO ITEMS (ID, NAME) VALUES (1)", {}, 947, nullptr},
        {"INSERT INTO USER_TABLES VALUES ('X')", {}, 1031, nullptr},
        {"CREATE TABLE ITEMS (A NUMBER)", {}, 955, nullptr},
        {"CREATE TABLE T2 (A NUMBER, A DATE)", {}, 957, nullptr},
        {"CREATE TABLE T2 (A FLOATY)", {}, 902, nullptr},
        {"CREATE TABLE T2 (A NUMBER, B NUMBER DEFAULT A + 1)", {}, 984, nullptr},
        {"DROP TABLE NOPE", {}, 942, nullptr},
        {"SELECT 'unterminated FROM DUAL", {}, 1756, nullptr},
        {"SELECT * FROM ITEMS WHERE ID = :1", {}, 1008, nullptr},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(session->exec(c.sql, c.binds), c.code) << c.sql;
        if (c.message) {
            EXPECT_EQ(session->message(c.code), c.message) << c.sql;
        }
    }
    // None of them changed anything.
    EXPECT_EQ(session->query("SELECT ID, NAME, PRICE FROM ITEMS WHERE ID = 1"), (Rows{{"1", "Pen", "1.5"}}));
    EXPECT_EQ(session->query("SELECT COUNT(*) FROM ITEMS"), (Rows{{"4"}}));
}

TEST_F(Engine, DescribeReportsTypesSizesAndNames)
{
    Cda_Def cda{};
    ASSERT_EQ(oopen(&cda, session->lda(), nullptr, -1, -1, nullptr, -1), 0);
    ASSERT_EQ(oparse(&cda, text("select ID, NAME, PRICE, CODE, CREATED, 'ab', '\"'||name||'\"', price c, "
                                "to_char(created,'yyyy-mm-dd'), Id + 1 from ITEMS where 1 = 0"),
                     -1, 0, 1),
              0);
    EXPECT_EQ(cda.ft, OCI_FT_SELECT);
    struct Expect {
        const char *name;
        int type, size, precision, scale;
    } expected[] = {
        {"ID", 2, 22, 6, 0}, {"NAME", 1, 20, 0, 0}, {"PRICE", 2, 22, 8, 2}, {"CODE", 96, 4, 0, 0},
        {"CREATED", 12, 7, 0, 0}, {"'ab'", 96, 2, 0, 0}, {"'\"'||NAME||'\"'", 1, 22, 0, 0}, {"C", 2, 22, 8, 2},
        {"TO_CHAR(CREATED,'yyyy-mm-dd')", 1, 10, 0, 0}, {"ID + 1", 2, 22, 0, -127},
    };
    for (int i = 0; i < int(std::size(expected)); ++i) {
        oci_sb4 size = 0, nameLength = 33;
        oci_sb2 type = 0, precision = 0, scale = 0;
        oci_sb1 name[34] = {};
        ASSERT_EQ(odescr(&cda, i + 1, &size, &type, name, &nameLength, nullptr, &precision, &scale, nullptr), 0);
        EXPECT_EQ(std::string(reinterpret_cast<char *>(name), size_t(nameLength)), expected[i].name);
        EXPECT_EQ(type, expected[i].type) << expected[i].name;
        EXPECT_EQ(size, expected[i].size) << expected[i].name;
        if (type == 2) {
            EXPECT_EQ(precision, expected[i].precision) << expected[i].name;
            EXPECT_EQ(scale, expected[i].scale) << expected[i].name;
        }
    }
    oci_sb4 nameLength = 2;
    oci_sb1 name[2];
    EXPECT_EQ(odescr(&cda, 7, nullptr, nullptr, name, &nameLength, nullptr, nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(nameLength, 2); // cut to the caller's capacity
    EXPECT_NE(odescr(&cda, 11, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(cda.rc, 1007);
    EXPECT_EQ(cda.fc, OCI_FC_ODESCR);
    oclose(&cda);
}

TEST_F(Engine, FetchHandlesNullTruncationAndTheEnd)
{
    Cda_Def cda{};
    ASSERT_EQ(oopen(&cda, session->lda(), nullptr, -1, -1, nullptr, -1), 0);
    ASSERT_EQ(oparse(&cda, text("SELECT NAME, PRICE FROM ITEMS WHERE ID IN (10, 3) ORDER BY ID DESC"), -1, 0, 1), 0);
    char name[4];
    char price[4];
    ASSERT_EQ(odefin(&cda, 1, reinterpret_cast<oci_ub1 *>(name), sizeof name, 5, -1, nullptr, nullptr, -1, -1,
                     nullptr, nullptr),
              0);
    ASSERT_EQ(odefin(&cda, 2, reinterpret_cast<oci_ub1 *>(price), sizeof price, 5, -1, nullptr, nullptr, -1, -1,
                     nullptr, nullptr),
              0);
    ASSERT_EQ(oexec(&cda), 0);
    EXPECT_NE(ofetch(&cda), 0); // "1000" needs 5 bytes
    EXPECT_EQ(cda.rc, 1406);
    EXPECT_STREQ(name, "ink");
    EXPECT_STREQ(price, "100");
    EXPECT_EQ(cda.rpc, 1u);
    std::memcpy(price, "kep", 4);
    EXPECT_NE(ofetch(&cda), 0); // PRICE of Pad is NULL: its buffer stays as it was
    EXPECT_EQ(cda.rc, 1405);
    EXPECT_STREQ(name, "Pad");
    EXPECT_STREQ(price, "kep");
    EXPECT_EQ(cda.rpc, 2u);
    EXPECT_NE(ofetch(&cda), 0);
    EXPECT_EQ(cda.rc, 1403);
    EXPECT_NE(ofetch(&cda), 0);
    EXPECT_EQ(cda.rc, 1002);
    EXPECT_EQ(cda.fc, OCI_FC_OFETCH);
    EXPECT_EQ(cda.rpc, 2u);

    // With indicators the same rows succeed and say what happened.
    oci_sb2 nameIndicator = 0, priceIndicator = 0;
    odefin(&cda, 1, reinterpret_cast<oci_ub1 *>(name), sizeof name, 5, -1, &nameIndicator, nullptr, -1, -1, nullptr, nullptr);
    odefin(&cda, 2, reinterpret_cast<oci_ub1 *>(price), sizeof price, 5, -1, &priceIndicator, nullptr, -1, -1, nullptr, nullptr);
    ASSERT_EQ(oexec(&cda), 0);
    EXPECT_EQ(ofetch(&cda), 0);
    EXPECT_EQ(priceIndicator, 4);
    EXPECT_EQ(ofetch(&cda), 0);
    EXPECT_EQ(priceIndicator, -1);
    oclose(&cda);
}

TEST_F(Engine, NamedBindsAreReadAtEachExecution)
{
    Cda_Def cda{};
    ASSERT_EQ(oopen(&cda, session->lda(), nullptr, -1, -1, nullptr, -1), 0);
    ASSERT_EQ(oparse(&cda, text("SELECT NAME FROM ITEMS WHERE ID >= :low AND ID <= :Low + 1 ORDER BY ID"), -1, 0, 1), 0);
    char low[8] = "1";
    char name[8];
    ASSERT_EQ(obndrv(&cda, text(":LOW"), -1, reinterpret_cast<oci_ub1 *>(low), sizeof low, 5, -1, nullptr, nullptr, -1, -1), 0);
    EXPECT_NE(obndrv(&cda, text(":nope"), -1, reinterpret_cast<oci_ub1 *>(low), sizeof low, 5, -1, nullptr, nullptr, -1, -1), 0);
    EXPECT_EQ(cda.rc, 1036);
    ASSERT_EQ(odefin(&cda, 1, reinterpret_cast<oci_ub1 *>(name), sizeof name, 5, -1, nullptr, nullptr, -1, -1, nullptr, nullptr), 0);
    ASSERT_EQ(oexec(&cda), 0);
    std::strcpy(low, "9"); // read at oexec, not at fetch
    ASSERT_EQ(ofetch(&cda), 0);
    EXPECT_STREQ(name, "Pen");
    ASSERT_EQ(oexec(&cda), 0);
    ASSERT_EQ(ofetch(&cda), 0);
    EXPECT_STREQ(name, "ink");
    oclose(&cda);
}

TEST_F(Engine, TransactionsFollowOracle)
{
    // A failing statement undoes only itself.
    ASSERT_EQ(session->exec("INSERT INTO ITEMS (ID, NAME) VALUES (20, 'a')"), 0);
    ASSERT_EQ(session->exec("UPDATE ITEMS SET PRICE = 1000000 / (11 - ID) WHERE ID >= 1"), 1438);
    EXPECT_EQ(session->query("SELECT PRICE FROM ITEMS WHERE ID = 1"), (Rows{{"1.5"}}));
    ASSERT_EQ(session->rollback(), 0);
    EXPECT_EQ(session->query("SELECT COUNT(*) FROM ITEMS WHERE ID = 20"), (Rows{{"0"}}));

    // DDL and TRUNCATE commit first and survive a rollback.
    ASSERT_EQ(session->exec("INSERT INTO ITEMS (ID, NAME) VALUES (21, 'b')"), 0);
    ASSERT_EQ(session->exec("CREATE TABLE OTHER (A NUMBER)"), 0);
    ASSERT_EQ(session->rollback(), 0);
    EXPECT_EQ(session->query("SELECT COUNT(*) FROM ITEMS WHERE ID = 21"), (Rows{{"1"}}));
    ASSERT_EQ(session->exec("TRUNCATE TABLE ITEMS"), 0);
    ASSERT_EQ(session->rollback(), 0);
    EXPECT_EQ(session->query("SELECT COUNT(*) FROM ITEMS"), (Rows{{"0"}}));

    // Another session sees committed data only; ologof commits.
    ASSERT_EQ(session->exec("INSERT INTO OTHER VALUES (1)"), 0);
    {
        EngineSession second(db);
        ASSERT_TRUE(second.loggedOn());
        EXPECT_EQ(second.query("SELECT COUNT(*) FROM OTHER"), (Rows{{"0"}}));
        EXPECT_EQ(second.exec("INSERT INTO OTHER VALUES (2)"), 54); // the first session holds the write lock
    }
    session.reset();
    EngineSession third(db);
    EXPECT_EQ(third.query("SELECT A FROM OTHER"), (Rows{{"1"}}));
    ASSERT_EQ(ocon(third.lda()), 0);
    ASSERT_EQ(third.exec("INSERT INTO OTHER VALUES (3)"), 0);
    ASSERT_EQ(third.rollback(), 0);
    EXPECT_EQ(third.query("SELECT COUNT(*) FROM OTHER"), (Rows{{"2"}}));
}

TEST_F(Engine, ViewsAreQueriedLikeTables)
{
    ASSERT_EQ(session->exec("CREATE VIEW CHEAP AS SELECT ID, NAME || '!' LABEL FROM ITEMS WHERE PRICE < 10"), 0);
    EXPECT_EQ(session->query("SELECT LABEL FROM CHEAP ORDER BY ID"), (Rows{{"Pen!"}, {"Ink!"}}));
    EXPECT_EQ(session->query("select VIEW_name from user_VIEWs"), (Rows{{"CHEAP"}}));
    EXPECT_EQ(session->query("SELECT DATA_TYPE, DATA_LENGTH FROM USER_TAB_COLUMNS WHERE TABLE_NAME = 'CHEAP' ORDER BY COLUMN_ID"),
              (Rows{{"NUMBER", "22"}, {"VARCHAR2", "21"}}));
    EXPECT_EQ(session->exec("CREATE VIEW V2 AS SELECT ID + 1 FROM ITEMS"), 998);
    EXPECT_EQ(session->exec("INSERT INTO CHEAP (ID) VALUES (1)"), 1732);
    ASSERT_EQ(session->exec("CREATE VIEW GONE AS SELECT ID FROM OTHER"), 942);
    ASSERT_EQ(session->exec("CREATE TABLE OTHER (ID NUMBER)"), 0);
    ASSERT_EQ(session->exec("CREATE VIEW GONE AS SELECT ID FROM OTHER"), 0);
    ASSERT_EQ(session->exec("DROP TABLE OTHER"), 0);
    int error = 0;
    session->query("SELECT * FROM GONE", &error);
    EXPECT_EQ(error, 4063);
    EXPECT_EQ(session->message(4063), "ORA-04063: view \"DEMO.GONE\" has errors");
    ASSERT_EQ(session->exec("DROP VIEW GONE"), 0);
    ASSERT_EQ(session->exec("DROP VIEW CHEAP"), 0);
    EXPECT_EQ(session->query("select VIEW_name from user_VIEWs"), Rows{});
}

TEST_F(Engine, DefaultsFillTheColumnsAnInsertLeavesOut)
{
    ASSERT_EQ(session->exec("CREATE TABLE D (ID NUMBER, N NUMBER(4,1) DEFAULT 2.25 * 2, T CHAR(3) DEFAULT 'x',"
                            " S DATE DEFAULT SYSDATE, V VARCHAR2(3) DEFAULT 'abcd')"),
              0);
    ASSERT_EQ(session->exec("INSERT INTO D (ID) VALUES (1)"), 12899); // the default does not fit V
    ASSERT_EQ(session->exec("INSERT INTO D (ID, V) VALUES (1, NULL)"), 0);
    EXPECT_EQ(session->query("SELECT N, T, V FROM D WHERE S > TO_DATE('2020-01-01', 'YYYY-MM-DD')"),
              (Rows{{"4.5", "x  ", "<NULL>"}}));
}

TEST(EngineLogon, RefusesUnknownUsersAndWrongPasswordsAlike)
{
    const std::string db = enginetest::newDatabase();
    EXPECT_FALSE(EngineSession(db, "demo", "wrong").loggedOn());
    EXPECT_FALSE(EngineSession(db, "nobody", "demo").loggedOn());
    EXPECT_FALSE(EngineSession(db, "\"demo\"", "demo").loggedOn()); // quoted keeps its case
    EXPECT_TRUE(EngineSession(db, "DEMO", "demo").loggedOn());
    EXPECT_TRUE(EngineSession(db, "demo/demo@" + db, "").loggedOn());

    Lda_Def lda{};
    hda_def hda{};
    EXPECT_NE(olog(&lda, hda.data, text("demo"), -1, text("wrong"), -1, text(db.c_str()), -1, 0), 0);
    EXPECT_EQ(lda.rc, 1017);

    struct stat st {};
    ASSERT_EQ(::stat(db.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    ASSERT_EQ(::stat((db + "/DEMO.db").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST(EngineAreas, BadOrUnopenedAreasGiveErrorCodes)
{
    Cda_Def cda{};
    Lda_Def lda{};
    EXPECT_NE(oparse(&cda, text("SELECT * FROM DUAL"), -1, 0, 1), 0);
    EXPECT_EQ(cda.rc, 1001);
    EXPECT_EQ(cda.fc, OCI_FC_OPARSE);
    EXPECT_NE(ofetch(&cda), 0);
    EXPECT_EQ(cda.rc, 1001);
    EXPECT_NE(oopen(&cda, &lda, nullptr, -1, -1, nullptr, -1), 0);
    EXPECT_EQ(cda.rc, 1012);
    EXPECT_NE(ocom(&lda), 0);
    EXPECT_EQ(lda.rc, 1012);
    EXPECT_NE(oexec(nullptr), 0);
    EXPECT_NE(ologof(nullptr), 0);
}

} // namespace
