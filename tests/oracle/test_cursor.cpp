// The query cursor and the session's cursor primitives, against the embedded
// engine, and against the stand-in library where the calls themselves or a
// misbehaving library are the point.
#include "CursorFixtures.h"
#include "FakeOci.h"

#include <algorithm>
#include <cstring>
#include <functional>

namespace {

using Texts = std::vector<std::string>;

const QString kUnbound = QStringLiteral("OCI-Controlにバインドされていません");
const QString kNotConnected = QStringLiteral("接続されていません。");
const QString kOracleError = QStringLiteral("-- ORACLE error when processing OCI function\n");

// --- Against the engine -------------------------------------------------------------

class Query : public EngineCursor {
protected:
    void SetUp() override
    {
        EngineCursor::SetUp();
        run("create table T (K number, A varchar2(10), B number(10,2))");
        run("insert into T values (1, 'x', 1.5)");
        run("insert into T values (2, null, null)");
        run("insert into T values (3, 'z', -0.25)");
    }
};

TEST_F(Query, RowHoldsNamesThenEachRowThenEmptyTexts)
{
    cursor->SQL = "select A, B from T order by K";
    ASSERT_TRUE(cursor->Execute()) << cursor->LastError.toStdString();
    EXPECT_EQ(cursor->Row(), (Texts{"A", "B"}));
    // The second row is all NULL: it counts as a row, and reads as empty
    // texts rather than as what the first row left in the buffers.
    for (const Texts &expected : {Texts{"x", "1.5"}, Texts{"", ""}, Texts{"z", "-.25"}}) {
        ASSERT_TRUE(cursor->Fetch()) << cursor->LastError.toStdString();
        EXPECT_EQ(cursor->Row(), expected);
        EXPECT_FALSE(cursor->atEndOfRows());
    }
    EXPECT_FALSE(cursor->Fetch());
    EXPECT_EQ(cursor->Row(), (Texts{"", ""}));
    EXPECT_TRUE(cursor->atEndOfRows());
    EXPECT_TRUE(cursor->LastError.isEmpty());
}

TEST_F(Query, AFailingFetchIsToldApartFromTheEndOfTheRows)
{
    cursor->SQL = "select A from T where K = 1";
    ASSERT_TRUE(cursor->Execute());
    ASSERT_TRUE(cursor->Fetch());
    EXPECT_FALSE(cursor->Fetch());
    EXPECT_TRUE(cursor->atEndOfRows());
    // A fetch after the end is out of sequence: a failure, not the end.
    EXPECT_FALSE(cursor->Fetch());
    EXPECT_FALSE(cursor->atEndOfRows());
    EXPECT_EQ(cursor->LastError, kOracleError + QStringLiteral("ORA-01002: fetch out of sequence"));
    EXPECT_EQ(cursor->Row(), (Texts{""}));
}

TEST_F(Query, ColumnsDescribeEachTypeAndSizeItsBuffer)
{
    run("create table C (V varchar2(10), CH char(3), N number(10,2), D date, "
        "A_COLUMN_NAME_OF_THIRTY_BYTES_ varchar2(5))");
    cursor->SQL = "select * from C";
    ASSERT_TRUE(cursor->Execute()) << cursor->LastError.toStdString();
    struct Case {
        const char *name, *typeName;
        int size, scale, dbSize, width, buffer;
    };
    // A NUMBER's buffer holds its longest text (40 characters), not its
    // internal size; a DATE's holds the client's text of 22.
    const Case cases[] = {
        {"V", "VARCHAR2", 10, 0, 10, 10, 11},
        {"CH", "CHAR", 3, 0, 3, 3, 4},
        {"N", "NUMBER", 8, 2, 22, 22, 41},
        {"D", "DATE", 22, 0, 22, 22, 23},
        {"A_COLUMN_NAME_OF_THIRTY_BYTES_", "VARCHAR2", 5, 0, 5, 30, 6},
    };
    ASSERT_EQ(cursor->Columns().count(), int(std::size(cases)));
    ASSERT_EQ(cursor->BufferCount(), int(std::size(cases)));
    for (int i = 0; i < int(std::size(cases)); ++i) {
        const Case &c = cases[i];
        const ColumnAttr &attr = cursor->Columns()[i];
        SCOPED_TRACE(c.name);
        EXPECT_EQ(cursor->Row()[size_t(i)], c.name);
        EXPECT_EQ(attr.Name, c.name);
        EXPECT_EQ(attr.TypeName, c.typeName);
        EXPECT_EQ(attr.Size, c.size);
        EXPECT_EQ(attr.Scale, c.scale);
        EXPECT_EQ(attr.DbSize, c.dbSize);
        EXPECT_EQ(attr.Width, c.width);
        EXPECT_EQ(cursor->bufferSize(i), c.buffer);
    }
}

TEST_F(Query, ValuesArriveWholeAsTheClientsText)
{
    run("create table V (N38 number(38), N number, D date, CH char(5), V varchar2(10))");
    run("insert into V values (12345678901234567890123456789012345678, -1234567890.12345678901234567890123456, "
        "to_date('2001-04-01 13:05:00', 'yyyy-mm-dd hh24:mi:ss'), 'ab', '\x83\x65\x83\x58\x83\x67')");
    cursor->SQL = "select N38, N, D, CH, V from V";
    ASSERT_TRUE(cursor->Execute()) << cursor->LastError.toStdString();
    ASSERT_TRUE(cursor->Fetch()) << cursor->LastError.toStdString();
    EXPECT_EQ(cursor->Row(), (Texts{"12345678901234567890123456789012345678", "-1234567890.12345678901234567890123456",
                                    "01-APR-01", "ab   ", "\x83\x65\x83\x58\x83\x67"}));
}

TEST_F(Query, AColumnOfAnUnfetchableTypeFailsBeforeAnythingIsDefined)
{
    for (const char *type : {"long", "raw(4)", "timestamp"}) {
        SCOPED_TRACE(type);
        run(std::string("create table U (K number, X ") + type + ")");
        cursor->SQL = "select * from U";
        EXPECT_FALSE(cursor->Execute());
        EXPECT_EQ(cursor->LastError, QStringLiteral("抽出不可能なカラムが選択されました。"));
        EXPECT_EQ(cursor->BufferCount(), 0);
        run("drop table U");
    }
}

TEST_F(Query, OneTrailingSemicolonIsDroppedFromTheStatement)
{
    const struct {
        const char *sql;
        bool runs;
        const char *after;
    } cases[] = {
        {"select K from T;", true, "select K from T"},
        {"select K from T;;", false, "select K from T;"},
        {"select K, 'a;b' S from T", true, "select K, 'a;b' S from T"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.sql);
        cursor->SQL = c.sql;
        EXPECT_EQ(cursor->Execute(), c.runs) << cursor->LastError.toStdString();
        EXPECT_EQ(cursor->SQL, c.after);
        if (!c.runs) {
            EXPECT_EQ(cursor->LastError, kOracleError + QStringLiteral("ORA-00911: invalid character"));
        }
    }
}

TEST_F(Query, ASecondExecuteReplacesTheFirstStatement)
{
    cursor->SQL = "select A from T order by K";
    ASSERT_TRUE(cursor->Execute());
    ASSERT_TRUE(cursor->Fetch());
    cursor->SQL = "select K, B from T order by K desc";
    ASSERT_TRUE(cursor->Execute());
    EXPECT_EQ(cursor->Row(), (Texts{"K", "B"}));
    EXPECT_EQ(cursor->Columns().count(), 2);
    ASSERT_TRUE(cursor->Fetch());
    EXPECT_EQ(cursor->Row(), (Texts{"3", "-.25"}));
}

TEST_F(Query, ARefusedStatementLeavesTheLibrarysText)
{
    cursor->SQL = "select * from NOSUCH";
    EXPECT_FALSE(cursor->Execute());
    EXPECT_EQ(cursor->LastError, kOracleError + QStringLiteral("ORA-00942: table or view does not exist"));
    EXPECT_TRUE(cursor->isOpened()) << "left open for the next Execute to close";
    EXPECT_TRUE(cursor->CleanUP());
    EXPECT_FALSE(cursor->isOpened());
}

TEST_F(Query, ColumnTypesComeFromTheDictionary)
{
    run("create table EMP (EMPNO number(4), ENAME varchar2(10), HIREDATE date, A_COLUMN_NAME_OF_THIRTY_BYTES_ char(2))");
    cda_def area{};
    ASSERT_TRUE(session->OpenCur(area));
    const Texts columns = {"ename", "HIREDATE", "MISSING", "EMPNO", "A_COLUMN_NAME_OF_THIRTY_BYTES_"};
    Texts types = {"?", "?", "old", "?", "?"};
    EXPECT_TRUE(session->ChkColType("emp", columns, types, area)) << session->LastError.toStdString();
    EXPECT_EQ(types, (Texts{"VARCHAR2", "DATE", "old", "NUMBER", "CHAR"}));

    // Lists of different lengths: refused before anything reaches the area.
    Texts one = {"?"};
    const cda_def before = area;
    EXPECT_FALSE(session->ChkColType("emp", {"EMPNO", "ENAME"}, one, area));
    EXPECT_EQ(session->LastError, QStringLiteral("OCIクラス内部エラー：カラム配列とタイプ配列の数が合いません。"));
    EXPECT_EQ(std::memcmp(&before, &area, sizeof area), 0);

    // A quote in the name cannot end the dictionary query's literal.
    types = {"?"};
    EXPECT_TRUE(session->ChkColType("EMP' or 'x'='x", {"EMPNO"}, types, area));
    EXPECT_EQ(types, (Texts{"?"}));
    EXPECT_TRUE(session->CloseCur(area));
}

// --- Against the stand-in library ------------------------------------------------------

TEST_F(FakeCursor, UnboundOrDisconnectedEveryOperationFailsWithoutACall)
{
    Texts values = {"1"};
    const struct {
        const char *name;
        std::function<bool(TOCIcur &)> call;
        bool whenDisconnected; // the result on a bound, disconnected cursor
    } operations[] = {
        {"Execute", [](TOCIcur &c) { c.SQL = "select 1 from dual"; return c.Execute(); }, false},
        {"Fetch", [](TOCIcur &c) { return c.Fetch(); }, false},
        {"CleanUP", [](TOCIcur &c) { return c.CleanUP(); }, true},
        {"Insert", [](TOCIcur &c) { return c.Insert("EMP", {"ENAME"}); }, false},
        {"InsertData", [&](TOCIcur &c) { return c.InsertData(values); }, false},
        {"ExecuteSQL", [](TOCIcur &c) { return c.ExecuteSQL("truncate table EMP"); }, false},
    };
    ASSERT_TRUE(session->DisConnect());
    auto *unbound = new TOCIcur(&owner);
    fakeoci::reset();
    for (const auto &op : operations) {
        SCOPED_TRACE(op.name);
        unbound->LastError.clear();
        EXPECT_FALSE(op.call(*unbound));
        EXPECT_EQ(unbound->LastError, kUnbound);
        cursor->LastError.clear();
        EXPECT_EQ(op.call(*cursor), op.whenDisconnected);
        EXPECT_EQ(cursor->LastError, op.whenDisconnected ? QString() : kNotConnected);
    }
    EXPECT_EQ(fakeoci::log(), "");
}

TEST_F(FakeCursor, PrimitivesOfADisconnectedSessionLeaveTheAreaAlone)
{
    ASSERT_TRUE(session->DisConnect());
    fakeoci::reset();
    cda_def area;
    std::memset(&area, 0xA5, sizeof area);
    const cda_def untouched = area;
    describe column;
    char buffer[64];
    Texts values;
    Texts types;
    const struct {
        const char *name;
        std::function<bool()> call;
    } primitives[] = {
        {"OpenCur", [&] { return session->OpenCur(area); }},
        {"CloseCur", [&] { return session->CloseCur(area); }},
        {"Parse", [&] { return session->Parse(area, "select 1 from dual"); }},
        {"Descr", [&] { return session->Descr(area, 0, column); }},
        {"Defin", [&] { return session->Defin(area, 0, buffer, column); }},
        {"Exec", [&] { return session->Exec(area); }},
        {"SelFetch", [&] { return session->SelFetch(area); }},
        {"Bind", [&] { return session->Bind(area, values, 0); }},
        {"ChkColType", [&] { return session->ChkColType("EMP", {}, types, area); }},
    };
    for (const auto &p : primitives) {
        SCOPED_TRACE(p.name);
        EXPECT_FALSE(p.call());
        EXPECT_EQ(std::memcmp(&area, &untouched, sizeof area), 0);
    }
    EXPECT_EQ(fakeoci::log(), "");
}

TEST_F(FakeCursor, BindingNothingCallsNothingAndBindsTheOwnOwnerOnly)
{
    cda_def area{};
    Texts none;
    EXPECT_TRUE(session->Bind(area, none, 0));
    Texts three = {"a", "", "c"};
    EXPECT_TRUE(session->Bind(area, three, 3));
    EXPECT_EQ(fakeoci::log(), "obndrn obndrn obndrn");
    EXPECT_TRUE(session->CtrlBind(&owner));
    EXPECT_FALSE(session->CtrlBind(nullptr));
}

TEST_F(FakeCursor, DescrKeepsTheNameInsideItsBufferWhateverLengthIsClaimed)
{
    const std::string name33(33, 'N');
    const struct {
        std::string name;
        int claimed;
        int length; // NameLen afterwards
        std::string kept;
    } cases[] = {
        {"ENAME", 5, 5, "ENAME"},
        {name33, 33, 33, name33},
        {name33, 500, 33, name33},
        {"ENAME", 34, 33, "ENAME"},
        {"ENAME", -7, 0, ""},
        {name33 + "TAIL", 37, 33, name33},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name + " claimed " + std::to_string(c.claimed));
        fakeoci::reset();
        fakeoci::addColumn(c.name.c_str(), c.claimed, OCI_TYPE_VARCHAR2, 10);
        // A guard after the record shows any byte written past it.
        struct {
            describe column;
            unsigned char guard[600];
        } record;
        std::memset(record.guard, 0x5A, sizeof record.guard);
        cda_def area{};
        ASSERT_TRUE(session->Descr(area, 0, record.column));
        EXPECT_EQ(record.column.NameLen, c.length);
        EXPECT_EQ(describedName(record.column), c.kept);
        EXPECT_EQ(record.column.Name[kDescribeNameCapacity], '\0');
        EXPECT_TRUE(std::all_of(std::begin(record.guard), std::end(record.guard), [](unsigned char b) { return b == 0x5A; }));
        EXPECT_FALSE(session->Descr(area, 1, record.column));
        EXPECT_EQ(area.rc, OCI_ERR_NO_COLUMN);
    }
}

TEST_F(FakeCursor, ExecuteClosesTheStatementBeforeTheNextAndDefinesEachDescribedColumn)
{
    fakeoci::addColumn("ENAME", 500, OCI_TYPE_VARCHAR2, 10);
    fakeoci::addColumn("SAL", 3, OCI_TYPE_NUMBER, 22, 7, 2);
    cursor->SQL = "select ENAME, SAL from EMP";
    ASSERT_TRUE(cursor->Execute());
    EXPECT_EQ(cursor->Row(), (Texts{"ENAME", "SAL"}));
    ASSERT_TRUE(cursor->Execute());
    EXPECT_EQ(fakeoci::log(), "oopen oparse odescr odescr odescr odefin odefin oexec "
                              "oclose oopen oparse odescr odescr odescr odefin odefin oexec");
    EXPECT_EQ(fakeoci::lastSql(), "select ENAME, SAL from EMP");
}

} // namespace
