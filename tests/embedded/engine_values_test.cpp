// Values checked against their column types: numbers, text measured in
// bytes, dates read by TO_DATE, and the constraints, with the messages a
// person sees.
#include "EngineClient.h"

#include <regex>

using namespace enginetest;

namespace {

struct ValueCase {
    const char *column;
    const char *input;    // bound as text, as the program binds CSV fields
    const char *stored;   // the value read back, when error is 0
    int error;
};

// Inserts each case's input into its column of `table` alone and reads it
// back.
void expectStored(Client &c, const std::string &table, const std::vector<ValueCase> &cases)
{
    for (const ValueCase &k : cases) {
        SCOPED_TRACE(std::string(k.column) + " <- '" + k.input + "'");
        int rc = c.runBound("INSERT INTO " + table + " (" + k.column + ") VALUES (:1)", {k.input});
        EXPECT_EQ(k.error, rc) << c.message(rc);
        if (rc == 0 && k.error == 0) {
            EXPECT_EQ((Rows{{k.stored}}), c.query(std::string("SELECT ") + k.column + " FROM " + table));
        }
        c.exec("DELETE FROM " + table);
    }
}

} // namespace

TEST_F(EngineTest, NumbersAreExactRoundedToTheScaleAndChecked)
{
    exec("CREATE TABLE N (A NUMBER, B NUMBER(5,2), C NUMBER(3), E NUMBER(38))");
    const std::vector<ValueCase> cases = {
        {"A", "12345678901234567890123456789012345678", "12345678901234567890123456789012345678", 0},
        {"A", "-.12345678901234567890123456789012345678", "-.12345678901234567890123456789012345678", 0},
        {"A", "0.5", ".5", 0},
        {"A", "-0.000123", "-.000123", 0},
        {"A", "1.50", "1.5", 0},
        {"A", "  42  ", "42", 0},
        {"A", "+7", "7", 0},
        {"A", "1e3", "1000", 0},
        {"A", "", kNull.c_str(), 0},
        {"A", "abc", nullptr, OCI_ERR_INVALID_NUMBER},
        {"A", "1.2.3", nullptr, OCI_ERR_INVALID_NUMBER},
        {"A", "1,5", nullptr, OCI_ERR_INVALID_NUMBER},
        {"A", "12O", nullptr, OCI_ERR_INVALID_NUMBER},
        {"B", "123.456", "123.46", 0},
        {"B", "1.005", "1.01", 0},
        {"B", "-1.005", "-1.01", 0},
        {"B", "999.994", "999.99", 0},
        {"B", "0.004", "0", 0},
        {"B", "999.995", nullptr, OCI_ERR_PRECISION},
        {"B", "1000", nullptr, OCI_ERR_PRECISION},
        {"C", "999", "999", 0},
        {"C", "12.5", "13", 0},
        {"C", "-12.5", "-13", 0},
        {"C", "1000", nullptr, OCI_ERR_PRECISION},
        {"C", "-999.5", nullptr, OCI_ERR_PRECISION},
        {"E", "99999999999999999999999999999999999999", "99999999999999999999999999999999999999", 0},
    };
    expectStored(c, "N", cases);
    EXPECT_EQ("ORA-01438: value larger than specified precision allowed for this column",
              c.message(OCI_ERR_PRECISION));
    EXPECT_EQ("ORA-01722: invalid number", c.message(OCI_ERR_INVALID_NUMBER));
}

TEST_F(EngineTest, TextLengthsAreCountedInBytes)
{
    exec("CREATE TABLE S (V VARCHAR2(6), C CHAR(4))");
    const std::vector<ValueCase> cases = {
        {"V", "ああ", "ああ", 0},               // two characters, six bytes
        {"V", "abcdef", "abcdef", 0},
        {"V", "あいう", nullptr, OCI_ERR_TOO_LARGE}, // three characters, nine bytes
        {"V", "abcdefg", nullptr, OCI_ERR_TOO_LARGE},
        {"C", "あ", "あ ", 0},
        {"C", "ab", "ab  ", 0},
        {"C", "abcde", nullptr, OCI_ERR_TOO_LARGE},
        {"C", "ああ", nullptr, OCI_ERR_TOO_LARGE},
    };
    expectStored(c, "S", cases);
    EXPECT_EQ("ORA-12899: value too large for column \"SCOTT\".\"S\".\"V\" (actual: 9, maximum: 6)",
              c.message(c.runBound("INSERT INTO S (V) VALUES (:1)", {"あいう"})));
    exec("INSERT INTO S (C) VALUES ('ab')");
    EXPECT_EQ("ORA-12899: value too large for column \"SCOTT\".\"S\".\"C\" (actual: 5, maximum: 4)",
              messageOf("UPDATE S SET C = 'abcde'"));
}

