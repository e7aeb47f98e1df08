#pragma once
// Splitting a script into statements, the way people write them for an
// Oracle command-line client: a statement ends at a ";" or at a line that
// holds only "/". Quotes and comments are respected, so 'a;b' is one value.
#include <string>
#include <string_view>
#include <vector>

namespace kdbtool {

struct ScriptStatement {
    std::string text; // without the terminator, comments or surrounding blanks
    int line = 0;     // line of the script (from 1) where the statement starts
};

// A script that arrives line by line, split so that each statement can run
// as soon as its terminator is read (at a terminal, as the person types).
// Text after the last terminator counts as a statement of its own, so a
// script whose last line lacks the ";" still runs whole.
class ScriptReader {
public:
    // Takes one line, with its line break; returns the statements it ended.
    std::vector<ScriptStatement> addLine(std::string_view line);
    // At the end of the script: the statement left without a terminator.
    std::vector<ScriptStatement> finish();

private:
    std::string m_pending; // text after the last terminator
    int m_pendingLine = 1; // its first line's number
};

} // namespace kdbtool
