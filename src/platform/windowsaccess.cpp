#include "windowsaccess.h"

#include "windowserror.h"

#include <QDir>

#include <windows.h>

#include <aclapi.h>
#include <sddl.h>

namespace {

// Read, write, run and delete: what Windows calls "Modify".
constexpr DWORD kModify = FILE_GENERIC_READ | FILE_GENERIC_WRITE | FILE_GENERIC_EXECUTE | DELETE;

std::wstring nativePath(const QString &path)
{
    return QDir::toNativeSeparators(path).toStdWString();
}

QString setDacl(const QString &path, PACL dacl, bool isProtected)
{
    std::wstring file = nativePath(path);
    const SECURITY_INFORMATION what =
        DACL_SECURITY_INFORMATION |
        (isProtected ? PROTECTED_DACL_SECURITY_INFORMATION : UNPROTECTED_DACL_SECURITY_INFORMATION);
    const DWORD result =
        SetNamedSecurityInfoW(file.data(), SE_FILE_OBJECT, what, nullptr, nullptr, dacl, nullptr);
    return result == ERROR_SUCCESS ? QString() : systemMessage(result);
}

} // namespace

QString accountSid(const QString &accountName)
{
    const std::wstring name = accountName.toStdWString();
    BYTE sid[SECURITY_MAX_SID_SIZE];
    DWORD sidSize = sizeof sid;
    wchar_t domain[256];
    DWORD domainSize = std::size(domain);
    SID_NAME_USE use;
    wchar_t *text = nullptr;
    if (name.empty() ||
        !LookupAccountNameW(nullptr, name.c_str(), sid, &sidSize, domain, &domainSize, &use) ||
        !ConvertSidToStringSidW(sid, &text))
        return {};
    const QString sidText = QString::fromWCharArray(text);
    LocalFree(text);
    return sidText;
}

QString privateAccessList(const QString &sid)
{
    return QStringLiteral("D:P(A;;FA;;;SY)(A;;FA;;;BA)(A;;0x%1;;;%2)").arg(kModify, 0, 16).arg(sid);
}

QString setAccessList(const QString &path, const QString &accessList)
{
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(
            accessList.toStdWString().c_str(), SDDL_REVISION_1, &descriptor, nullptr))
        return systemMessage(GetLastError());
    BOOL present = FALSE;
    BOOL defaulted = FALSE;
    PACL dacl = nullptr;
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted);
    GetSecurityDescriptorControl(descriptor, &control, &revision);
    const QString problem = setDacl(path, dacl, control & SE_DACL_PROTECTED);
    LocalFree(descriptor);
    return problem;
}

QString copyAccessList(const QString &from, const QString &to)
{
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    PACL dacl = nullptr;
    const DWORD result =
        GetNamedSecurityInfoW(nativePath(from).c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION,
                              nullptr, nullptr, &dacl, nullptr, &descriptor);
    if (result != ERROR_SUCCESS)
        return systemMessage(result);
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    GetSecurityDescriptorControl(descriptor, &control, &revision);
    const QString problem = setDacl(to, dacl, control & SE_DACL_PROTECTED);
    LocalFree(descriptor);
    return problem;
}
