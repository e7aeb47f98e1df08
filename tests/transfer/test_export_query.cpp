// The export's SELECT text for each column class and quote character.
#include "transfer/ExportQuery.h"

#include <gtest/gtest.h>

namespace {

TEST(ExportQuery, ItemsPerClassAndQuoteCharacter)
{
    struct Case {
        const char *name;
        char quote;
        bool withTime;
        const char *sql;
    };
    const Case cases[] = {
        {"double quote", '"', false,
         R"(select ID,'"'||NAME||'"','"' || to_char(CREATED,'yyyy-mm-dd') || '"','"'||MEMO||'"','"'||RAW1||'"' from ITEMS)"},
        {"single quote doubled inside the literals", '\'', false,
         R"(select ID,''''||NAME||'''','''' || to_char(CREATED,'yyyy-mm-dd') || '''',''''||MEMO||'''',''''||RAW1||'''' from ITEMS)"},
        {"no quote character", '\0', false,
         R"(select ID,''||NAME||'','' || to_char(CREATED,'yyyy-mm-dd') || '',''||MEMO||'',''||RAW1||'' from ITEMS)"},
        {"dates with their time", '"', true,
         R"(select ID,'"'||NAME||'"','"' || to_char(CREATED,'yyyy-mm-dd hh24:mi:ss') || '"','"'||MEMO||'"','"'||RAW1||'"' from ITEMS)"},
    };
    const std::vector<std::string> names = {"ID", "NAME", "CREATED", "MEMO", "RAW1"};
    const std::vector<ColumnClass> classes = {ColumnClass::Number, ColumnClass::Text, ColumnClass::Date,
                                              ColumnClass::Long, ColumnClass::Other};
    for (const Case &c : cases)
        EXPECT_EQ(ExportSelect("ITEMS", names, classes, c.quote, c.withTime), c.sql) << c.name;
}

} // namespace
