// Built on Windows only: files there are not handed to users by the install, which runs once for
// the one user of the machine.
#include "accounts.h"

#include <QtGlobal>

Account currentAccount()
{
    return {qEnvironmentVariable("USERNAME")};
}

std::optional<Account> findAccount(const QString &)
{
    return std::nullopt;
}

std::optional<Account> findAccount(unsigned int)
{
    return std::nullopt;
}

std::optional<Account> ownerOf(const QString &)
{
    return currentAccount();
}

QString giveTo(const QString &, const Account &)
{
    return QStringLiteral("files are not handed to other users on this system");
}
