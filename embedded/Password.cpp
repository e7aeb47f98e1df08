#include "Password.h"

#include <crypt.h>
#include <cstdlib>
#include <cstring>

namespace kdb::password {
namespace {

// Stands in for the hash of a user that does not exist: same method and cost.
const std::string &decoyHash()
{
    static const std::string decoy = hash("karvello decoy password");
    return decoy;
}

std::string cryptText(std::string_view password, const std::string &setting)
{
    void *data = nullptr;
    int size = 0;
    const std::string phrase(password);
    const char *result = crypt_ra(phrase.c_str(), setting.c_str(), &data, &size);
    std::string out = (result && result[0] != '*') ? result : "";
    std::free(data);
    return out;
}

bool sameText(const std::string &a, const std::string &b)
{
    if (a.size() != b.size())
        return false;
    unsigned char diff = 0;
    for (size_t i = 0; i < a.size(); ++i)
        diff |= static_cast<unsigned char>(a[i] ^ b[i]);
    return diff == 0;
}

} // namespace

std::string hash(std::string_view password)
{
    char *setting = crypt_gensalt_ra("$y$", 0, nullptr, 0);
    if (!setting)
        return {};
    std::string out = cryptText(password, setting);
    std::free(setting);
    return out;
}

bool verify(std::string_view password, const std::string &stored)
{
    if (password.find('\0') != std::string_view::npos)
        return false;
    if (stored.empty()) {
        cryptText(password, decoyHash());
        return false;
    }
    const std::string computed = cryptText(password, stored);
    return !computed.empty() && sameText(computed, stored);
}

} // namespace kdb::password
