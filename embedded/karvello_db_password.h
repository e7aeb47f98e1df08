#pragma once
// Where karvello-db gets passwords from: the terminal without echo, or one
// line of standard input for scripts.
#include <optional>
#include <string>

namespace kdbtool {

// Asks on the controlling terminal with echo off. nullopt when there is no
// terminal or reading failed; *error then says why.
std::optional<std::string> askPassword(const std::string &prompt, std::string *error);

// Asks twice and requires both answers to match and not to be empty.
std::optional<std::string> askNewPassword(const std::string &user, std::string *error);

// The first line of standard input without its line break.
std::optional<std::string> readPasswordLine(std::string *error);

} // namespace kdbtool
