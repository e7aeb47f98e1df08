#include "oracle/TOCIData.h"

#include <algorithm>
#include <cstring>

namespace {

// Blanks and control characters: every byte up to and including the space.
bool isBlankOrControl(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}

} // namespace

std::string_view describedName(const describe &column)
{
    return std::string_view(column.Name, strnlen(column.Name, sizeof column.Name));
}

std::string_view trimBlanksRight(std::string_view text)
{
    while (!text.empty() && isBlankOrControl(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string_view trimBlanks(std::string_view text)
{
    text = trimBlanksRight(text);
    while (!text.empty() && isBlankOrControl(text.front()))
        text.remove_prefix(1);
    return text;
}

const char *typeNameOf(int dbType)
{
    switch (dbType) {
    case OCI_TYPE_VARCHAR2: return "VARCHAR2";
    case OCI_TYPE_NUMBER: return "NUMBER";
    case OCI_TYPE_CHAR: return "CHAR";
    case OCI_TYPE_DATE: return "DATE";
    case OCI_TYPE_ROWID: return "ROWID";
    default: return "Unknown";
    }
}

ColumnAttr makeColumnAttr(const describe &column)
{
    ColumnAttr attr;
    attr.Name = trimBlanksRight(describedName(column));
    attr.TypeName = typeNameOf(column.DbType);
    if (column.DbType == OCI_TYPE_NUMBER) {
        attr.Size = column.Precision - column.Scale;
        attr.Scale = column.Scale;
    } else {
        attr.Size = column.DbSize;
    }
    attr.Width = std::max<int>(column.DbSize, int(attr.Name.size()));
    attr.DbSize = column.DbSize;
    return attr;
}
