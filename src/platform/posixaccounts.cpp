#include "accounts.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::optional<Account> fromEntry(const passwd *entry)
{
    if (!entry)
        return std::nullopt;
    return Account{QString::fromLocal8Bit(entry->pw_name), entry->pw_uid, entry->pw_gid};
}

} // namespace

Account currentAccount()
{
    const uid_t id = getuid();
    return findAccount(id).value_or(Account{QString::number(id), id, getgid()});
}

std::optional<Account> findAccount(const QString &name)
{
    return fromEntry(getpwnam(QFile::encodeName(name).constData()));
}

std::optional<Account> findAccount(unsigned int userId)
{
    return fromEntry(getpwuid(userId));
}

std::optional<Account> ownerOf(const QString &path)
{
    struct stat status = {};
    if (lstat(QFile::encodeName(path).constData(), &status) != 0)
        return std::nullopt;
    const std::optional<Account> known = findAccount(status.st_uid);
    return Account{known ? known->name : QString::number(status.st_uid), status.st_uid,
                   status.st_gid};
}

QString giveTo(const QString &path, const Account &account)
{
    if (lchown(QFile::encodeName(path).constData(), account.userId, account.groupId) != 0)
        return QString::fromLocal8Bit(std::strerror(errno));
    return {};
}

QString administratorCommand(const QString &program, const QString &arguments)
{
    return QStringLiteral("sudo %1 %2").arg(program, arguments);
}
