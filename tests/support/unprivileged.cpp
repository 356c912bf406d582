#include "unprivileged.h"

#include <QtGlobal>

#ifdef Q_OS_UNIX
#include <grp.h>
#include <pwd.h>
#include <unistd.h>
#endif

QString dropRootRights()
{
#ifdef Q_OS_UNIX
    if (geteuid() != 0)
        return {};
    const passwd *nobody = getpwnam("nobody");
    if (!nobody)
        return QStringLiteral("root cannot become the user nobody: there is none");
    if (setgroups(0, nullptr) != 0 || setgid(nobody->pw_gid) != 0 || setuid(nobody->pw_uid) != 0)
        return QStringLiteral("root cannot become the user nobody: %1").arg(qt_error_string());
#endif
    return {};
}
