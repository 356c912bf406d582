// Built on Windows only. A file is handed to an account through its access list: the account
// alone may change it, beside the administrators, who own every program file.
#include "accounts.h"
#include "windowsaccess.h"

#include <QDir>

#include <windows.h>

#include <aclapi.h>
#include <lmcons.h>

Account currentAccount()
{
    wchar_t name[UNLEN + 1];
    DWORD size = std::size(name);
    if (!GetUserNameW(name, &size))
        return {qEnvironmentVariable("USERNAME")};
    return {QString::fromWCharArray(name)};
}

std::optional<Account> findAccount(const QString &name)
{
    if (accountSid(name).isEmpty())
        return std::nullopt;
    return Account{name};
}

// Windows has no user numbers.
std::optional<Account> findAccount(unsigned int)
{
    return std::nullopt;
}

std::optional<Account> ownerOf(const QString &path)
{
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoW(QDir::toNativeSeparators(path).toStdWString().c_str(), SE_FILE_OBJECT,
                              OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr, nullptr,
                              &descriptor) != ERROR_SUCCESS)
        return std::nullopt;
    wchar_t name[256];
    DWORD nameSize = std::size(name);
    wchar_t domain[256];
    DWORD domainSize = std::size(domain);
    SID_NAME_USE use;
    const bool found =
        LookupAccountSidW(nullptr, owner, name, &nameSize, domain, &domainSize, &use);
    LocalFree(descriptor);
    if (!found)
        return std::nullopt;
    return Account{QString::fromWCharArray(name)};
}

QString giveTo(const QString &path, const Account &account)
{
    const QString sid = accountSid(account.name);
    if (sid.isEmpty())
        return QStringLiteral("there is no account %1").arg(account.name);
    return setAccessList(path, privateAccessList(sid));
}

QString administratorCommand(const QString &program, const QString &arguments)
{
    return QStringLiteral("\"%1\" %2").arg(QDir::toNativeSeparators(program), arguments);
}
