// The engine through its 20 calls: statements, values, transactions.
#include "EngineSession.h"

#include <gtest/gtest.h>

using enginetest::EngineSession;
using enginetest::Rows;

namespace {

class Engine : public ::testing::Test {
protected:
    void SetUp() override
    {
        db = enginetest::newDatabase();
        session = std::make_unique<EngineSession>(db);
        ASSERT_TRUE(session->loggedOn());
    }
    std::string db;
    std::unique_ptr<EngineSession> session;
};

TEST_F(Engine, CreateInsertSelect)
{
    ASSERT_EQ(session->exec("CREATE TABLE ITEMS (ID NUMBER(6), NAME VARCHAR2(20), CREATED DATE)"), 0);
    ASSERT_EQ(session->exec("INSERT INTO ITEMS(ID,CREATED,NAME)VALUES(:1,TO_DATE(:2, 'yyyy-mm-dd hh24:mi:ss'),:3)",
                            {"12", "2001-05-01 00:00:00", "Pen"}),
              0);
    EXPECT_EQ(session->query("select ID,'\"'||NAME||'\"','\"' || to_char(CREATED,'yyyy-mm-dd') || '\"' from ITEMS"),
              (Rows{{"12", "\"Pen\"", "\"2001-05-01\""}}));
}

} // namespace
