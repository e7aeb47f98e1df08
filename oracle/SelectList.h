#pragma once
// Describing the select list of a parsed statement, for the query and the
// insert paths of the cursor.
#include "oracle/Describe.h"

#include <vector>

class TOCIctrl;

// The most select-list positions a cursor describes.
inline constexpr int kMaxSelectColumns = 9999;

struct DescribedColumn {
    int index = 0;   // select-list position, from 0
    describe column; // as the library described it
};

// Describes the positions of the statement parsed on `area`, from 0 while
// below kMaxSelectColumns, up to the first that the library answers with
// 1007 (past the last column). A position that fails for another reason is
// left out and the next one tried; the index of each column keeps its place.
std::vector<DescribedColumn> describeSelectList(TOCIctrl &session, cda_def &area);
