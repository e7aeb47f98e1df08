// The cursor's insert path and its execution of other statements: the INSERT
// it prepares (read back from the stand-in library), and rows stored in the
// embedded engine.
#include "CursorFixtures.h"
#include "FakeOci.h"

#include <algorithm>

namespace {

using Texts = std::vector<std::string>;

const QString kOracleError = QStringLiteral("-- ORACLE error when processing OCI function\n");

TEST_F(FakeCursor, InsertPreparesOnePlaceholderPerColumnInTheCallersOrder)
{
    const struct {
        const char *table;
        Texts columns;
        const char *statement;
    } cases[] = {
        {"EMP", {"EMPNO", "HIREDATE", "ENAME"},
         "INSERT INTO EMP(EMPNO,HIREDATE,ENAME)VALUES(:1,TO_DATE(:2, 'yyyy-mm-dd hh24:mi:ss'),:3)"},
        {"emp", {"ename"}, "INSERT INTO emp(ename)VALUES(:1)"},
        {"EMP", {"HIREDATE", "empno"}, "INSERT INTO EMP(HIREDATE,empno)VALUES(TO_DATE(:1, 'yyyy-mm-dd hh24:mi:ss'),:2)"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.statement);
        fakeoci::reset();
        fakeoci::addColumn("EMPNO", 5, OCI_TYPE_NUMBER, 22, 4, 0);
        fakeoci::addColumn("ENAME", 5, OCI_TYPE_VARCHAR2, 10);
        fakeoci::addColumn("HIREDATE", 8, OCI_TYPE_DATE, 7);
        ASSERT_TRUE(cursor->Insert(c.table, c.columns)) << cursor->LastError.toStdString();
        EXPECT_EQ(fakeoci::lastSql(), c.statement);
        EXPECT_EQ(cursor->Row(), Texts(c.columns.size()));
    }
}

class Insert : public EngineCursor {
protected:
    void SetUp() override
    {
        EngineCursor::SetUp();
        run("create table EMP (EMPNO number(4), ENAME varchar2(10), HIREDATE date)");
    }
    // The table's rows, sorted as texts.
    std::vector<std::string> stored()
    {
        std::vector<std::string> all = rows("select EMPNO, ENAME, to_char(HIREDATE, 'yyyy-mm-dd hh24:mi:ss') from EMP");
        std::sort(all.begin(), all.end());
        return all;
    }
};

TEST_F(Insert, RowsLandInTheColumnsTheCallerNamed)
{
    ASSERT_TRUE(cursor->Insert("emp", {"HIREDATE", "ename", "EMPNO"})) << cursor->LastError.toStdString();
    const struct {
        Texts values;
        bool stored;
        std::string error;   // the end of LastError when refused
        size_t valuesAfter; // the caller's list afterwards
    } cases[] = {
        {{"2001-04-01 13:05:00", "SMITH", "7369"}, true, "", 3},
        {{"", "", "7499"}, true, "", 3},
        {{"2001-04-01"}, true, "", 3}, // padded with empty texts: ENAME and EMPNO NULL
        {{"2002-02-02 02:02:02", "JONES", "7566", "extra", "more"}, true, "", 5},
        {{"", "", "seven"}, false, "ORA-01722: invalid number", 3},
        {{"2001-13-01 00:00:00", "KING", "7839"}, false, "ORA-01843: not a valid month", 3},
        {{"", "A_NAME_TOO_LONG", "7900"}, false, "ORA-12899", 3},
        {{"", "WARD", "7521"}, true, "", 3}, // the INSERT survives the refusals
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.values.front());
        Texts values = c.values;
        cursor->LastError.clear();
        EXPECT_EQ(cursor->InsertData(values), c.stored) << cursor->LastError.toStdString();
        EXPECT_EQ(values.size(), c.valuesAfter);
        if (!c.stored) {
            EXPECT_TRUE(cursor->LastError.startsWith(kOracleError + QString::fromStdString(c.error)))
                << cursor->LastError.toStdString();
        }
    }
    EXPECT_EQ(stored(), (Texts{"7369|SMITH|2001-04-01 13:05:00", "7499||", "7521|WARD|", "7566|JONES|2002-02-02 02:02:02",
                               "||2001-04-01 00:00:00"}));
}

TEST_F(Insert, RefusedPreparationsSayWhy)
{
    const struct {
        const char *table;
        Texts columns;
        QString error;
    } cases[] = {
        {"", {"ENAME"}, QStringLiteral("INSERTするテーブルが指定されていません。")},
        {"EMP", {}, QStringLiteral("INSERTする列が指定されていません。")},
        {"EMP", {" ENAME"}, QStringLiteral("項目がテーブルに存在しません。")},
        {"EMP", {"EMPNO", "ENAME "}, QStringLiteral("項目がテーブルに存在しません。")},
        {"EMP", {"SAL"}, QStringLiteral("項目がテーブルに存在しません。")},
        {"NOSUCH", {"ENAME"}, kOracleError + QStringLiteral("ORA-00942: table or view does not exist")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.error.toStdString());
        EXPECT_FALSE(cursor->Insert(c.table, c.columns));
        EXPECT_EQ(cursor->LastError, c.error);
        EXPECT_TRUE(cursor->Row().empty());
    }
}

TEST_F(Insert, ExecuteSQLRunsTheStatementAsGivenAndClosesTheCursor)
{
    ASSERT_TRUE(cursor->Insert("EMP", {"EMPNO"}));
    Texts values = {"1"};
    ASSERT_TRUE(cursor->InsertData(values));

    EXPECT_TRUE(cursor->ExecuteSQL("truncate table EMP")) << cursor->LastError.toStdString();
    EXPECT_FALSE(cursor->isOpened());
    EXPECT_TRUE(cursor->Row().empty());
    EXPECT_TRUE(stored().empty());
    // The prepared INSERT went with the cursor.
    EXPECT_FALSE(cursor->InsertData(values));
    EXPECT_TRUE(stored().empty());

    const struct {
        const char *statement;
        QString error;
    } refused[] = {
        {"truncate table EMP;", kOracleError + QStringLiteral("ORA-00911: invalid character")},
        {"drop table NOSUCH", kOracleError + QStringLiteral("ORA-00942: table or view does not exist")},
    };
    for (const auto &c : refused) {
        SCOPED_TRACE(c.statement);
        EXPECT_FALSE(cursor->ExecuteSQL(c.statement));
        EXPECT_EQ(cursor->LastError, c.error);
        EXPECT_FALSE(cursor->isOpened());
    }
}

} // namespace
