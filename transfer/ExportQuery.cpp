#include "transfer/ExportQuery.h"

#include <cstddef>

std::string QuoteText(char quoteChar)
{
    if (quoteChar == '\0')
        return {};
    if (quoteChar == '\'')
        return "''";
    return std::string(1, quoteChar);
}

std::string ExportSelect(const std::string &table, const std::vector<std::string> &names,
                         const std::vector<ColumnClass> &classes, char quoteChar, bool withTime)
{
    const std::string quote = "'" + QuoteText(quoteChar) + "'";
    const char *dateFormat = withTime ? ",'yyyy-mm-dd hh24:mi:ss')" : ",'yyyy-mm-dd')";
    std::string sql = "select ";
    for (size_t i = 0; i < names.size() && i < classes.size(); ++i) {
        if (i > 0)
            sql += ',';
        const std::string &name = names[i];
        switch (classes[i]) {
        case ColumnClass::Number:
            sql += name;
            break;
        case ColumnClass::Date:
            sql += quote + " || to_char(" + name + dateFormat + " || " + quote;
            break;
        case ColumnClass::Text:
        case ColumnClass::Long:
        case ColumnClass::Other:
            sql += quote + "||" + name + "||" + quote;
            break;
        }
    }
    sql += " from " + table;
    return sql;
}
