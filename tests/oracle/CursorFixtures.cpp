#include "CursorFixtures.h"

#include "FakeOci.h"
#include "embedded/Admin.h"
#include "support/TestEnvironment.h"

void CursorFixture::logOn(const QString &library, const char *user, const char *password, const std::string &connect)
{
    session = new TOCIctrl(&owner);
    session->setLibraryNames({library});
    session->UserID = QString::fromLatin1(user);
    session->Password = QString::fromLatin1(password);
    session->ConnStr = QString::fromStdString(connect);
    ASSERT_TRUE(session->Connect()) << session->LastError.toStdString();
    cursor = new TOCIcur(&owner);
    cursor->setOCIParent(session);
}

void EngineCursor::SetUp()
{
    const std::string database = testenv::makeTempDir("cursor") + "/db";
    std::string message;
    ASSERT_EQ(kdb::admin::createUser(database, "SCOTT", "tiger", &message), 0) << message;
    ASSERT_NO_FATAL_FAILURE(
        logOn(QString::fromStdString(testenv::binDir() + "/libkarvellodb.so"), "SCOTT", "tiger", database));
    helper = new TOCIcur(&owner);
    helper->setOCIParent(session);
}

void EngineCursor::run(const std::string &sql)
{
    EXPECT_TRUE(helper->ExecuteSQL(sql)) << sql << "\n" << helper->LastError.toStdString();
}

std::vector<std::string> EngineCursor::rows(const std::string &sql)
{
    std::vector<std::string> result;
    helper->SQL = sql;
    EXPECT_TRUE(helper->Execute()) << sql << "\n" << helper->LastError.toStdString();
    while (helper->Fetch()) {
        const std::vector<std::string> &values = helper->Row();
        std::string row;
        for (size_t i = 0; i < values.size(); ++i)
            row += (i ? "|" : "") + values[i];
        result.push_back(row);
    }
    EXPECT_TRUE(helper->atEndOfRows()) << helper->LastError.toStdString();
    helper->CleanUP();
    return result;
}

void FakeCursor::SetUp()
{
    fakeoci::reset();
    ASSERT_NO_FATAL_FAILURE(logOn(fakeoci::fullLibrary(), "SCOTT", "tiger", {}));
    fakeoci::reset();
}