TEST_F(EngineTest, ToDateIsLenientAndNamesWhatIsWrong)
{
    const struct {
        const char *text;
        const char *format;
        const char *value; // as YYYY-MM-DD HH24:MI:SS, when error is 0
        int error;
    } cases[] = {
        {"2001-04-01 13:05:00", "YYYY-MM-DD HH24:MI:SS", "2001-04-01 13:05:00", 0},
        {"2001/4/1 13.5.0", "YYYY-MM-DD HH24:MI:SS", "2001-04-01 13:05:00", 0},
        {"2001-04-01", "yyyy-mm-dd hh24:mi:ss", "2001-04-01 00:00:00", 0},
        {"2001-04-01 09", "YYYY-MM-DD HH24:MI:SS", "2001-04-01 09:00:00", 0},
        {"2000-02-29", "YYYY-MM-DD", "2000-02-29 00:00:00", 0},
        {"9999-12-31 23:59:59", "YYYY-MM-DD HH24:MI:SS", "9999-12-31 23:59:59", 0},
        {"2001-13-01", "YYYY-MM-DD", nullptr, 1843},
        {"2001-00-01", "YYYY-MM-DD", nullptr, 1843},
        {"2001-02-29", "YYYY-MM-DD", nullptr, 1839},
        {"2001-04-31", "YYYY-MM-DD", nullptr, 1839},
        {"2001-04-32", "YYYY-MM-DD", nullptr, 1847},
        {"2001-04-00", "YYYY-MM-DD", nullptr, 1847},
        {"2001-04-01 24:00:00", "YYYY-MM-DD HH24:MI:SS", nullptr, 1850},
        {"2001-04-01 10:60:00", "YYYY-MM-DD HH24:MI:SS", nullptr, 1851},
        {"2001-04-01 10:00:60", "YYYY-MM-DD HH24:MI:SS", nullptr, 1852},
        {"2001-13", "YYYY-MM-DD", nullptr, 1843},
        {"2001-04-ab", "YYYY-MM-DD", nullptr, 1858},
    };
    exec("CREATE TABLE DT (D DATE)");
    for (const auto &k : cases) {
        SCOPED_TRACE(std::string(k.text) + " / " + k.format);
        Rows rows;
        int rc = c.run(std::string("SELECT TO_CHAR(TO_DATE('") + k.text + "', '" + k.format +
                           "'), 'YYYY-MM-DD HH24:MI:SS') FROM DUAL",
                       &rows);
        EXPECT_EQ(k.error, rc) << c.message(rc);
        if (rc == 0 && k.error == 0) {
            EXPECT_EQ((Rows{{k.value}}), rows);
        }
        // The program's own INSERT binds the text into the same call.
        rc = c.runBound(std::string("INSERT INTO DT(D)VALUES(TO_DATE(:1, '") + k.format + "'))", {k.text});
        EXPECT_EQ(k.error, rc) << c.message(rc);
    }
    EXPECT_EQ("ORA-01843: not a valid month", c.message(1843));
    EXPECT_EQ("ORA-01847: day of month must be between 1 and last day of month", c.message(1847));
}

TEST_F(EngineTest, NotNullAndDuplicateKeysNameTheirColumnAndConstraint)
{
    exec("CREATE TABLE K (ID NUMBER(3) NOT NULL, NAME VARCHAR2(5))");
    const std::string notNull = "ORA-01400: cannot insert NULL into (\"SCOTT\".\"K\".\"ID\")";
    EXPECT_EQ(notNull, messageOf("INSERT INTO K (NAME) VALUES ('a')"));
    EXPECT_EQ(notNull, messageOf("INSERT INTO K VALUES ('', 'a')"));
    EXPECT_EQ(notNull, c.message(c.runBound("INSERT INTO K VALUES (:1, :2)", {"", "a"})));
    exec("INSERT INTO K VALUES (1, 'a')");
    EXPECT_EQ("ORA-01407: cannot update (\"SCOTT\".\"K\".\"ID\") to NULL", messageOf("UPDATE K SET ID = NULL"));

    exec("CREATE TABLE U (ID NUMBER PRIMARY KEY, CODE VARCHAR2(5), CONSTRAINT U_CODE UNIQUE (CODE))");
    exec("INSERT INTO U VALUES (1, 'a')");
    exec("INSERT INTO U VALUES (2, 'b')");
    const std::string byName = "ORA-00001: unique constraint (SCOTT.U_CODE) violated";
    const std::regex bySysName(R"(ORA-00001: unique constraint \(SCOTT\.SYS_C[0-9]+\) violated)");
    EXPECT_TRUE(std::regex_match(messageOf("INSERT INTO U VALUES (1, 'c')"), bySysName));
    EXPECT_TRUE(std::regex_match(messageOf("UPDATE U SET ID = 1 WHERE ID = 2"), bySysName));
    EXPECT_EQ(byName, messageOf("INSERT INTO U VALUES (3, 'a')"));
    EXPECT_EQ(byName, messageOf("UPDATE U SET CODE = 'a' WHERE ID = 2"));
    // NULL is no key value: any number of rows may leave CODE empty.
    exec("INSERT INTO U VALUES (4, NULL)");
    exec("INSERT INTO U VALUES (5, NULL)");
    EXPECT_EQ((Rows{{"1", "a"}, {"2", "b"}, {"4", kNull}, {"5", kNull}}), query("SELECT * FROM U ORDER BY ID"));
}
