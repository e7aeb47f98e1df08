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

namespace {

using PasswordAction = int (*)(std::string_view connect, std::string_view user, std::string_view password,
                               std::string *message);

// create-user and passwd: whether the user exists is checked before the
// password is asked for, so nobody types it twice for nothing.
int withNewPassword(const Options &options, bool userMustExist, PasswordAction action, const char *doneFormat)
{
    const std::string connect = connectOf(options);
    const std::string &given = options.arguments[0];
    auto user = storedUserName(given);
    if (!user)
        return ExitFailed;
    if (kdb::admin::userExists(connect, given) != userMustExist) {
        printError("user " + *user + (userMustExist ? " does not exist in " : " already exists in ") +
                   kdb::admin::databaseFolder(connect));
        return ExitFailed;
    }
    auto password = newPassword(options, *user);
    if (!password)
        return ExitFailed;
    std::string message;
    if (int rc = action(connect, given, *password, &message))
        return reportAdminError(rc, message);
    std::printf(doneFormat, user->c_str(), kdb::admin::databaseFolder(connect).c_str());
    return ExitOk;
}

} // namespace

int createUserCommand(const Options &options)
{
    return withNewPassword(options, false, kdb::admin::createUser, "User %s created in %s.\n");
}

int passwdCommand(const Options &options)
{
    return withNewPassword(options, true, kdb::admin::setPassword, "Password of %s in %s changed.\n");
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
    std::printf("User %s dropped from %s.\n", user->c_str(), kdb::admin::databaseFolder(connect).c_str());
    return ExitOk;
}

} // namespace kdbtool
