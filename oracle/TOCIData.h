#pragma once
// The attributes of a query's select-list columns, one record per column in
// select-list order, as the cursor keeps them after Execute.
#include "oracle/Describe.h"

#include <string>
#include <string_view>
#include <vector>

struct ColumnAttr {
    std::string Name;     // column name without trailing blanks and control characters
    std::string TypeName; // "VARCHAR2", "NUMBER", "CHAR", "DATE", "ROWID" or "Unknown"
    int Size = 0;         // NUMBER: precision minus scale; any other type: DbSize
    int Scale = 0;        // NUMBER: the scale; any other type: 0
    int Width = 0;        // the larger of DbSize and the length of Name
    int DbSize = 0;       // the described size (22 for a DATE)
};

// The name a describe record holds, up to its NUL.
std::string_view describedName(const describe &column);

// `text` without the blanks and control characters (every byte up to the
// space) at its end, or at both its ends.
std::string_view trimBlanksRight(std::string_view text);
std::string_view trimBlanks(std::string_view text);

// The record for a described column; `column.DbSize` is taken as it stands,
// so a date's size is set before.
ColumnAttr makeColumnAttr(const describe &column);

// The type name of an internal type code.
const char *typeNameOf(int dbType);

class TOCIData {
public:
    void add(ColumnAttr attr) { m_columns.push_back(std::move(attr)); }
    void clear() { m_columns.clear(); }
    int count() const { return int(m_columns.size()); }
    const ColumnAttr &operator[](int index) const { return m_columns[size_t(index)]; }

private:
    std::vector<ColumnAttr> m_columns;
};
