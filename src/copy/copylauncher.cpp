#include "copylauncher.h"

#include "copycommand.h"
#include "platform/programstarter.h"

#include <QDir>
#include <QFileInfo>

#include <filesystem>

namespace {

// An empty text names no folder; the copy command then says what it makes of it.
QString whyNotMade(const QString &folder)
{
    if (folder.isEmpty())
        return {};
    std::error_code problem;
    std::filesystem::create_directories(QFileInfo(folder).filesystemFilePath(), problem);
    return problem ? QString::fromStdString(problem.message()) : QString();
}

} // namespace

Outcome CopyLauncher::start(FolderPair pair, const QString &from, const QString &to)
{
    QString reason = whyNotMade(to);
    if (!reason.isEmpty())
        reason = QStringLiteral("its To folder %1 could not be made: %2")
                     .arg(QDir::toNativeSeparators(to), reason);
    else
        reason = m_programs.startCopy(copyCommand(pair.number(), from, to)).why();
    if (reason.isEmpty())
        return Outcome::done();
    return Outcome::failed(
        QStringLiteral("Folder pair %1 was not copied: %2").arg(pair.number()).arg(reason));
}
