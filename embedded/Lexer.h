#pragma once
// Splits one SQL statement into tokens. Keywords are not told apart from
// names here: an unquoted word is an Identifier whose value is upper-cased,
// and the parser decides what it means where it stands.
#include <string>
#include <string_view>
#include <vector>

namespace kdb::sql {

enum class TokenKind {
    Identifier,       // unquoted word, value upper-cased
    QuotedIdentifier, // "Name", value without the quotes, case kept
    String,           // 'text', value with '' folded to '
    Number,           // 12, 1.5, .5, 1E3: value is the text as written
    Bind,             // :1 or :NAME, value is the name after the colon
    Operator,         // ( ) , . + - * / || = <> != ^= < <= > >=
    End
};

struct Token {
    TokenKind kind = TokenKind::End;
    std::string value;
    size_t begin = 0; // byte offsets into the statement text
    size_t end = 0;

    bool is(TokenKind k, std::string_view v) const { return kind == k && value == v; }
    bool isWord(std::string_view v) const { return kind == TokenKind::Identifier && value == v; }
    bool isOp(std::string_view v) const { return kind == TokenKind::Operator && value == v; }
};

// Tokens of the whole text, ending with an End token. Throws SqlError:
// 911 for a character that has no place in SQL (";" included, and a NUL
// even between quotes), 1756 for an
// unterminated string, 1740 for an unterminated quoted name, 1741 for "",
// 972 for a name longer than 30 bytes.
std::vector<Token> tokenize(std::string_view text);

// Upper-cases ASCII letters outside single and double quotes: the name Oracle
// gives a select-list expression.
std::string upperOutsideQuotes(std::string_view text);

constexpr size_t kMaxIdentifierLength = 30;

} // namespace kdb::sql
