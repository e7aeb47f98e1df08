#pragma once
// The type texts the preview grid shows under each column name, and the
// classes that the table-data preview and the export derive from them.
//
// The grid's type row is the only record of a column's type once the table
// has been previewed, so the text is made to be read by a person and classed
// again by its first bytes.
#include <string>
#include <string_view>

// How a column's values are selected and written; the numbers are stable.
enum class ColumnClass {
    Other = 0,  // a type the program does not know: handled as text
    Text = 1,   // CHAR, VARCHAR, VARCHAR2
    Number = 2, // NUMBER
    Date = 3,   // DATE: selected through to_char
    Long = 4,   // LONG
};

// The type text of a column as the dictionary describes it (all four values
// as the dictionary query returns them, as texts; a NULL is empty):
// VARCHAR2(20), CHAR(2), NUMBER(10), NUMBER(10,2), DATE, LONG(0), and "???"
// for any other type.
//
// A NUMBER declared without a precision has none in the dictionary: it reads
// NUMBER (or NUMBER(*,2) when only a scale was declared), rather than a pair
// of empty parentheses.
std::string TypeText(std::string_view dataType, std::string_view dataLength, std::string_view precision,
                     std::string_view scale);

// The class of a type text by how it begins; case matters.
ColumnClass ClassOfTypeText(std::string_view typeText);
