// karvello-db: users, schemas and SQL of the embedded database, for people
// and scripts.
#include "karvello_db_commands.h"

#include <clocale>
#include <cstdio>
#include <cstring>
#include <string_view>

namespace kdbtool {
namespace {

enum OptionBit : unsigned {
    OptDb = 1u << 0,
    OptPasswordStdin = 1u << 1,
    OptCsv = 1u << 2,
    OptStopOnError = 1u << 3,
    OptForce = 1u << 4,
    OptSamples = 1u << 5,
};

struct Command {
    const char *name;
    int (*run)(const Options &);
    std::size_t minOperands;
    std::size_t maxOperands;
    unsigned options; // OptionBit set the command accepts
};

const Command kCommands[] = {
    {"create-user", createUserCommand, 1, 1, OptDb | OptPasswordStdin},
    {"drop-user", dropUserCommand, 1, 1, OptDb},
    {"passwd", passwdCommand, 1, 1, OptDb | OptPasswordStdin},
    {"sql", sqlCommand, 1, 2, OptDb | OptPasswordStdin | OptCsv | OptStopOnError},
    {"demo", demoCommand, 0, 0, OptDb | OptForce | OptSamples},
};

const char kUsage[] =
    "Usage: karvello-db COMMAND [OPTIONS] ARGUMENTS\n"
    "\n"
    "Users, schemas and SQL of the embedded database.\n"
    "\n"
    "  create-user [--db CONN] [--password-stdin] USER\n"
    "      Creates USER with an empty schema. The password is asked twice on the\n"
    "      terminal, or read as one line of standard input.\n"
    "  drop-user [--db CONN] USER\n"
    "      Removes USER and every table and view of its schema.\n"
    "  passwd [--db CONN] [--password-stdin] USER\n"
    "      Sets a new password for USER.\n"
    "  sql [--csv] [--stop-on-error] USER[/PASSWORD][@CONN] [FILE]\n"
    "      Runs the statements of FILE, or of standard input, each ended by \";\"\n"
    "      or by a line holding only \"/\". Rows are shown as an aligned table, or\n"
    "      as CSV with --csv. The password is asked on the terminal when not\n"
    "      given (or read from standard input with --password-stdin and a FILE).\n"
    "      A failing statement is reported and the rest still runs; with\n"
    "      --stop-on-error the run stops there and the open transaction is\n"
    "      rolled back. What ran is committed at the end.\n"
    "  demo [--db CONN] [--samples DIR] [--force]\n"
    "      Creates the user DEMO (password \"demo\") with sample tables and a view,\n"
    "      and writes sample CSV files to DIR (default:\n"
    "      $XDG_DATA_HOME/karvello/samples). An existing DEMO is kept unless\n"
    "      --force drops and recreates it.\n"
    "\n"
    "CONN names a database: text with a \"/\" is a folder, any other text a\n"
    "database under $XDG_DATA_HOME/karvello/db; without it, the database\n"
    "\"default\". A user name is upper-cased unless written in double quotes.\n"
    "\n"
    "Exit status: 0 on success, 1 when something failed, 2 for a usage error.\n";

int usageError(const std::string &text)
{
    printError(text);
    std::fputs("Try \"karvello-db --help\".\n", stderr);
    return ExitUsage;
}

const Command *findCommand(std::string_view name)
{
    for (const Command &command : kCommands)
        if (name == command.name)
            return &command;
    return nullptr;
}

struct OptionSpec {
    const char *name;
    OptionBit bit;
    bool takesValue;
};

const OptionSpec kOptionSpecs[] = {
    {"--db", OptDb, true},
    {"--password-stdin", OptPasswordStdin, false},
    {"--csv", OptCsv, false},
    {"--stop-on-error", OptStopOnError, false},
    {"--force", OptForce, false},
    {"--samples", OptSamples, true},
};

void setOption(Options &options, OptionBit bit, const std::string &value)
{
    switch (bit) {
    case OptDb: options.db = value; break;
    case OptSamples: options.samples = value; break;
    case OptPasswordStdin: options.passwordStdin = true; break;
    case OptCsv: options.csv = true; break;
    case OptStopOnError: options.stopOnError = true; break;
    case OptForce: options.force = true; break;
    }
}

// Options may stand anywhere after the command; "--" ends them. Returns
// false after reporting a usage error.
bool parseOptions(const Command &command, int argc, char **argv, Options &options)
{
    bool optionsEnded = false;
    for (int i = 2; i < argc; ++i) {
        std::string arg = argv[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            options.arguments.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        std::string name = arg.substr(0, arg.find('='));
        const OptionSpec *spec = nullptr;
        for (const OptionSpec &s : kOptionSpecs)
            if (name == s.name)
                spec = &s;
        if (!spec || !(command.options & spec->bit)) {
            usageError("unknown option " + name + " for " + command.name);
            return false;
        }
        std::string value;
        if (spec->takesValue) {
            if (name.size() < arg.size()) {
                value = arg.substr(name.size() + 1);
            } else if (i + 1 < argc) {
                value = argv[++i];
            } else {
                usageError(name + " needs a value");
                return false;
            }
        } else if (name.size() < arg.size()) {
            usageError(name + " takes no value");
            return false;
        }
        setOption(options, spec->bit, value);
    }
    if (options.arguments.size() < command.minOperands || options.arguments.size() > command.maxOperands) {
        usageError(std::string("wrong number of arguments for ") + command.name);
        return false;
    }
    return true;
}

} // namespace

void printError(const std::string &text)
{
    std::fprintf(stderr, "karvello-db: %s\n", text.c_str());
}

} // namespace kdbtool

int main(int argc, char **argv)
{
    using namespace kdbtool;
    std::setlocale(LC_ALL, "");
    if (argc < 2)
        return usageError("no command given");
    std::string_view first = argv[1];
    if (first == "--help" || first == "-h" || first == "help") {
        std::fputs(kUsage, stdout);
        return ExitOk;
    }
    const Command *command = findCommand(first);
    if (!command)
        return usageError("unknown command " + std::string(first));
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0)
            break;
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kUsage, stdout);
            return ExitOk;
        }
    }
    Options options;
    if (!parseOptions(*command, argc, argv, options))
        return ExitUsage;
    try {
        return command->run(options);
    } catch (const std::exception &e) {
        printError(e.what());
        return ExitFailed;
    }
}
