#include "runlog.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The state folders hold what the user alone may read.
int makeFolders(const QByteArray &folder)
{
    for (qsizetype slash = folder.indexOf('/', 1);; slash = folder.indexOf('/', slash + 1)) {
        const QByteArray part = slash < 0 ? folder : folder.left(slash);
        if (mkdir(part.constData(), 0700) != 0 && errno != EEXIST)
            return errno;
        if (slash < 0)
            return 0;
    }
}

int writeAll(int fd, const QByteArray &data)
{
    for (qsizetype done = 0; done < data.size();) {
        const ssize_t written = write(fd, data.constData() + done, data.size() - done);
        if (written < 0 && errno != EINTR)
            return errno;
        done += std::max<ssize_t>(written, 0);
    }
    return 0;
}

QString timeText(const QDateTime &time)
{
    return time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

} // namespace

QString RunLog::defaultPath()
{
    QString stateHome = qEnvironmentVariable("XDG_STATE_HOME");
    // A relative path is invalid there and is ignored.
    if (!QDir::isAbsolutePath(stateHome))
        stateHome = QDir::homePath() + QStringLiteral("/.local/state");
    return stateHome + QStringLiteral("/RevuredAVeze/xcopy.log");
}

QString RunLog::append(const RunLogEntry &entry) const
{
    const QByteArray file = QFile::encodeName(m_path);
    const QByteArray text = formatEntry(entry);
    int error = makeFolders(QFile::encodeName(QFileInfo(m_path).absolutePath()));
    struct stat info;
    if (error == 0 && stat(file.constData(), &info) == 0 &&
        info.st_size + text.size() > kSizeLimit && rename(file.constData(), file + ".1") != 0)
        error = errno;
    if (error == 0) {
        // One write for the whole entry, appended: copies that end together, in this program or
        // in another, never mix their lines.
        const int fd = open(file.constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
        error = fd < 0 ? errno : writeAll(fd, text);
        if (fd >= 0 && close(fd) != 0 && error == 0)
            error = errno;
    }
    return error == 0 ? QString() : QString::fromLocal8Bit(std::strerror(error));
}

QByteArray formatEntry(const RunLogEntry &entry)
{
    QByteArray text = "==== " + entry.title.toUtf8() + '\n';
    text += "Started " + timeText(entry.started).toUtf8() + '\n';
    text += entry.output;
    text += "Ended " + timeText(entry.ended).toUtf8() + ", " + entry.outcome.toUtf8() + "\n\n";
    return text;
}
