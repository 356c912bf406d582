// The system's user accounts, as far as the settings need them: who runs a program, and giving a
// file to a user.
#pragma once

#include <QString>

#include <optional>

struct Account
{
    QString name;
    unsigned int userId = 0;
    unsigned int groupId = 0; // the user's own group, which files handed to the user get
};

// The user who runs the program.
Account currentAccount();
std::optional<Account> findAccount(const QString &name);
std::optional<Account> findAccount(unsigned int userId);
// The owner of a file or folder (of a link itself, not of what it leads to); nothing when it
// cannot be looked at.
std::optional<Account> ownerOf(const QString &path);
// Makes a file or folder the account's, never following a link. Returns an empty text when done,
// otherwise the system's reason.
QString giveTo(const QString &path, const Account &account);
// How an administrator runs the program with the arguments with the system's rights: through
// sudo, or (Windows) from an administrator's command prompt.
QString administratorCommand(const QString &program, const QString &arguments);
