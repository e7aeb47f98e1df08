// The edges of the interface: logon, what a session may reach, the records
// the caller owns, and calls made in the wrong state.
#include "EngineClient.h"

#include "tests/support/TestEnvironment.h"

#include <cstring>
#include <filesystem>
#include <functional>
#include <set>
#include <sys/stat.h>

using namespace enginetest;
namespace fs = std::filesystem;

namespace {

const oci_text *text(const char *s)
{
    return reinterpret_cast<const oci_text *>(s);
}

int modeOf(const fs::path &path)
{
    struct stat st{};
    if (stat(path.c_str(), &st) != 0)
        return -1;
    return static_cast<int>(st.st_mode & 07777);
}

std::set<std::string> filesIn(const std::string &folder)
{
    std::set<std::string> names;
    for (const auto &entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

} // namespace

TEST_F(EngineTest, LogonFailuresAreAlike)
{
    const struct {
        const char *user;
        const char *password;
        int error;
    } cases[] = {
        {"SCOTT", "tiger", 0},
        {"scott", "tiger", 0},
        {"SCOTT", "TIGER", OCI_ERR_LOGON_DENIED},
        {"SCOTT", "", OCI_ERR_LOGON_DENIED},
        {"NOBODY", "tiger", OCI_ERR_LOGON_DENIED},
        {"\"scott\"", "tiger", OCI_ERR_LOGON_DENIED},
        {"", "", OCI_ERR_LOGON_DENIED},
    };
    for (const auto &k : cases) {
        SCOPED_TRACE(std::string(k.user) + "/" + k.password);
        Client session;
        int rc = session.logon(db, k.user, k.password);
        EXPECT_EQ(k.error, rc);
        EXPECT_EQ(OCI_FC_OLOG, functionCodeOf(session.lda));
        EXPECT_EQ(k.error, returnCodeOf(session.lda));
        if (rc) {
            EXPECT_EQ("ORA-01017: invalid username/password; logon denied", session.message(rc));
        }
    }
}

TEST_F(EngineTest, LogonHonoursExplicitLengths)
{
    Lda_Def lda{};
    hda_def hda{};
    const std::string database = db + "trailing";
    ASSERT_EQ(0, olog(&lda, hda.data, text("SCOTTISH"), 5, text("tigers"), 5, text(database.c_str()),
                      static_cast<oci_sword>(db.size()), 0))
        << lda.rc;
    EXPECT_EQ(0, ologof(&lda));
}

TEST_F(EngineTest, UnknownDatabaseIsALogonFailure)
{
    Client session;
    EXPECT_EQ(OCI_ERR_LOGON_DENIED, session.logon(db + "/missing", "SCOTT", "tiger"));
    EXPECT_EQ(OCI_ERR_LOGON_DENIED, session.logon("no-such-database", "SCOTT", "tiger"));
}

TEST_F(EngineTest, StatementsCannotReachBeyondTheSchema)
{
    ASSERT_NO_FATAL_FAILURE(createUser(db, "OTHER", "secret"));
    {
        Client other;
        ASSERT_EQ(0, other.logon(db, "OTHER", "secret"));
        other.exec("CREATE TABLE SECRET (X VARCHAR2(10))");
        other.exec("INSERT INTO SECRET VALUES ('hidden')");
    }
    exec("CREATE TABLE T (ID NUMBER)");
    exec("INSERT INTO T VALUES (1)");
    const std::set<std::string> before = filesIn(db);
    const std::string otherFile = db + "/OTHER.db";
    const std::string refused[] = {
        "ATTACH DATABASE '" + otherFile + "' AS O",
        "ATTACH '" + db + "/new.db' AS N",
        "DETACH DATABASE main",
        "PRAGMA table_info(T)",
        "PRAGMA writable_schema = 1",
        "VACUUM INTO '" + db + "/copy.db'",
        "SELECT * FROM T; DELETE FROM T",
        "SELECT * FROM T;DROP TABLE T",
        "DELETE FROM T WHERE ID = 1; DROP TABLE T",
        "SELECT * FROM OTHER.SECRET",
        "SELECT * FROM OTHER.T",
        "DELETE FROM OTHER.T",
        "SELECT * FROM \"OTHER\".\"SECRET\"",
        "SELECT * FROM \"../OTHER\"",
        "SELECT * FROM \"..\".SECRET",
        "SELECT * FROM \"OTHER.db\".SECRET",
        "CREATE TABLE X;Y (A NUMBER)",
        "SELECT * FROM sqlite_master",
        "SELECT * FROM main.T",
        "SELECT load_extension('x') FROM DUAL",
        "SELECT sqlite_version() FROM DUAL",
        "BEGIN",
        "REINDEX",
    };
    for (const std::string &sql : refused) {
        SCOPED_TRACE(sql);
        EXPECT_NE(0, errorOf(sql));
    }
    EXPECT_EQ(Rows{{"1"}}, query("SELECT ID FROM T"));
    EXPECT_EQ(Rows{{"1"}}, query("SELECT ID FROM SCOTT.T"));
    EXPECT_EQ(before, filesIn(db));
    Client other;
    ASSERT_EQ(0, other.logon(db, "OTHER", "secret"));
    EXPECT_EQ(Rows{{"hidden"}}, other.query("SELECT X FROM SECRET"));
}

TEST(EngineFiles, FoldersAndFilesAreTheOwnersOnly)
{
    // A plain name is a database under the data folder, made by the engine.
    ASSERT_NO_FATAL_FAILURE(createUser("modes", "SCOTT", "tiger"));
    const fs::path folder = fs::path(std::getenv("XDG_DATA_HOME")) / "karvello" / "db" / "modes";
    Client session;
    ASSERT_EQ(0, session.logon("modes", "SCOTT", "tiger"));
    session.exec("CREATE TABLE T (ID NUMBER)");
    session.exec("INSERT INTO T VALUES (1)");
    EXPECT_EQ(0700, modeOf(folder));
    int files = 0;
    for (const auto &entry : fs::directory_iterator(folder)) {
        SCOPED_TRACE(entry.path().string());
        ++files;
        EXPECT_EQ(0600, modeOf(entry.path()));
    }
    EXPECT_GE(files, 1);
}

// Each call writes its own function code at byte 10 and its outcome at byte
// 12, and nothing else of the caller's records but the documented fields.
TEST_F(EngineTest, EveryCallWritesItsFunctionCodeAndReturnCode)
{
    exec("CREATE TABLE T (ID NUMBER, NAME VARCHAR2(10))");
    exec("INSERT INTO T VALUES (1, 'a')");
    ASSERT_EQ(0, c.commit());
    Lda_Def lda;
    hda_def hda;
    Cda_Def cda;
    std::memset(&lda, 0xAB, sizeof lda);
    std::memset(&hda, 0xCD, sizeof hda);
    std::memset(&cda, 0xAB, sizeof cda);
    const hda_def hdaBefore = hda;
    char id[16] = "7";
    char out[16];
    oci_sb4 size;
    oci_sb2 type;
    oci_sb1 name[8];
    oci_sb4 nameLength = sizeof name;

    const struct {
        const char *call;
        std::function<oci_sword()> run;
        cda_def *area;
        int functionCode;
        int error;
    } steps[] = {
        {"olog", [&] { return olog(&lda, hda.data, text("SCOTT"), -1, text("tiger"), -1, text(db.c_str()), -1, 0); },
         &lda, OCI_FC_OLOG, 0},
        {"oopen", [&] { return oopen(&cda, &lda, nullptr, -1, -1, nullptr, -1); }, &cda, OCI_FC_OOPEN, 0},
        {"oparse bad", [&] { return oparse(&cda, text("SELECT * FROM NOPE"), -1, 0, 1); }, &cda, OCI_FC_OPARSE,
         OCI_ERR_NO_TABLE},
        {"oparse", [&] { return oparse(&cda, text("SELECT ID FROM T WHERE ID < :1"), -1, 0, 1); }, &cda,
         OCI_FC_OPARSE, 0},
        {"obndrn", [&] { return obndrn(&cda, 1, reinterpret_cast<oci_ub1 *>(id), sizeof id, 5, -1, nullptr, nullptr, 0, -1); },
         &cda, OCI_FC_OBNDRN, 0},
        {"obndrv", [&] { return obndrv(&cda, text(":1"), -1, reinterpret_cast<oci_ub1 *>(id), sizeof id, 5, -1, nullptr, nullptr, -1, -1); },
         &cda, OCI_FC_OBNDRV, 0},
        {"odescr", [&] { return odescr(&cda, 1, &size, &type, name, &nameLength, nullptr, nullptr, nullptr, nullptr); },
         &cda, OCI_FC_ODESCR, 0},
        {"odescr past", [&] { return odescr(&cda, 2, &size, &type, name, &nameLength, nullptr, nullptr, nullptr, nullptr); },
         &cda, OCI_FC_ODESCR, OCI_ERR_NO_COLUMN},
        {"odefin", [&] { return odefin(&cda, 1, reinterpret_cast<oci_ub1 *>(out), sizeof out, 5, -1, nullptr, nullptr, -1, -1, nullptr, nullptr); },
         &cda, OCI_FC_ODEFIN, 0},
        {"oexec", [&] { return oexec(&cda); }, &cda, OCI_FC_OEXEC, 0},
        {"ofetch", [&] { return ofetch(&cda); }, &cda, OCI_FC_OFETCH, 0},
        {"ofetch end", [&] { return ofetch(&cda); }, &cda, OCI_FC_OFETCH, OCI_ERR_NO_DATA},
        {"ocon", [&] { return ocon(&lda); }, &lda, OCI_FC_OCON, 0},
        {"ocof", [&] { return ocof(&lda); }, &lda, OCI_FC_OCOF, 0},
        {"ocom", [&] { return ocom(&lda); }, &lda, OCI_FC_OCOM, 0},
        {"orol", [&] { return orol(&lda); }, &lda, OCI_FC_OROL, 0},
        {"oclose", [&] { return oclose(&cda); }, &cda, OCI_FC_OCLOSE, 0},
        {"ologof", [&] { return ologof(&lda); }, &lda, OCI_FC_OLOGOF, 0},
    };
    for (const auto &step : steps) {
        SCOPED_TRACE(step.call);
        oci_sword result = step.run();
        EXPECT_EQ(step.error == 0, result == 0);
        EXPECT_EQ(step.functionCode, functionCodeOf(*step.area));
        EXPECT_EQ(step.error, returnCodeOf(*step.area));
        for (const cda_def *area : {&lda, &cda}) {
            const auto *bytes = reinterpret_cast<const unsigned char *>(area);
            for (std::size_t i = 0; i < OCI_CDA_SIZE; ++i) {
                bool documented = (i >= 2 && i < 8) || i == OCI_CDA_FC_OFFSET || i == OCI_CDA_RC_OFFSET ||
                                  i == OCI_CDA_RC_OFFSET + 1;
                if (!documented) {
                    ASSERT_EQ(0xAB, bytes[i]) << (area == &lda ? "logon" : "cursor") << " area byte " << i;
                }
            }
        }
    }
    EXPECT_STREQ("1", out);
    EXPECT_EQ(0, std::memcmp(&hdaBefore, &hda, sizeof hda)) << "the host data area was written";
}

TEST_F(EngineTest, CallsOnAreasThatAreNotOpenFailCleanly)
{
    char buffer[16] = "";
    oci_sb4 size;
    oci_sb2 type;
    auto cursorCalls = [&](Cda_Def *cda) {
        return std::vector<oci_sword>{
            oparse(cda, text("SELECT 1 FROM DUAL"), -1, 0, 1),
            odescr(cda, 1, &size, &type, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr),
            odefin(cda, 1, reinterpret_cast<oci_ub1 *>(buffer), sizeof buffer, 5, -1, nullptr, nullptr, -1, -1,
                   nullptr, nullptr),
            obndrn(cda, 1, reinterpret_cast<oci_ub1 *>(buffer), sizeof buffer, 5, -1, nullptr, nullptr, 0, -1),
            oexec(cda),
            ofetch(cda),
            ocan(cda),
            oclose(cda),
        };
    };
    Cda_Def never{};
    for (oci_sword result : cursorCalls(&never)) {
        EXPECT_NE(0, result);
    }
    EXPECT_EQ(OCI_ERR_INVALID_CURSOR, returnCodeOf(never));

    Cda_Def closed{};
    ASSERT_EQ(0, oopen(&closed, &c.lda, nullptr, -1, -1, nullptr, -1));
    ASSERT_EQ(0, oclose(&closed));
    for (oci_sword result : cursorCalls(&closed)) {
        EXPECT_NE(0, result);
    }
    EXPECT_EQ(OCI_ERR_INVALID_CURSOR, returnCodeOf(closed));

    for (oci_sword result : cursorCalls(nullptr)) {
        EXPECT_NE(0, result);
    }

    // A cursor that lost its session with the logoff.
    Cda_Def orphan{};
    {
        Client session;
        ASSERT_EQ(0, session.logon(db, "SCOTT", "tiger"));
        ASSERT_EQ(0, oopen(&orphan, &session.lda, nullptr, -1, -1, nullptr, -1));
    }
    EXPECT_NE(0, oparse(&orphan, text("SELECT 1 FROM DUAL"), -1, 0, 1));
    EXPECT_NE(0, returnCodeOf(orphan));

    Lda_Def notLoggedOn{};
    Cda_Def cursor{};
    EXPECT_NE(0, oopen(&cursor, &notLoggedOn, nullptr, -1, -1, nullptr, -1));
    EXPECT_EQ(OCI_ERR_NOT_CONNECTED, returnCodeOf(cursor));
    for (auto call : {ocom, orol, ocon, ocof, ologof}) {
        EXPECT_NE(0, call(&notLoggedOn));
        EXPECT_EQ(OCI_ERR_NOT_CONNECTED, returnCodeOf(notLoggedOn));
        EXPECT_NE(0, call(nullptr));
    }
    EXPECT_NE(0, oopen(&cursor, nullptr, nullptr, -1, -1, nullptr, -1));
    EXPECT_NE(0, olog(nullptr, nullptr, text("SCOTT"), -1, text("tiger"), -1, text(db.c_str()), -1, 0));
}

TEST_F(EngineTest, CallsTheProgramNeverMakesFailWithoutHarm)
{
    exec("CREATE TABLE T (ID NUMBER)");
    ASSERT_EQ(0, oparse(&c.cda, text("INSERT INTO T VALUES (:A)"), -1, 0, 1));
    oci_ub1 piece = 0;
    void *context = nullptr;
    oci_ub4 iteration = 0, index = 0;
    EXPECT_NE(0, ogetpi(&c.cda, &piece, &context, &iteration, &index));
    EXPECT_EQ(OCI_FC_OGETPI, functionCodeOf(c.cda));
    EXPECT_NE(0, odessp(&c.lda, text("PROC"), 4, nullptr, 0, nullptr, 0, nullptr, nullptr, nullptr, nullptr, nullptr,
                        nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(OCI_FC_ODESSP, functionCodeOf(c.lda));
    ocan(&c.cda); // may work or fail, but says which call it was
    EXPECT_EQ(OCI_FC_OCAN, functionCodeOf(c.cda));
    EXPECT_NE(0, ogetpi(nullptr, nullptr, nullptr, nullptr, nullptr));
    EXPECT_NE(0, obndra(nullptr, text(":A"), -1, nullptr, 0, 5, -1, nullptr, nullptr, nullptr, 0, nullptr, nullptr,
                        -1, -1));
    // The session goes on as before.
    EXPECT_EQ(Rows{}, query("SELECT ID FROM T"));
}

TEST_F(EngineTest, ErrorMessagesAreCutToTheBuffer)
{
    const std::string full = "ORA-00942: table or view does not exist";
    EXPECT_EQ(full, c.message(942));
    char small[12];
    std::memset(small, 'Z', sizeof small);
    oerhms(&c.lda, 942, reinterpret_cast<oci_text *>(small), 10);
    EXPECT_STREQ(full.substr(0, 9).c_str(), small);
    EXPECT_EQ('Z', small[10]);
    EXPECT_EQ('Z', small[11]);
    EXPECT_EQ(0u, c.message(OCI_ERR_NO_DATA).find("ORA-01403: no data found"));
}
