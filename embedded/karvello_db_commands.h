#pragma once
// The commands of karvello-db. Each returns the process's exit status and
// writes its errors to standard error itself.
#include <optional>
#include <string>
#include <vector>

namespace kdbtool {

enum ExitStatus { ExitOk = 0, ExitFailed = 1, ExitUsage = 2 };

struct Options {
    std::vector<std::string> arguments; // the command's operands, in order
    std::optional<std::string> db;      // --db CONN
    std::optional<std::string> samples; // --samples DIR
    bool passwordStdin = false;         // --password-stdin
    bool csv = false;                   // --csv
    bool stopOnError = false;           // --stop-on-error
    bool force = false;                 // --force
};

int createUserCommand(const Options &options);
int dropUserCommand(const Options &options);
int passwdCommand(const Options &options);
int sqlCommand(const Options &options);
int demoCommand(const Options &options);

// "karvello-db: " and the text, on standard error.
void printError(const std::string &text);

// A failure of the user administration: its own text when it gave one, else
// the message of its error number. Returns ExitFailed.
int reportAdminError(int code, const std::string &message);

} // namespace kdbtool
