#include "oracle/SqlName.h"

namespace {

bool letter(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || c >= 0x80;
}

bool plainIdentifier(const std::string &name)
{
    if (name.empty() || !letter(static_cast<unsigned char>(name.front())))
        return false;
    for (unsigned char c : name) {
        if (!letter(c) && !(c >= '0' && c <= '9') && c != '_' && c != '$' && c != '#')
            return false;
    }
    return true;
}

} // namespace

std::string SqlTableName(const std::string &name)
{
    return plainIdentifier(name) ? name : "\"" + name + "\"";
}
