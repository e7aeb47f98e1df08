#include "embedded/OraErrors.h"

#include <gtest/gtest.h>

using kdb::oraMessage;

TEST(OraErrors, MessagesWithAndWithoutDetail)
{
    struct Case { int code; const char *detail, *text; };
    const Case cases[] = {
        {1403, "", "ORA-01403: no data found"},
        {1722, "ignored", "ORA-01722: invalid number"},
        {1, "DEMO.SYS_C0000012", "ORA-00001: unique constraint (DEMO.SYS_C0000012) violated"},
        {1, "", "ORA-00001: unique constraint violated"},
        {1400, "\"DEMO\".\"EMP\".\"ENAME\"", "ORA-01400: cannot insert NULL into (\"DEMO\".\"EMP\".\"ENAME\")"},
        {12899, "\"DEMO\".\"T\".\"C\" (actual: 5, maximum: 3)",
         "ORA-12899: value too large for column \"DEMO\".\"T\".\"C\" (actual: 5, maximum: 3)"},
        {12899, "", "ORA-12899: value too large for column"},
        {904, "\"NOPE\"", "ORA-00904: \"NOPE\": invalid identifier"},
        {904, "", "ORA-00904: invalid identifier"},
        {1918, "SCOTT", "ORA-01918: user 'SCOTT' does not exist"},
        {932, "expected NUMBER got DATE", "ORA-00932: inconsistent datatypes: expected NUMBER got DATE"},
        {2291, "DEMO.FK_DEPT", "ORA-02291: integrity constraint (DEMO.FK_DEPT) violated - parent key not found"},
        {1017, "", "ORA-01017: invalid username/password; logon denied"},
        {1861, "", "ORA-01861: literal does not match format string"},
        {24374, "", "ORA-24374: define not done before fetch or execute and fetch"},
        {99999, "", "ORA-99999: Message 99999 not found;  product=RDBMS; facility=ORA"},
        {7, "", "ORA-00007: Message 7 not found;  product=RDBMS; facility=ORA"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(oraMessage(c.code, c.detail), c.text) << c.code;
}

TEST(OraErrors, EveryNumberTheEngineReportsHasItsWording)
{
    for (int code : {1, 54, 900, 901, 902, 903, 904, 906, 907, 911, 913, 917, 918, 920, 921, 923, 924, 925,
                     926, 927, 928, 932, 933, 936, 942, 947, 955, 957, 972, 998, 1001, 1002, 1003, 1007, 1008,
                     1012, 1013, 1017, 1031, 1400, 1401, 1403, 1405, 1406, 1407, 1410, 1422, 1426, 1428, 1438,
                     1476, 1481, 1722, 1756, 1789, 1810, 1821, 1830, 1839, 1841, 1843, 1846, 1847, 1848, 1849,
                     1850, 1851, 1852, 1853, 1855, 1858, 1861, 1862, 1918, 1920, 1935, 2290, 2291, 2292, 3001,
                     12899, 22818, 24333, 24338, 24374}) {
        for (const char *detail : {"", "X.Y"}) {
            const std::string text = oraMessage(code, detail);
            EXPECT_EQ(text.find("not found;"), std::string::npos) << text;
            EXPECT_EQ(text.find("%s"), std::string::npos) << text;
            EXPECT_EQ(text.find("()"), std::string::npos) << text;
        }
    }
}
