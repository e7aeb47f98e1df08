// Describing a query and fetching it into the caller's buffers: what is
// written, where the writing stops, and the codes that say so.
#include "EngineClient.h"

#include <cstring>

using namespace enginetest;

namespace {

constexpr int kAny = -9999; // a field the case does not check

struct Described {
    std::string name;
    int type = 0;
    int size = 0;
    int precision = kAny;
    int scale = kAny;
    int nullOk = kAny;
};

int parse(Cda_Def &cda, const std::string &sql)
{
    return oparse(&cda, reinterpret_cast<const oci_text *>(sql.c_str()), -1, 0, 1) ? cda.rc : 0;
}

int describe(Cda_Def &cda, int pos, Described *out)
{
    oci_sb4 size = 0;
    oci_sb2 type = 0, precision = 0, scale = 0, nullOk = 0;
    char name[64];
    oci_sb4 nameLength = sizeof name;
    if (odescr(&cda, pos, &size, &type, reinterpret_cast<oci_sb1 *>(name), &nameLength, nullptr, &precision, &scale,
               &nullOk))
        return cda.rc;
    *out = {std::string(name, static_cast<std::size_t>(nameLength)), type, size, precision, scale, nullOk};
    return 0;
}

int define(Cda_Def &cda, int pos, char *buffer, int length, oci_sb2 *indicator)
{
    return odefin(&cda, pos, reinterpret_cast<oci_ub1 *>(buffer), length, OCI_EXT_STRING, -1, indicator, nullptr, -1,
                  -1, nullptr, nullptr)
               ? cda.rc
               : 0;
}

int execute(Cda_Def &cda)
{
    return oexec(&cda) ? cda.rc : 0;
}

int fetch(Cda_Def &cda)
{
    return ofetch(&cda) ? cda.rc : 0;
}

} // namespace

TEST_F(EngineTest, DescribeGivesTypeSizePrecisionScaleAndName)
{
    exec("CREATE TABLE D1 (ID NUMBER(5) NOT NULL, NAME VARCHAR2(10), AMT NUMBER(7,2), N NUMBER, D DATE, "
         "C CHAR(3), L LONG, R RAW(4), TS TIMESTAMP)");
    const Described expected[] = {
        {"ID", OCI_TYPE_NUMBER, 22, 5, 0, 0},
        {"NAME", OCI_TYPE_VARCHAR2, 10, kAny, kAny, 1},
        {"AMT", OCI_TYPE_NUMBER, 22, 7, 2, 1},
        {"N", OCI_TYPE_NUMBER, 22, 0, -127, 1},
        {"D", OCI_TYPE_DATE, 7},
        {"C", OCI_TYPE_CHAR, 3},
        {"L", OCI_TYPE_LONG, 0},
        {"R", OCI_TYPE_RAW, 4},
        {"TS", OCI_TYPE_TIMESTAMP, 11},
        {"'ab'", OCI_TYPE_CHAR, 2},
        {"NAME||C", OCI_TYPE_VARCHAR2, 13},
        {"'x'||'yz'", OCI_TYPE_CHAR, 3},
        {"UPPER(NAME)", OCI_TYPE_VARCHAR2, 10},
        {"TO_CHAR(D,'yyyy-mm-dd')", OCI_TYPE_VARCHAR2, 10},
        {"ALIAS", OCI_TYPE_VARCHAR2, 10},
        {"Low", OCI_TYPE_VARCHAR2, 10},
    };
    ASSERT_EQ(0, parse(c.cda, "SELECT ID, NAME, AMT, N, D, C, L, R, TS, 'ab', NAME||C, 'x'||'yz', upper(name), "
                              "to_char(d,'yyyy-mm-dd'), NAME AS alias, NAME \"Low\" FROM D1"));
    int pos = 1;
    for (const Described &want : expected) {
        SCOPED_TRACE(want.name);
        Described got;
        ASSERT_EQ(0, describe(c.cda, pos++, &got));
        EXPECT_EQ(want.name, got.name);
        EXPECT_EQ(want.type, got.type);
        EXPECT_GE(got.size, want.size);
        // An expression's size is only a lower bound.
        if (want.type != OCI_TYPE_VARCHAR2 || want.name == "NAME") {
            EXPECT_EQ(want.size, got.size);
        }
        if (want.precision != kAny) {
            EXPECT_EQ(want.precision, got.precision);
        }
        if (want.scale != kAny) {
            EXPECT_EQ(want.scale, got.scale);
        }
        if (want.nullOk != kAny) {
            EXPECT_EQ(want.nullOk, got.nullOk);
        }
    }
    Described past;
    EXPECT_EQ(OCI_ERR_NO_COLUMN, describe(c.cda, pos, &past));
    EXPECT_EQ(OCI_FC_ODESCR, functionCodeOf(c.cda));

    ASSERT_EQ(0, parse(c.cda, "SELECT COUNT(*) FROM D1"));
    Described count;
    ASSERT_EQ(0, describe(c.cda, 1, &count));
    EXPECT_EQ("COUNT(*)", count.name);
    EXPECT_EQ(OCI_TYPE_NUMBER, count.type);
    EXPECT_EQ(0, count.precision);
    EXPECT_EQ(-127, count.scale);
    EXPECT_EQ(OCI_ERR_NO_COLUMN, describe(c.cda, 2, &count));
}

