// Logon, logoff, transactions and error texts of the session controller,
// against the stand-in library.
#include "FakeOci.h"
#include "oracle/TOCIctrl.h"
#include "oracle/TOCIcur.h"
#include "LoginScript.h"

#include <gtest/gtest.h>

namespace {

const QString kRefused =
    QStringLiteral("-- ORACLE error when processing OCI function\nORA-01017: invalid username/password; logon denied");

class Session : public testing::Test {
protected:
    void SetUp() override
    {
        fakeoci::reset();
        session = new TOCIctrl(&owner);
        session->setLibraryNames({fakeoci::fullLibrary()});
    }

    bool connectAs(const char *user, const char *password)
    {
        session->UserID = QString::fromLatin1(user);
        session->Password = QString::fromLatin1(password);
        return session->Connect();
    }

    LoginScript login;
    QObject owner;
    TOCIctrl *session = nullptr;
};

TEST_F(Session, LoginAcceptedStoresTheTypedValuesUntrimmedAndLogsOn)
{
    session->UserID = QStringLiteral("OLD");
    session->ConnStr = QStringLiteral("olddb");
    login.accept(QStringLiteral("SCOTT"), QStringLiteral("tiger"), QStringLiteral(" db "));
    EXPECT_TRUE(session->Login());
    EXPECT_TRUE(session->connected());
    EXPECT_EQ(login.user, QStringLiteral("OLD"));
    EXPECT_EQ(login.conn, QStringLiteral("olddb"));
    EXPECT_EQ(session->UserID, QStringLiteral("SCOTT"));
    EXPECT_EQ(session->Password, QStringLiteral("tiger"));
    EXPECT_EQ(session->ConnStr, QStringLiteral(" db "));
    EXPECT_TRUE(session->LastError.isEmpty());
    EXPECT_EQ(session->loginForm(), nullptr);
}

TEST_F(Session, LoginRefusedReportsTheLibraryText)
{
    login.accept(QStringLiteral("SCOTT"), QStringLiteral("wrong"));
    EXPECT_FALSE(session->Login());
    EXPECT_FALSE(session->connected());
    EXPECT_EQ(session->LastError, kRefused);
    EXPECT_EQ(login.calls, 1); // one attempt, no second dialog
}

TEST_F(Session, LoginCancelledChangesNothingAndLeavesNoText)
{
    ASSERT_TRUE(connectAs("SCOTT", "tiger"));
    session->LastError = QStringLiteral("stale");
    login.cancel();
    EXPECT_FALSE(session->Login());
    EXPECT_TRUE(session->connected());
    EXPECT_TRUE(session->LastError.isEmpty());
    EXPECT_EQ(session->UserID, QStringLiteral("SCOTT"));
    EXPECT_EQ(fakeoci::log(), "olog");
}

TEST_F(Session, LoginWhileConnectedLogsOffFirstAndStaysOffWhenRefused)
{
    ASSERT_TRUE(connectAs("SCOTT", "tiger"));
    login.accept(QStringLiteral("ADAMS"), QStringLiteral("x"), QStringLiteral("other"));
    EXPECT_FALSE(session->Login());
    EXPECT_FALSE(session->connected());
    EXPECT_EQ(session->UserID, QStringLiteral("ADAMS"));
    EXPECT_EQ(session->ConnStr, QStringLiteral("other"));
    EXPECT_EQ(fakeoci::log(), "olog ologof olog oerhms");
}

TEST_F(Session, LoginFocusesThePasswordForAKnownUser)
{
    login.cancel();
    session->Login();
    EXPECT_EQ(login.focus, QStringLiteral("edUser"));
    session->UserID = QStringLiteral("SCOTT");
    session->Login();
    EXPECT_EQ(login.focus, QStringLiteral("edPassword"));
}

TEST_F(Session, WithoutALibraryLoginConnectAndDisConnectFail)
{
    session->setLibraryNames({fakeoci::missingLibrary()});
    login.accept(QStringLiteral("SCOTT"), QStringLiteral("tiger"));
    EXPECT_FALSE(session->Login());
    EXPECT_EQ(session->LastError, QStringLiteral("DLLが使用不可能です。"));
    EXPECT_EQ(login.calls, 0);
    session->LastError.clear();
    EXPECT_FALSE(session->Connect());
    EXPECT_EQ(session->LastError, QStringLiteral("DLLが使用不可能です。"));
    session->LastError.clear();
    EXPECT_FALSE(session->DisConnect());
    EXPECT_EQ(session->LastError, QStringLiteral("DLLが使用不可能です。"));
}

TEST_F(Session, DisConnectClosesTheOwnersCursorsAndStopsAtAnUnboundOne)
{
    ASSERT_TRUE(connectAs("SCOTT", "tiger"));
    auto *bound = new TOCIcur(&owner);
    bound->setOCIParent(session);
    EXPECT_EQ(bound->OCIParent(), session);
    auto *unbound = new TOCIcur(&owner);
    session->LastError = QStringLiteral("session text");

    EXPECT_FALSE(session->DisConnect());
    EXPECT_TRUE(session->connected());
    EXPECT_EQ(session->LastError, QStringLiteral("session text"));
    EXPECT_EQ(unbound->LastError, QStringLiteral("OCI-Controlにバインドされていません"));
    // Nor can the library be released under the open session.
    try {
        session->SetActive(false);
        ADD_FAILURE() << "deactivated";
    } catch (const OciError &e) {
        EXPECT_EQ(e.text(), QStringLiteral("セッションを終了できません。"));
    }
    EXPECT_TRUE(session->isActivated());

    delete unbound;
    EXPECT_TRUE(session->DisConnect());
    EXPECT_FALSE(session->connected());
    EXPECT_EQ(fakeoci::log(), "olog ologof");
    EXPECT_TRUE(session->DisConnect()) << "disconnected already";
}

TEST_F(Session, CursorBindsOnlyToASessionOfItsOwnOwner)
{
    QObject otherOwner;
    auto *cursor = new TOCIcur(&otherOwner);
    cursor->setOCIParent(session);
    EXPECT_EQ(cursor->OCIParent(), nullptr);
    cursor->setOCIParent(&owner);
    EXPECT_EQ(cursor->OCIParent(), nullptr);
}

TEST_F(Session, LogoffRefusedKeepsTheSession)
{
    ASSERT_TRUE(connectAs("SCOTT", "tiger"));
    fakeoci::fail("ologof", 3114);
    EXPECT_FALSE(session->DisConnect());
    EXPECT_TRUE(session->connected());
    EXPECT_EQ(session->LastError, QStringLiteral("セッションを切断できません。"));
    fakeoci::reset();
}

TEST_F(Session, CommitAndRollback)
{
    session->Active();
    session->LastError = QStringLiteral("kept");
    EXPECT_FALSE(session->Commit());
    EXPECT_FALSE(session->Rollback());
    EXPECT_EQ(session->LastError, QStringLiteral("kept"));
    EXPECT_EQ(fakeoci::log(), "");

    ASSERT_TRUE(connectAs("SCOTT", "tiger"));
    EXPECT_TRUE(session->Commit());
    EXPECT_TRUE(session->Rollback());
    fakeoci::fail("ocom", 2091);
    EXPECT_FALSE(session->Commit());
    EXPECT_EQ(session->LastError, QStringLiteral("-- ORACLE error when processing OCI function\nORA-02091: fake failure"));
}

TEST_F(Session, AutoCommitCallsTheLibraryOnlyForAChange)
{
    session->SetAutoCommit(true); // not connected: ignored
    EXPECT_FALSE(session->autoCommit());
    ASSERT_TRUE(connectAs("SCOTT", "tiger"));
    session->SetAutoCommit(false);
    session->SetAutoCommit(true);
    session->SetAutoCommit(true);
    EXPECT_TRUE(session->autoCommit());
    EXPECT_EQ(fakeoci::log(), "olog ocon");

    fakeoci::fail("ocof", 3113);
    try {
        session->SetAutoCommit(false);
        ADD_FAILURE() << "no exception";
    } catch (const OciError &e) {
        EXPECT_EQ(e.text(), QStringLiteral("Auto-CommitをOFFにできません。"));
    }
    EXPECT_TRUE(session->autoCommit());
    EXPECT_EQ(session->LastError, QStringLiteral("-- ORACLE error when processing OCI function\nORA-03113: fake failure"));
}

TEST_F(Session, ErrorTextStartsWithTheLineBreakWhenNoCallWasMade)
{
    session->Active();
    cda_def area{};
    area.rc = 942;
    EXPECT_EQ(session->err_report(area), QStringLiteral("\nORA-00942: fake failure"));
    EXPECT_EQ(session->LastError, QStringLiteral("\nORA-00942: fake failure"));
}

} // namespace
