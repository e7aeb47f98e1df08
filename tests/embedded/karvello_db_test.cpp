// karvello-db as a person or a script runs it: the built binary, a fresh
// data folder, its output and exit status.
#include "EngineClient.h"

#include "tests/support/TestEnvironment.h"

#include <filesystem>
#include <fstream>
#include <iterator>

using namespace enginetest;
namespace fs = std::filesystem;

namespace {

class KarvelloDbTest : public testing::Test {
protected:
    void SetUp() override
    {
        home = testenv::makeTempDir("tool");
        db = home + "/db";
    }

    ProcessResult tool(std::vector<std::string> args, const std::string &input = {})
    {
        args.insert(args.begin(), karvelloDbPath());
        return runProgram(args, input, {{"XDG_DATA_HOME", home}});
    }

    ProcessResult sql(const std::vector<std::string> &extra, const std::string &script)
    {
        std::vector<std::string> args = {"sql"};
        args.insert(args.end(), extra.begin(), extra.end());
        args.push_back("SCOTT/tiger@" + db);
        return tool(args, script);
    }

    void createScott() { ASSERT_EQ(0, tool({"create-user", "--db", db, "--password-stdin", "SCOTT"}, "tiger\n").status); }

    std::string home;
    std::string db;
};

std::string readFile(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The program's CSV dialect, for feeding the samples the way an import does:
// the quote toggles, and separators inside quotes stay.
std::vector<std::string> splitCsvLine(const std::string &line)
{
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (char ch : line) {
        if (ch == '"')
            quoted = !quoted;
        else if (ch == ',' && !quoted)
            fields.emplace_back();
        else
            fields.back() += ch;
    }
    return fields;
}

std::vector<std::string> csvLines(const std::string &bytes)
{
    std::vector<std::string> lines;
    std::string line;
    for (char ch : bytes + "\n") {
        if (ch != '\r' && ch != '\n') {
            line += ch;
        } else if (!line.empty()) {
            lines.push_back(line);
            line.clear();
        }
    }
    return lines;
}

} // namespace

TEST_F(KarvelloDbTest, ScriptRunsThroughAndShowsRowsAsTextAndCsv)
{
    ASSERT_NO_FATAL_FAILURE(createScott());
    const std::string script = "CREATE TABLE T (ID NUMBER(3) PRIMARY KEY, NAME VARCHAR2(20), D DATE);\n"
                               "-- a comment; with a semicolon\n"
                               "INSERT INTO T VALUES (1, 'a;b', TO_DATE('2024-01-31', 'YYYY-MM-DD'));\n"
                               "INSERT INTO T VALUES (20, 'it''s \"quoted\"', NULL)\n"
                               "/\n"
                               "/* neither this ; nor the next line ends a statement\n"
                               "/\n"
                               "*/ INSERT INTO T VALUES (1, 'dup', NULL);\n"
                               "SELECT ID, NAME, D FROM T ORDER BY ID;\n";
    ProcessResult text = sql({}, script);
    EXPECT_EQ(1, text.status) << text.err;
    EXPECT_NE(std::string::npos, text.err.find("ERROR at line 8:\nORA-00001: unique constraint")) << text.err;
    EXPECT_NE(std::string::npos, text.out.find("Table created.")) << text.out;
    EXPECT_NE(std::string::npos, text.out.find("ID NAME          D\n"
                                               "-- ------------- ---------\n"
                                               " 1 a;b           31-JAN-24\n"
                                               "20 it's \"quoted\"\n"
                                               "2 rows selected.\n"))
        << text.out;

    ProcessResult csv = sql({"--csv"}, "SELECT ID, NAME, D FROM T ORDER BY ID;\nSELECT COUNT(*) FROM T\n");
    EXPECT_EQ(0, csv.status) << csv.err;
    EXPECT_EQ("ID,NAME,D\n"
              "1,a;b,31-JAN-24\n"
              "20,\"it's \"\"quoted\"\"\",\n"
              "COUNT(*)\n"
              "2\n",
              csv.out);
}

TEST_F(KarvelloDbTest, StopOnErrorStopsAndRollsBack)
{
    ASSERT_NO_FATAL_FAILURE(createScott());
    ASSERT_EQ(0, sql({}, "CREATE TABLE T (ID NUMBER);").status);
    ProcessResult stopped = sql({"--stop-on-error"}, "INSERT INTO T VALUES (1);\n"
                                                     "INSERT INTO NOPE VALUES (2);\n"
                                                     "INSERT INTO T VALUES (3);\n");
    EXPECT_EQ(1, stopped.status);
    EXPECT_NE(std::string::npos, stopped.err.find("ORA-00942: table or view does not exist")) << stopped.err;
    ProcessResult goesOn = sql({}, "INSERT INTO T VALUES (4);\nINSERT INTO NOPE VALUES (5);\nINSERT INTO T VALUES (6);\n");
    EXPECT_EQ(1, goesOn.status);
    EXPECT_EQ("ID\n4\n6\n", sql({"--csv"}, "SELECT ID FROM T ORDER BY ID").out);
}

TEST_F(KarvelloDbTest, UsersArePasswordProtectedAndManaged)
{
    ASSERT_NO_FATAL_FAILURE(createScott());
    const struct {
        std::vector<std::string> args;
        std::string input;
        int status;
        std::string errorPart; // in standard error
    } steps[] = {
        {{"create-user", "--db", db, "--password-stdin", "scott"}, "x\n", 1, "already exists"},
        {{"create-user", "--db", db, "--password-stdin", "EMPTY"}, "\n", 1, "must not be empty"},
        {{"sql", "SCOTT/wrong@" + db}, "SELECT 1 FROM DUAL;", 1, "ORA-01017: invalid username/password; logon denied"},
        {{"passwd", "--db", db, "--password-stdin", "SCOTT"}, "lion\r\n", 0, ""},
        {{"sql", "SCOTT/tiger@" + db}, "SELECT 1 FROM DUAL;", 1, "ORA-01017"},
        {{"sql", "scott/lion@" + db}, "SELECT 1 FROM DUAL;", 0, ""},
        {{"sql", "--db", db, "--password-stdin", "SCOTT", "/dev/null"}, "lion\n", 0, ""},
        {{"passwd", "--db", db, "--password-stdin", "NOBODY"}, "x\n", 1, "does not exist"},
        {{"drop-user", "--db", db, "SCOTT"}, "", 0, ""},
        {{"sql", "SCOTT/lion@" + db}, "SELECT 1 FROM DUAL;", 1, "ORA-01017"},
        {{"drop-user", "--db", db, "SCOTT"}, "", 1, ""},
    };
    for (const auto &step : steps) {
        SCOPED_TRACE(step.args[0] + " " + step.args.back());
        ProcessResult r = tool(step.args, step.input);
        EXPECT_EQ(step.status, r.status) << r.err;
        EXPECT_NE(std::string::npos, r.err.find(step.errorPart)) << r.err;
    }
}

TEST_F(KarvelloDbTest, UsageErrorsAndHelp)
{
    ProcessResult help = tool({"--help"});
    EXPECT_EQ(0, help.status);
    EXPECT_NE(std::string::npos, help.out.find("create-user")) << help.out;
    EXPECT_EQ(0, tool({"sql", "--help"}).status);
    for (const std::vector<std::string> &args : std::vector<std::vector<std::string>>{
             {}, {"frobnicate"}, {"create-user"}, {"create-user", "A", "B"}, {"drop-user", "--csv", "A"},
             {"demo", "--db"}, {"sql", "--force", "A/b"}}) {
        ProcessResult r = tool(args);
        EXPECT_EQ(2, r.status) << r.err;
        EXPECT_NE(std::string::npos, r.err.find("karvello-db: ")) << r.err;
    }
}

TEST_F(KarvelloDbTest, DemoBuildsTheSchemaOnceAndWritesImportableSamples)
{
    ProcessResult first = tool({"demo"});
    ASSERT_EQ(0, first.status) << first.err;
    const fs::path samples = fs::path(home) / "karvello" / "samples";
    EXPECT_NE(std::string::npos, first.out.find(samples.string())) << first.out;

    // Without --db the demo goes to the database "default" of the data folder.
    const std::string defaultDb = home + "/karvello/db/default";
    Client demo;
    ASSERT_EQ(0, demo.logon(defaultDb, "DEMO", "demo"));
    EXPECT_EQ(Rows{{"14"}}, demo.query("SELECT COUNT(*) FROM STAFF"));
    EXPECT_EQ((Rows{{"7003", "Keiko Mori"}, {"7008", "Hiroshi Sato"}, {"7009", "Marta Costa"}, {"7010", "Yuki Ono"}}),
              demo.query("SELECT STAFF_ID, NAME FROM SALES_STAFF ORDER BY STAFF_ID"));
    EXPECT_EQ((Rows{{"PRODUCTS"}, {"SECTIONS"}, {"STAFF"}}),
              demo.query("SELECT TABLE_NAME FROM USER_TABLES ORDER BY TABLE_NAME"));
    demo.exec("INSERT INTO SECTIONS VALUES (50, 'Marker', NULL)");
    ASSERT_EQ(0, demo.commit());

    // A second run keeps what is there.
    ProcessResult again = tool({"demo"});
    EXPECT_EQ(1, again.status);
    EXPECT_NE(std::string::npos, again.err.find("--force")) << again.err;
    EXPECT_EQ(Rows{{"Marker"}}, demo.query("SELECT NAME FROM SECTIONS WHERE SECTION_ID = 50"));

    // Shift-JIS bytes of 番茶, as the program would find them in the file.
    EXPECT_NE(std::string::npos, readFile(samples / "products_sjis.csv").find("P20002,\x94\xd4\x92\x83,330"));

    // Each sample line goes through the INSERT the program prepares for
    // PRODUCTS, with its fields bound as text.
    const std::string insert = "INSERT INTO PRODUCTS(CODE,NAME,PRICE,STOCK,RELEASED)VALUES(:1,:2,:3,:4,"
                               "TO_DATE(:5, 'yyyy-mm-dd hh24:mi:ss'))";
    const struct {
        const char *file;
        std::vector<int> errors; // per line
    } files[] = {
        {"products_utf8.csv", {0, 0, 0, 0, 0}},
        {"products_sjis.csv", {0, 0, 0, 0}},
        {"products_bad.csv", {0, OCI_ERR_TOO_LARGE, OCI_ERR_INVALID_NUMBER, 1839, OCI_ERR_UNIQUE,
                              OCI_ERR_PRECISION, OCI_ERR_NOT_NULL, 0}},
    };
    for (const auto &f : files) {
        SCOPED_TRACE(f.file);
        std::vector<int> errors;
        for (const std::string &line : csvLines(readFile(samples / f.file)))
            errors.push_back(demo.runBound(insert, splitCsvLine(line)));
        EXPECT_EQ(f.errors, errors);
    }
    EXPECT_EQ((Rows{{"P10002", "ほうじ茶, 徳用", "520.5", "40", "2024-05-15"}}),
              demo.query("SELECT CODE, NAME, PRICE, STOCK, TO_CHAR(RELEASED, 'YYYY-MM-DD') FROM PRODUCTS "
                         "WHERE CODE = 'P10002'"));
    demo.logoff();

    ProcessResult forced = tool({"demo", "--force", "--samples", home + "/elsewhere"});
    EXPECT_EQ(0, forced.status) << forced.err;
    EXPECT_TRUE(fs::exists(fs::path(home) / "elsewhere" / "products_bad.csv"));
    Client fresh;
    ASSERT_EQ(0, fresh.logon(defaultDb, "DEMO", "demo"));
    EXPECT_EQ(Rows{{"4"}}, fresh.query("SELECT COUNT(*) FROM SECTIONS"));
}
