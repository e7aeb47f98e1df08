#pragma once
// How `karvello-db sql` shows the rows of a query: an aligned table with
// column headings for people, or CSV for other programs.
#include "karvello_db_oci.h"

#include <cstdio>
#include <string>
#include <vector>

namespace kdbtool {

class ResultWriter {
public:
    virtual ~ResultWriter() = default;
    virtual void begin(const std::vector<ColumnInfo> &columns) = 0;
    virtual void row(const std::vector<Value> &values) = 0;
    virtual void end(unsigned rowCount) = 0;
    // A line about a statement that returns no rows ("2 rows updated.").
    virtual void feedback(const std::string &text) = 0;
};

// Columns as wide as their widest value or heading, numbers on the right,
// NULL as nothing. Rows are kept until the query ends to know the widths.
class TextResultWriter : public ResultWriter {
public:
    explicit TextResultWriter(std::FILE *out) : m_out(out) {}
    void begin(const std::vector<ColumnInfo> &columns) override;
    void row(const std::vector<Value> &values) override;
    void end(unsigned rowCount) override;
    void feedback(const std::string &text) override;

private:
    void writeLine(const std::vector<std::string> &cells, const std::vector<std::size_t> &widths);

    std::FILE *m_out;
    std::vector<ColumnInfo> m_columns;
    std::vector<std::vector<Value>> m_rows;
};

// A heading line, then one line per row, ended by LF. A field is quoted as
// RFC 4180 says: when it holds a comma, a quote or a line break, with its
// quotes doubled. NULL is an empty field. Feedback goes nowhere, so the
// output is data only.
class CsvResultWriter : public ResultWriter {
public:
    explicit CsvResultWriter(std::FILE *out) : m_out(out) {}
    void begin(const std::vector<ColumnInfo> &columns) override;
    void row(const std::vector<Value> &values) override;
    void end(unsigned) override {}
    void feedback(const std::string &) override {}

private:
    void writeField(const std::string &field);

    std::FILE *m_out;
};

// Columns a terminal needs to show the text: wide (East Asian) characters
// count two, bytes that are no character of the locale count one each.
std::size_t displayWidth(const std::string &text);

} // namespace kdbtool
