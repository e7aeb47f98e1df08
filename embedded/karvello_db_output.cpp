#include "karvello_db_output.h"

#include <algorithm>
#include <cwchar>

namespace kdbtool {

std::size_t displayWidth(const std::string &text)
{
    std::mbstate_t state{};
    std::size_t width = 0;
    const char *p = text.data();
    std::size_t left = text.size();
    while (left > 0) {
        wchar_t wc = 0;
        std::size_t n = std::mbrtowc(&wc, p, left, &state);
        if (n == static_cast<std::size_t>(-1) || n == static_cast<std::size_t>(-2)) {
            state = std::mbstate_t{};
            ++width;
            ++p;
            --left;
            continue;
        }
        if (n == 0)
            n = 1;
        int w = wcwidth(wc);
        width += w < 0 ? 1 : static_cast<std::size_t>(w);
        p += n;
        left -= n;
    }
    return width;
}

void TextResultWriter::begin(const std::vector<ColumnInfo> &columns)
{
    m_columns = columns;
    m_rows.clear();
}

void TextResultWriter::row(const std::vector<Value> &values)
{
    m_rows.push_back(values);
}

void TextResultWriter::end(unsigned rowCount)
{
    std::vector<std::size_t> widths(m_columns.size());
    std::vector<std::string> headings;
    for (std::size_t i = 0; i < m_columns.size(); ++i) {
        headings.push_back(m_columns[i].name);
        widths[i] = displayWidth(m_columns[i].name);
        for (const auto &row : m_rows)
            if (i < row.size() && row[i])
                widths[i] = std::max(widths[i], displayWidth(*row[i]));
    }
    writeLine(headings, widths);
    std::vector<std::string> rules;
    for (std::size_t w : widths)
        rules.emplace_back(w, '-');
    writeLine(rules, widths);
    std::vector<std::string> cells;
    for (const auto &row : m_rows) {
        cells.clear();
        for (std::size_t i = 0; i < m_columns.size(); ++i)
            cells.push_back(i < row.size() && row[i] ? *row[i] : std::string());
        writeLine(cells, widths);
    }
    m_rows.clear();
    if (rowCount == 0)
        feedback("no rows selected");
    else
        feedback(std::to_string(rowCount) + (rowCount == 1 ? " row selected." : " rows selected."));
}

void TextResultWriter::writeLine(const std::vector<std::string> &cells, const std::vector<std::size_t> &widths)
{
    std::string line;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        std::size_t pad = widths[i] - std::min(widths[i], displayWidth(cells[i]));
        bool right = m_columns[i].type == OCI_TYPE_NUMBER;
        if (i > 0)
            line += ' ';
        if (right)
            line.append(pad, ' ');
        line += cells[i];
        if (!right && i + 1 < cells.size())
            line.append(pad, ' ');
    }
    while (!line.empty() && line.back() == ' ')
        line.pop_back();
    std::fprintf(m_out, "%s\n", line.c_str());
}

void TextResultWriter::feedback(const std::string &text)
{
    std::fprintf(m_out, "%s\n\n", text.c_str());
}

void CsvResultWriter::begin(const std::vector<ColumnInfo> &columns)
{
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (i > 0)
            std::fputc(',', m_out);
        writeField(columns[i].name);
    }
    std::fputc('\n', m_out);
}

void CsvResultWriter::row(const std::vector<Value> &values)
{
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0)
            std::fputc(',', m_out);
        if (values[i])
            writeField(*values[i]);
    }
    std::fputc('\n', m_out);
}

void CsvResultWriter::writeField(const std::string &field)
{
    if (field.find_first_of(",\"\r\n") == std::string::npos) {
        std::fwrite(field.data(), 1, field.size(), m_out);
        return;
    }
    std::string quoted = "\"";
    for (char c : field) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    quoted += '"';
    std::fwrite(quoted.data(), 1, quoted.size(), m_out);
}

} // namespace kdbtool
