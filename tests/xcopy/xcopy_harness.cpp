#include "xcopy_harness.h"

#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <fcntl.h>
#include <grp.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr uid_t nobody = 65534;

XcopyResult finish(QProcess &process)
{
    XcopyResult result;
    if (process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit)
        result.exitCode = process.exitCode();
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

} // namespace

XcopyResult runXcopy(const QStringList &arguments, const QString &workingFolder,
                     const std::function<void()> &childSetup)
{
    QProcess process;
    process.setWorkingDirectory(workingFolder);
    if (childSetup)
        process.setChildProcessModifier(childSetup);
    process.start(XCOPY_PATH, arguments);
    // Without a terminal nothing is asked, and a question that slips through reads end of input.
    process.closeWriteChannel();
    return finish(process);
}

XcopyResult runXcopyRaw(const QList<QByteArray> &arguments)
{
    QList<QByteArray> all = arguments;
    all.prepend(XCOPY_PATH);
    std::vector<char *> argv;
    for (QByteArray &argument : all)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    QProcess process;
    // QProcess converts arguments from QString; exec ourselves to keep the bytes.
    process.setChildProcessModifier([&argv] {
        execv(argv[0], argv.data());
        _exit(127);
    });
    process.start(XCOPY_PATH);
    process.closeWriteChannel();
    return finish(process);
}

void writeFile(const QByteArray &path, const QByteArray &content)
{
    const int fd = open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0 || write(fd, content.constData(), content.size()) != content.size())
        qFatal("cannot write %s", path.constData());
    close(fd);
}

QByteArray readFile(const QByteArray &path)
{
    QFile file;
    const int fd = open(path.constData(), O_RDONLY);
    if (fd < 0 || !file.open(fd, QIODevice::ReadOnly, QFile::AutoCloseHandle))
        return "<missing>";
    return file.readAll();
}

void setModified(const QByteArray &path, timespec modified)
{
    const timespec times[2] = {modified, modified};
    if (utimensat(AT_FDCWD, path.constData(), times, 0) != 0)
        qFatal("cannot set the time of %s", path.constData());
}

struct stat statOf(const QByteArray &path)
{
    struct stat info = {};
    stat(path.constData(), &info);
    return info;
}

QStringList treeOf(const QString &root)
{
    QStringList entries;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        entries << it.next().mid(root.size() + 1);
    entries.sort();
    return entries;
}

void giveToNobody(const QString &root)
{
    if (geteuid() != 0)
        return;
    chown(QFile::encodeName(root).constData(), nobody, nobody);
    for (const QString &entry : treeOf(root))
        lchown(QFile::encodeName(root + '/' + entry).constData(), nobody, nobody);
}

void becomeNobody()
{
    if (geteuid() == 0 &&
        (setgroups(0, nullptr) != 0 || setgid(nobody) != 0 || setuid(nobody) != 0))
        _exit(126);
}
