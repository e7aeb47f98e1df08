// Loading the client library and taking its 20 entries.
#include "FakeOci.h"
#include "oracle/TOCIctrl.h"
#include "oracle/TOCIcur.h"

#include <QObject>
#include <gtest/gtest.h>

namespace {

struct ActivationCase {
    const char *name;
    QStringList libraries;
    QString error; // empty: activation succeeds
};

class Activation : public testing::TestWithParam<ActivationCase> {};

TEST_P(Activation, TakesTheFirstLoadableLibraryAndNamesTheFirstMissingEntry)
{
    const ActivationCase &c = GetParam();
    QObject owner;
    auto *session = new TOCIctrl(&owner);
    session->setLibraryNames(c.libraries);
    if (c.error.isEmpty()) {
        EXPECT_NO_THROW(session->SetActive(true));
        EXPECT_TRUE(session->isActivated());
        return;
    }
    try {
        session->SetActive(true);
        ADD_FAILURE() << "activation succeeded";
    } catch (const OciError &e) {
        EXPECT_EQ(e.text(), c.error);
    }
    EXPECT_FALSE(session->isActivated());
    // Active reports the same failure as false, and leaves LastError alone.
    session->LastError = QStringLiteral("before");
    EXPECT_FALSE(session->Active());
    EXPECT_EQ(session->LastError, QStringLiteral("before"));
}

INSTANTIATE_TEST_SUITE_P(
    Libraries, Activation,
    testing::Values(
        ActivationCase{"complete", {fakeoci::fullLibrary()}, {}},
        ActivationCase{"secondWhenFirstMissing", {fakeoci::missingLibrary(), fakeoci::fullLibrary()}, {}},
        // The first library that loads is the one used, complete or not.
        ActivationCase{"firstLoadableOnly", {fakeoci::noOgetpiLibrary(), fakeoci::fullLibrary()},
                       QStringLiteral("エントリogetpiのロードに失敗しました。")},
        ActivationCase{"lacksOconAndOrol", {fakeoci::noOconOrolLibrary()},
                       QStringLiteral("エントリoconのロードに失敗しました。")},
        ActivationCase{"lacksOgetpi", {fakeoci::noOgetpiLibrary()},
                       QStringLiteral("エントリogetpiのロードに失敗しました。")},
        ActivationCase{"noneLoads", {fakeoci::missingLibrary(), QStringLiteral("libkarvello_none.so")},
                       fakeoci::missingLibrary() + QStringLiteral(" or libkarvello_none.soのロードに失敗しました。")}),
    [](const testing::TestParamInfo<ActivationCase> &info) { return std::string(info.param.name); });

TEST(Binding, DefaultsToAnInstalledClientThenTheEngineInTheProgramFolder)
{
    QObject owner;
    TOCIctrl session(&owner);
    const QStringList names = session.libraryNames();
    ASSERT_EQ(names.size(), 2);
    EXPECT_EQ(names[0], QStringLiteral("libclntsh.so"));
    EXPECT_TRUE(names[1].endsWith(QStringLiteral("/libkarvellodb.so")));
}

TEST(Binding, SwitchingToTheStateItIsInChangesNothing)
{
    QObject owner;
    auto *session = new TOCIctrl(&owner);
    session->setLibraryNames({fakeoci::fullLibrary()});
    EXPECT_NO_THROW(session->SetActive(false));
    EXPECT_FALSE(session->isActivated());
    session->SetActive(true);
    EXPECT_NO_THROW(session->SetActive(true));
    EXPECT_TRUE(session->isActivated());
    EXPECT_TRUE(session->UnActive());
    EXPECT_FALSE(session->isActivated());
    EXPECT_TRUE(session->UnActive());
}

TEST(Binding, DeactivatingAConnectedSessionLogsOffFirst)
{
    fakeoci::reset();
    QObject owner;
    auto *session = new TOCIctrl(&owner);
    session->setLibraryNames({fakeoci::fullLibrary()});
    session->UserID = QStringLiteral("SCOTT");
    session->Password = QStringLiteral("tiger");
    ASSERT_TRUE(session->Connect());
    EXPECT_TRUE(session->UnActive());
    EXPECT_FALSE(session->connected());
    EXPECT_FALSE(session->isActivated());
    EXPECT_EQ(fakeoci::log(), "olog ologof");
}

// The owner frees its children in order: the session goes while a cursor
// made after it still lives, and one made before it is already gone.
TEST(Binding, DestroyingAConnectedSessionLogsOff)
{
    fakeoci::reset();
    {
        QObject owner;
        auto *before = new TOCIcur(&owner);
        auto *session = new TOCIctrl(&owner);
        session->setLibraryNames({fakeoci::fullLibrary()});
        session->UserID = QStringLiteral("SCOTT");
        session->Password = QStringLiteral("tiger");
        before->setOCIParent(session);
        auto *after = new TOCIcur(&owner);
        after->setOCIParent(session);
        ASSERT_TRUE(session->Connect());
    }
    EXPECT_EQ(fakeoci::log(), "olog ologof");
}

} // namespace
