#include "Lexer.h"

#include "SqlError.h"

namespace kdb::sql {
namespace {

bool isWordStart(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c >= 0x80;
}

bool isWordChar(unsigned char c)
{
    return isWordStart(c) || (c >= '0' && c <= '9') || c == '_' || c == '$' || c == '#';
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

char upper(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }

class Lexer {
public:
    explicit Lexer(std::string_view text) : m_text(text) {}

    std::vector<Token> run()
    {
        std::vector<Token> tokens;
        for (;;) {
            skipSpaceAndComments();
            Token t;
            t.begin = m_pos;
            if (m_pos >= m_text.size()) {
                t.end = m_pos;
                tokens.push_back(std::move(t));
                return tokens;
            }
            readToken(&t);
            t.end = m_pos;
            tokens.push_back(std::move(t));
        }
    }

private:
    char peek(size_t ahead = 0) const
    {
        return m_pos + ahead < m_text.size() ? m_text[m_pos + ahead] : '\0';
    }

    void skipSpaceAndComments()
    {
        while (m_pos < m_text.size()) {
            const char c = m_text[m_pos];
            if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v') {
                ++m_pos;
            } else if (c == '-' && peek(1) == '-') {
                while (m_pos < m_text.size() && m_text[m_pos] != '\n')
                    ++m_pos;
            } else if (c == '/' && peek(1) == '*') {
                const size_t close = m_text.find("*/", m_pos + 2);
                m_pos = close == std::string_view::npos ? m_text.size() : close + 2;
            } else {
                return;
            }
        }
    }

    void readToken(Token *t)
    {
        const unsigned char c = static_cast<unsigned char>(m_text[m_pos]);
        if (isWordStart(c)) {
            readWord(t);
        } else if (c == '"') {
            readQuotedName(t);
        } else if (c == '\'') {
            readString(t);
        } else if (isDigit(char(c)) || (c == '.' && isDigit(peek(1)))) {
            readNumber(t);
        } else if (c == ':') {
            readBind(t);
        } else {
            readOperator(t);
        }
    }

    void readWord(Token *t)
    {
        const size_t start = m_pos;
        while (m_pos < m_text.size() && isWordChar(static_cast<unsigned char>(m_text[m_pos])))
            ++m_pos;
        t->kind = TokenKind::Identifier;
        t->value.reserve(m_pos - start);
        for (size_t i = start; i < m_pos; ++i)
            t->value.push_back(upper(m_text[i]));
        checkLength(t->value);
    }

    void readQuotedName(Token *t)
    {
        const size_t close = m_text.find('"', m_pos + 1);
        if (close == std::string_view::npos)
            throw SqlError(ora::kMissingDoubleQuote);
        if (close == m_pos + 1)
            throw SqlError(ora::kZeroLengthIdentifier);
        t->kind = TokenKind::QuotedIdentifier;
        t->value.assign(m_text.substr(m_pos + 1, close - m_pos - 1));
        // Oracle's names never hold a NUL.
        if (t->value.find('\0') != std::string::npos)
            throw SqlError(ora::kInvalidCharacter);
        m_pos = close + 1;
        checkLength(t->value);
    }

    void readString(Token *t)
    {
        t->kind = TokenKind::String;
        ++m_pos;
        for (;;) {
            if (m_pos >= m_text.size())
                throw SqlError(ora::kUnterminatedString);
            const char c = m_text[m_pos++];
            // SQLite reads a NUL as the end of the statement, so no
            // translation could carry one.
            if (c == '\0')
                throw SqlError(ora::kInvalidCharacter);
            if (c == '\'') {
                if (peek() != '\'')
                    return;
                ++m_pos;
            }
            t->value.push_back(c);
        }
    }

    void readNumber(Token *t)
    {
        const size_t start = m_pos;
        while (isDigit(peek()))
            ++m_pos;
        if (peek() == '.' && peek(1) != '.') {
            ++m_pos;
            while (isDigit(peek()))
                ++m_pos;
        }
        if ((peek() == 'E' || peek() == 'e')
            && (isDigit(peek(1)) || ((peek(1) == '+' || peek(1) == '-') && isDigit(peek(2))))) {
            m_pos += 2;
            while (isDigit(peek()))
                ++m_pos;
        }
        t->kind = TokenKind::Number;
        t->value.assign(m_text.substr(start, m_pos - start));
    }

    void readBind(Token *t)
    {
        ++m_pos;
        t->kind = TokenKind::Bind;
        if (isDigit(peek())) {
            while (isDigit(peek()))
                t->value.push_back(m_text[m_pos++]);
        } else if (isWordStart(static_cast<unsigned char>(peek()))) {
            Token word;
            readWord(&word);
            t->value = std::move(word.value);
        } else if (peek() == '"') {
            Token name;
            readQuotedName(&name);
            t->value = std::move(name.value);
        } else {
            throw SqlError(ora::kInvalidCharacter);
        }
    }

    void readOperator(Token *t)
    {
        static constexpr std::string_view twoChar[] = {"||", "<>", "!=", "^=", "<=", ">="};
        t->kind = TokenKind::Operator;
        for (std::string_view op : twoChar) {
            if (m_text.substr(m_pos, 2) == op) {
                t->value.assign(op);
                m_pos += 2;
                return;
            }
        }
        const char c = m_text[m_pos];
        if (std::string_view("(),.+-*/=<>").find(c) == std::string_view::npos)
            throw SqlError(ora::kInvalidCharacter);
        t->value.assign(1, c);
        ++m_pos;
    }

    static void checkLength(const std::string &name)
    {
        if (name.size() > kMaxIdentifierLength)
            throw SqlError(ora::kIdentifierTooLong);
    }

    std::string_view m_text;
    size_t m_pos = 0;
};

} // namespace

std::vector<Token> tokenize(std::string_view text)
{
    return Lexer(text).run();
}

std::string upperOutsideQuotes(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    char quote = 0;
    for (char c : text) {
        if (quote) {
            if (c == quote)
                quote = 0;
            out.push_back(c);
        } else {
            if (c == '\'' || c == '"')
                quote = c;
            out.push_back(upper(c));
        }
    }
    return out;
}

} // namespace kdb::sql
