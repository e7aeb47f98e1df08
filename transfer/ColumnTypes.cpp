#include "transfer/ColumnTypes.h"

namespace {

std::string withLength(std::string_view dataType, std::string_view length)
{
    std::string text(dataType);
    text += '(';
    text += length;
    text += ')';
    return text;
}

std::string numberText(std::string_view precision, std::string_view scale)
{
    const bool hasScale = !scale.empty() && scale != "0";
    if (precision.empty() && !hasScale)
        return "NUMBER";
    std::string text = "NUMBER(";
    text += precision.empty() ? std::string_view("*") : precision;
    if (hasScale) {
        text += ',';
        text += scale;
    }
    text += ')';
    return text;
}

} // namespace

std::string TypeText(std::string_view dataType, std::string_view dataLength, std::string_view precision,
                     std::string_view scale)
{
    if (dataType == "CHAR" || dataType == "VARCHAR" || dataType == "VARCHAR2" || dataType == "LONG")
        return withLength(dataType, dataLength);
    if (dataType == "NUMBER")
        return numberText(precision, scale);
    if (dataType == "DATE")
        return "DATE";
    return "???";
}

ColumnClass ClassOfTypeText(std::string_view typeText)
{
    // VARCHAR2 begins with VARCHAR, so two prefixes cover the three names.
    if (typeText.starts_with("CHAR") || typeText.starts_with("VARCHAR"))
        return ColumnClass::Text;
    if (typeText.starts_with("NUMBER"))
        return ColumnClass::Number;
    if (typeText.starts_with("DATE"))
        return ColumnClass::Date;
    if (typeText.starts_with("LONG"))
        return ColumnClass::Long;
    return ColumnClass::Other;
}
