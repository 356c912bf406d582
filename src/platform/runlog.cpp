#include "runlog.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>
#include <QThread>

#include <filesystem>
#include <system_error>

namespace {

namespace fs = std::filesystem;

// The state folders hold what the user alone may read. Where the system has no such modes
// (Windows), the user's local application data folder is private already.
std::error_code makeFolders(const fs::path &folder)
{
    std::error_code error;
    if (fs::exists(folder, error) && !fs::is_directory(folder, error))
        return std::make_error_code(std::errc::not_a_directory);
    if (fs::exists(folder, error) || error)
        return error;
    if (folder.has_relative_path() && folder.parent_path() != folder) {
        if ((error = makeFolders(folder.parent_path())))
            return error;
    }
    if (fs::create_directory(folder, error))
        fs::permissions(folder, fs::perms::owner_all, error);
    return error;
}

QString systemWords(const std::error_code &error)
{
    return QString::fromStdString(error.message());
}

QString timeText(const QDateTime &time)
{
    return time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

// QLockFile's own wait looks again after ever longer pauses (100 ms, 200 ms, ...), so a writer
// that appends one entry after another can keep the lock from one that waits until it gives up.
// Looking often gives the one waiting its turn in a pause between two entries.
bool takeTurn(QLockFile &lock)
{
    constexpr int kLongestWaitMs = 10000, kBetweenLooksMs = 2;
    const QDeadlineTimer deadline(kLongestWaitMs);
    while (!lock.tryLock(0)) {
        if (lock.error() != QLockFile::LockFailedError || deadline.hasExpired())
            return false;
        QThread::msleep(kBetweenLooksMs);
    }
    return true;
}

} // namespace

QString RunLog::defaultPath()
{
#ifdef Q_OS_WIN
    const QString stateHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
#else
    QString stateHome = qEnvironmentVariable("XDG_STATE_HOME");
    // A relative path is invalid there and is ignored.
    if (!QDir::isAbsolutePath(stateHome))
        stateHome = QDir::homePath() + QStringLiteral("/.local/state");
#endif
    return QDir::toNativeSeparators(stateHome + QStringLiteral("/RevuredAVeze/xcopy.log"));
}

Outcome RunLog::append(const RunLogEntry &entry) const
{
    const QFileInfo file(m_path);
    if (const std::error_code error =
            makeFolders(QFileInfo(file.absolutePath()).filesystemFilePath()))
        return Outcome::failed(systemWords(error));

    // The rotation and the append are one step for every program that writes this log; a writer
    // that was killed holding the lock is gone, and its lock with it.
    QLockFile lock(m_path + QStringLiteral(".lock"));
    lock.setStaleLockTime(0);
    if (!takeTurn(lock))
        return Outcome::failed(lock.error() == QLockFile::LockFailedError
                                   ? QStringLiteral("another program kept it locked")
                                   : QStringLiteral("its lock file could not be made"));
    if (QFileInfo(m_path).size() >= kSizeLimit) {
        std::error_code error;
        fs::rename(file.filesystemFilePath(),
                   QFileInfo(m_path + QStringLiteral(".1")).filesystemFilePath(), error);
        if (error)
            return Outcome::failed(systemWords(error));
    }

    // One unbuffered write for the whole entry, appended.
    const QByteArray text = formatEntry(entry);
    QFile log(m_path);
    if (!log.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered,
                  QFile::ReadOwner | QFile::WriteOwner) ||
        log.write(text) != text.size())
        return Outcome::failed(log.errorString());
    log.close();
    return log.error() == QFileDevice::NoError ? Outcome::done()
                                               : Outcome::failed(log.errorString());
}

QByteArray formatEntry(const RunLogEntry &entry)
{
    QByteArray text = "==== " + entry.title.toUtf8() + '\n';
    text += "Started " + timeText(entry.started).toUtf8() + '\n';
    text += entry.output;
    text += "Ended " + timeText(entry.ended).toUtf8() + ", " + entry.outcome.toUtf8() + "\n\n";
    return text;
}