TEST_F(EngineTest, DescribeCutsTheNameToTheCallersCapacityAndAcceptsNullOutputs)
{
    exec("CREATE TABLE D2 (NAME VARCHAR2(10))");
    ASSERT_EQ(0, parse(c.cda, "SELECT NAME FROM D2"));
    const struct {
        oci_sb4 capacity;
        const char *written; // the buffer afterwards; '#' is untouched
        oci_sb4 length;
    } cases[] = {
        {33, "NAME####", 4},
        {4, "NAME####", 4},
        {3, "NAM#####", 3},
        {0, "########", 0},
    };
    for (const auto &k : cases) {
        SCOPED_TRACE(k.capacity);
        char name[9] = "########";
        oci_sb4 length = k.capacity;
        oci_sb4 size = 0;
        oci_sb2 type = 0;
        ASSERT_EQ(0, odescr(&c.cda, 1, &size, &type, reinterpret_cast<oci_sb1 *>(name), &length, nullptr, nullptr,
                            nullptr, nullptr));
        EXPECT_STREQ(k.written, name);
        EXPECT_EQ(k.length, length);
    }
}

TEST_F(EngineTest, FetchCutsLongValuesToTheBuffer)
{
    exec("CREATE TABLE F (S VARCHAR2(20), N VARCHAR2(5))");
    exec("INSERT INTO F VALUES ('abcdef', NULL)");
    const struct {
        int length;        // buffer length given to odefin
        bool indicator;    // whether an indicator is given
        int error;         // of the fetch
        const char *value; // the buffer's text afterwards
        int indicatorValue;
    } cases[] = {
        {16, true, 0, "abcdef", 0},
        {7, true, 0, "abcdef", 0},
        {6, true, 0, "abcde", 6},
        {4, false, OCI_ERR_TRUNCATED, "abc", kAny},
        {1, true, 0, "", 6},
    };
    for (const auto &k : cases) {
        SCOPED_TRACE(k.length);
        char buffer[32];
        std::memset(buffer, 'Z', sizeof buffer);
        oci_sb2 indicator = 99;
        char unused[8] = "keep";
        oci_sb2 nullIndicator = 0;
        ASSERT_EQ(0, parse(c.cda, "SELECT S, N FROM F"));
        ASSERT_EQ(0, define(c.cda, 1, buffer, k.length, k.indicator ? &indicator : nullptr));
        ASSERT_EQ(0, define(c.cda, 2, unused, sizeof unused, &nullIndicator));
        ASSERT_EQ(0, execute(c.cda));
        EXPECT_EQ(k.error, fetch(c.cda));
        EXPECT_STREQ(k.value, buffer);
        for (int i = k.length; i < static_cast<int>(sizeof buffer); ++i) {
            ASSERT_EQ('Z', buffer[i]) << "written past the buffer at " << i;
        }
        if (k.indicator) {
            EXPECT_EQ(k.indicatorValue, indicator);
        }
    }
}

TEST_F(EngineTest, NullLeavesTheBufferAloneAndNeedsAnIndicator)
{
    exec("CREATE TABLE F (S VARCHAR2(20), N VARCHAR2(5))");
    exec("INSERT INTO F VALUES ('abcdef', NULL)");
    for (bool withIndicator : {true, false}) {
        SCOPED_TRACE(withIndicator);
        char s[32] = "";
        char n[8] = "keep";
        oci_sb2 indicator = 0;
        ASSERT_EQ(0, parse(c.cda, "SELECT S, N FROM F"));
        ASSERT_EQ(0, define(c.cda, 1, s, sizeof s, nullptr));
        ASSERT_EQ(0, define(c.cda, 2, n, sizeof n, withIndicator ? &indicator : nullptr));
        ASSERT_EQ(0, execute(c.cda));
        EXPECT_EQ(withIndicator ? 0 : OCI_ERR_NULL_FETCHED, fetch(c.cda));
        EXPECT_STREQ("abcdef", s);
        EXPECT_STREQ("keep", n);
        if (withIndicator) {
            EXPECT_EQ(-1, indicator);
        }
    }
}

TEST_F(EngineTest, FetchPastTheEndIsNoDataThenOutOfSequence)
{
    exec("CREATE TABLE F (ID NUMBER)");
    exec("INSERT INTO F VALUES (1)");
    exec("INSERT INTO F VALUES (2)");
    char id[8] = "";
    ASSERT_EQ(0, parse(c.cda, "SELECT ID FROM F ORDER BY ID"));
    ASSERT_EQ(0, define(c.cda, 1, id, sizeof id, nullptr));
    for (int round = 0; round < 2; ++round) { // executing again starts over
        SCOPED_TRACE(round);
        ASSERT_EQ(0, execute(c.cda));
        EXPECT_EQ(0, fetch(c.cda));
        EXPECT_STREQ("1", id);
        EXPECT_EQ(1u, c.cda.rpc);
        EXPECT_EQ(0, fetch(c.cda));
        EXPECT_STREQ("2", id);
        EXPECT_EQ(2u, c.cda.rpc);
        EXPECT_EQ(OCI_ERR_NO_DATA, fetch(c.cda));
        EXPECT_EQ(2u, c.cda.rpc);
        EXPECT_EQ(OCI_ERR_FETCH_OUT_OF_SEQ, fetch(c.cda));
        EXPECT_EQ(OCI_FC_OFETCH, functionCodeOf(c.cda));
    }
}
