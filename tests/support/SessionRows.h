#pragma once
// Statements and queries a test runs beside the window under test: on a
// cursor of the window's session of its own, so that the window's cursor
// keeps whatever it had open.
#include "app/TfmMain.h"
#include "oracle/TOCIctrl.h"
#include "oracle/TOCIcur.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace testenv {

// Runs statements that must succeed, then commits.
inline void runStatements(TfmMain &window, const std::vector<std::string> &statements)
{
    TOCIcur helper(&window);
    helper.setOCIParent(window.OCI);
    for (const std::string &sql : statements)
        ASSERT_TRUE(helper.ExecuteSQL(sql)) << sql << "\n" << helper.LastError.toStdString();
    ASSERT_TRUE(window.OCI->Commit());
}

// The rows of a query, each row's values joined by "|".
inline std::vector<std::string> queryRows(TfmMain &window, const std::string &sql)
{
    TOCIcur helper(&window);
    helper.setOCIParent(window.OCI);
    helper.SQL = sql;
    std::vector<std::string> result;
    EXPECT_TRUE(helper.Execute()) << sql << "\n" << helper.LastError.toStdString();
    while (helper.Fetch()) {
        std::string row;
        for (size_t i = 0; i < helper.Row().size(); ++i)
            row += (i ? "|" : "") + helper.Row()[i];
        result.push_back(row);
    }
    EXPECT_TRUE(helper.atEndOfRows()) << helper.LastError.toStdString();
    return result;
}

} // namespace testenv
