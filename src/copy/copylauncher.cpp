#include "copylauncher.h"

#include "copycommand.h"
#include "platform/programstarter.h"

QString CopyLauncher::start(FolderPair pair, const QString &from, const QString &to)
{
    const QString reason = m_programs.start(copyCommand(pair.number(), from, to));
    if (reason.isEmpty())
        return {};
    return QStringLiteral("Folder pair %1 was not copied: %2").arg(pair.number()).arg(reason);
}
