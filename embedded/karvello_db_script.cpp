#include "karvello_db_script.h"

namespace kdbtool {
namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

class Splitter {
public:
    Splitter(std::string_view script, int firstLine)
        : m_script(script), m_line(firstLine), m_consumedLine(firstLine)
    {
    }

    // The statements ended by a terminator, then (in *rest, when given) the
    // one the script ends with, if any.
    std::vector<ScriptStatement> run(std::vector<ScriptStatement> *rest = nullptr)
    {
        while (m_pos < m_script.size()) {
            if (atLineStart() && lineIsSlash()) {
                skipRestOfLine();
                finishStatement();
                continue;
            }
            step();
        }
        std::vector<ScriptStatement> ended = std::move(m_statements);
        m_statements.clear();
        finishStatement(false);
        if (rest)
            *rest = std::move(m_statements);
        return ended;
    }

    // Where the text after the last terminator begins, and its line.
    std::size_t consumed() const { return m_consumed; }
    int consumedLine() const { return m_consumedLine; }

private:
    bool atLineStart() const { return m_pos == 0 || m_script[m_pos - 1] == '\n'; }

    std::string_view restOfLine() const
    {
        std::size_t end = m_script.find('\n', m_pos);
        return m_script.substr(m_pos, end == std::string_view::npos ? std::string_view::npos : end - m_pos);
    }

    bool lineIsSlash() const { return trimmed(restOfLine()) == "/"; }

    void skipRestOfLine() { m_pos += restOfLine().size(); }

    bool startsWith(std::string_view s) const { return m_script.substr(m_pos, s.size()) == s; }

    // One character outside quotes and comments, or a whole quoted part or
    // comment.
    void step()
    {
        char c = m_script[m_pos];
        if (c == '\'' || c == '"') {
            copyQuoted(c);
        } else if (startsWith("--")) {
            skipRestOfLine();
        } else if (startsWith("/*")) {
            std::size_t end = m_script.find("*/", m_pos + 2);
            advanceLinesTo(end == std::string_view::npos ? m_script.size() : end + 2);
            append(' ');
        } else if (c == ';') {
            ++m_pos;
            finishStatement();
        } else {
            append(c);
            ++m_pos;
        }
    }

    // A quoted part is copied up to its closing quote; a doubled quote inside
    // closes and reopens it, which copies both. An unclosed quote runs to the
    // end of the script and the engine reports it.
    void copyQuoted(char quote)
    {
        std::size_t end = m_script.find(quote, m_pos + 1);
        end = end == std::string_view::npos ? m_script.size() : end + 1;
        for (std::size_t i = m_pos; i < end; ++i)
            append(m_script[i]);
        m_pos = end;
    }

    void advanceLinesTo(std::size_t end)
    {
        for (; m_pos < end; ++m_pos)
            if (m_script[m_pos] == '\n')
                ++m_line;
    }

    void append(char c)
    {
        if (m_current.empty() && isBlank(c)) {
            if (c == '\n')
                ++m_line;
            return;
        }
        if (m_current.empty())
            m_startLine = m_line;
        if (c == '\n')
            ++m_line;
        m_current += c;
    }

    void finishStatement(bool byTerminator = true)
    {
        std::string_view text = trimmed(m_current);
        if (!text.empty())
            m_statements.push_back({std::string(text), m_startLine});
        m_current.clear();
        if (byTerminator) {
            m_consumed = m_pos;
            m_consumedLine = m_line;
        }
    }

    std::string_view m_script;
    std::size_t m_pos = 0;
    int m_line;
    int m_startLine = 1;
    std::size_t m_consumed = 0;
    int m_consumedLine;
    std::string m_current;
    std::vector<ScriptStatement> m_statements;
};

} // namespace

std::vector<ScriptStatement> ScriptReader::addLine(std::string_view line)
{
    m_pending += line;
    Splitter splitter(m_pending, m_pendingLine);
    std::vector<ScriptStatement> ended = splitter.run();
    m_pending.erase(0, splitter.consumed());
    m_pendingLine = splitter.consumedLine();
    return ended;
}

std::vector<ScriptStatement> ScriptReader::finish()
{
    std::vector<ScriptStatement> rest;
    Splitter(m_pending, m_pendingLine).run(&rest);
    m_pending.clear();
    return rest;
}

} // namespace kdbtool
