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

// Text after the last terminator counts as a statement of its own, so a
// script whose last line lacks the ";" still runs whole.
std::vector<ScriptStatement> splitScript(std::string_view script);

} // namespace kdbtool
