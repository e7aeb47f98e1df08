#pragma once
// Password hashes: yescrypt through crypt(3).
#include <string>
#include <string_view>

namespace kdb::password {

// A new "$y$" hash of the password; empty when libcrypt fails.
std::string hash(std::string_view password);

// True when the password matches the hash. With an empty hash it still does
// the work of one check, so an unknown user costs what a wrong password costs.
bool verify(std::string_view password, const std::string &hash);

} // namespace kdb::password
