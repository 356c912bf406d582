#include "posixprogramstarter.h"

#include "windowedcopy.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

std::unique_ptr<ProgramStarter> makeProgramStarter(const QString &installFolder)
{
    return std::make_unique<PosixProgramStarter>(installFolder, RunLog::defaultPath());
}

namespace {

bool isExecutableFile(const QString &path)
{
    const QFileInfo info(path);
    return info.isFile() && info.isExecutable();
}

// The name a program has on this system: "xcopy.exe" is our "xcopy".
QString nameHere(const QString &program)
{
    return program.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive) ? program.chopped(4)
                                                                        : program;
}

// Starts argv detached: the intermediate child exits at once and is reaped here, so the program
// belongs to init, outlives this one and leaves no zombie. A pipe closed on exec tells whether
// exec succeeded, and carries its errno when it did not.
int spawnDetached(const std::vector<QByteArray> &arguments)
{
    std::vector<char *> argv;
    for (const QByteArray &argument : arguments)
        argv.push_back(const_cast<char *>(argument.constData()));
    argv.push_back(nullptr);

    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0)
        return errno;
    const pid_t child = fork();
    if (child < 0) {
        const int error = errno;
        close(report[0]);
        close(report[1]);
        return error;
    }
    if (child == 0) {
        setsid();
        const int devNull = open("/dev/null", O_RDONLY);
        if (devNull >= 0)
            dup2(devNull, STDIN_FILENO);
        const pid_t program = fork();
        if (program == 0) {
            execv(argv[0], argv.data());
            const int error = errno;
            [[maybe_unused]] ssize_t written = write(report[1], &error, sizeof error);
            _exit(127);
        }
        if (program < 0) {
            const int error = errno;
            [[maybe_unused]] ssize_t written = write(report[1], &error, sizeof error);
        }
        _exit(0);
    }
    close(report[1]);
    while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
    }
    int error = 0;
    ssize_t got;
    while ((got = read(report[0], &error, sizeof error)) < 0 && errno == EINTR) {
    }
    close(report[0]);
    return got == sizeof error ? error : 0;
}

} // namespace

PosixProgramStarter::PosixProgramStarter(QString installFolder, QString runLogPath)
    : m_installFolder(std::move(installFolder)), m_runLog(std::move(runLogPath))
{
}

QString PosixProgramStarter::resolve(const QString &program) const
{
    if (program.isEmpty())
        return {};
    QStringList names{program};
    if (const QString here = nameHere(program); here != program)
        names.append(here);
    if (program.contains(QLatin1Char('/'))) {
        for (const QString &name : names) {
            if (isExecutableFile(name))
                return name;
        }
        return {};
    }
    // The installation folder comes first for either name, so that a stray xcopy.exe on PATH
    // never stands in for our own copy command.
    for (const QString &name : names) {
        if (const QString local = QDir(m_installFolder).filePath(name); isExecutableFile(local))
            return local;
    }
    for (const QString &name : names) {
        if (const QString onPath = QStandardPaths::findExecutable(name); !onPath.isEmpty())
            return onPath;
    }
    return {};
}

Outcome PosixProgramStarter::notFound(const QString &program) const
{
    if (program.contains(QLatin1Char('/')))
        return Outcome::failed(
            QStringLiteral("%1 was not found: %2")
                .arg(nameHere(program), QString::fromLocal8Bit(std::strerror(ENOENT))));
    return Outcome::failed(
        QStringLiteral("%1 was not found in the installation folder %2 nor on PATH (%3)")
            .arg(nameHere(program), m_installFolder, qEnvironmentVariable("PATH")));
}

Outcome PosixProgramStarter::start(const ProgramStart &request)
{
    const QString program = resolve(request.program);
    if (program.isEmpty())
        return notFound(request.program);

    std::vector<QByteArray> argv{QFile::encodeName(program)};
    for (const QString &argument : request.arguments)
        argv.push_back(QFile::encodeName(argument));
    if (const int error = spawnDetached(argv); error != 0)
        return Outcome::failed(
            QStringLiteral("%1 could not be started: %2")
                .arg(request.program, QString::fromLocal8Bit(std::strerror(error))));
    return Outcome::done();
}

Outcome PosixProgramStarter::open(const QString &document)
{
    return start({QString(), QStringLiteral("xdg-open"), {document}});
}

Outcome PosixProgramStarter::startCopy(const ProgramStart &request)
{
    // Named as the command reads on this system: "xcopy", not "xcopy.exe".
    const QString command =
        nameHere(request.program) + request.commandLine.mid(request.program.size());
    const QString title =
        request.caption.isEmpty() ? command : request.caption + QStringLiteral(": ") + command;
    const QString program = resolve(request.program);
    if (program.isEmpty()) {
        return Outcome::failed(logNotStarted(m_runLog, title, notFound(request.program).why()));
    }
    auto *copy = new WindowedCopy(m_runLog, title, &m_copies);
    const Outcome started = copy->start(program, request.arguments);
    if (!started.ok())
        delete copy;
    return started;
}
