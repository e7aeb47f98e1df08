#pragma once
// User administration of an embedded database, for karvello-db. The 20 calls
// of the interface have no way to create or drop a user, so the command links
// the engine's static library and uses these. Each returns 0 or an Oracle
// error number (1017 unknown user, 1920 user name conflicts with another
// user, 1918 user does not exist, ...), with a text in *message when given.
#include <string>
#include <string_view>

namespace kdb::admin {

// The folder of the database a connect string names: a text with a "/" is a
// folder; any other text is a name under $XDG_DATA_HOME/karvello/db (default
// ~/.local/share/karvello/db); the empty text is the database "default".
std::string databaseFolder(std::string_view connect);

// The user name as the engine stores it: upper-cased unless quoted ("Mixed"
// keeps its case, without the quotes). Empty when the name is not valid.
std::string normalizeUserName(std::string_view name);

int createUser(std::string_view connect, std::string_view user, std::string_view password,
               std::string *message = nullptr);
int dropUser(std::string_view connect, std::string_view user, std::string *message = nullptr);
int setPassword(std::string_view connect, std::string_view user, std::string_view password,
                std::string *message = nullptr);
bool userExists(std::string_view connect, std::string_view user);

} // namespace kdb::admin
