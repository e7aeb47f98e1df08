// create-user, drop-user and passwd: the user administration that the call
// interface has no calls for.
#include "karvello_db_commands.h"
#include "karvello_db_password.h"

#include "embedded/Admin.h"
#include "embedded/OraErrors.h"

#include <cstdio>

namespace kdbtool {
namespace {

std::string connectOf(const Options &options)
{
    return options.db.value_or(std::string());
}

// The user name as stored, or a reported error.
std::optional<std::string> storedUserName(const std::string &given)
{
    std::string name = kdb::admin::normalizeUserName(given);
    if (name.empty()) {
        printError("\"" + given + "\" is not a valid user name");
        return std::nullopt;
    }
    return name;
}

std::optional<std::string> newPassword(const Options &options, const std::string &user)
{
    std::string error;
    auto password = options.passwordStdin ? readPasswordLine(&error) : askNewPassword(user, &error);
    if (!password)
        printError(error);
    return password;
}

} // namespace

int reportAdminError(int code, const std::string &message)
{
    printError(message.empty() ? kdb::oraMessage(code) : message);
    return ExitFailed;
}

int createUserCommand(const Options &options)
{
    const std::string connect = connectOf(options);
    auto user = storedUserName(options.arguments[0]);
    if (!user)
        return ExitFailed;
    if (kdb::admin::userExists(connect, options.arguments[0])) {
        printError("user " + *user + " already exists in " + kdb::admin::databaseFolder(connect));
        return ExitFailed;
    }
    auto password = newPassword(options, *user);
    if (!password)
        return ExitFailed;
    std::string message;
    if (int rc = kdb::admin::createUser(connect, options.arguments[0], *password, &message))
        return reportAdminError(rc, message);
    std::printf("User %s created in %s.\n", user->c_str(), kdb::admin::databaseFolder(connect).c_str());
    return ExitOk;
}

int dropUserCommand(const Options &options)
{
    const std::string connect = connectOf(options);
    auto user = storedUserName(options.arguments[0]);
    if (!user)
        return ExitFailed;
    std::string message;
    if (int rc = kdb::admin::dropUser(connect, options.arguments[0], &message))
        return reportAdminError(rc, message);
    std::printf("User %s dropped.\n", user->c_str());
    return ExitOk;
}

int passwdCommand(const Options &options)
{
    const std::string connect = connectOf(options);
    auto user = storedUserName(options.arguments[0]);
    if (!user)
        return ExitFailed;
    if (!kdb::admin::userExists(connect, options.arguments[0])) {
        printError("user " + *user + " does not exist in " + kdb::admin::databaseFolder(connect));
        return ExitFailed;
    }
    auto password = newPassword(options, *user);
    if (!password)
        return ExitFailed;
    std::string message;
    if (int rc = kdb::admin::setPassword(connect, options.arguments[0], *password, &message))
        return reportAdminError(rc, message);
    std::printf("Password of %s changed.\n", user->c_str());
    return ExitOk;
}

} // namespace kdbtool
