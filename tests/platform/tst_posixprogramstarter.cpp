#include "platform/posixprogramstarter.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

class tst_PosixProgramStarter : public QObject
{
    Q_OBJECT

  private slots:
    void init();
    void argumentsArriveByteForByte_data();
    void argumentsArriveByteForByte();
    void programIsLookedUp_data();
    void programIsLookedUp();
    void failureGivesTheReason_data();
    void failureGivesTheReason();
    void leavesNoChildBehind();

  private:
    // Starts the program from a caller that ends right after it, then lets the program go on
    // and returns what reached it: its own path first, then its arguments. A start that failed
    // gives the caller's reason instead.
    QList<QByteArray> startFromCaller(const QString &installFolder, const QString &program,
                                      const QStringList &arguments = {});
    QList<QByteArray> recorded();

    QTemporaryDir m_scratch;
    QString m_recordTo;
};

namespace {

void linkRecorder(const QString &folder, const QString &name)
{
    QVERIFY(QFile::link(QStringLiteral(ARGV_RECORDER), QDir(folder).filePath(name)));
}

} // namespace

void tst_PosixProgramStarter::init()
{
    m_recordTo = m_scratch.filePath(QString::fromLatin1(QTest::currentTestFunction()) +
                                    QString::fromLatin1(QTest::currentDataTag()));
    qputenv("RECORD_TO", QFile::encodeName(m_recordTo));
    qunsetenv("RECORD_AFTER");
}

QList<QByteArray> tst_PosixProgramStarter::startFromCaller(const QString &installFolder,
                                                           const QString &program,
                                                           const QStringList &arguments)
{
    // The program waits at this gate, which opens for writing only while the program holds its
    // other end.
    const QByteArray gate = QFile::encodeName(m_recordTo + QStringLiteral(".gate"));
    if (mkfifo(gate.constData(), 0600) != 0)
        return {"no gate"};
    qputenv("RECORD_AFTER", gate);
    QProcess caller;
    caller.start(QStringLiteral(START_AND_EXIT), QStringList{installFolder, program} + arguments);
    if (!caller.waitForFinished() || caller.exitCode() != 0)
        return {caller.readAllStandardError()};
    int writer = -1;
    if (!QTest::qWaitFor(
            [&] { return (writer = open(gate.constData(), O_WRONLY | O_NONBLOCK)) >= 0; }))
        return {"the program did not outlive its caller"};
    const bool opened = write(writer, "go", 2) == 2;
    close(writer);
    return opened ? recorded() : QList<QByteArray>{"the gate did not open"};
}

QList<QByteArray> tst_PosixProgramStarter::recorded()
{
    QFile file(m_recordTo);
    if (!QTest::qWaitFor([&] { return file.exists(); }) || !file.open(QIODevice::ReadOnly))
        return {"nothing recorded"};
    QList<QByteArray> parts = file.readAll().split('\0');
    parts.removeLast(); // after the last terminating NUL
    return parts;
}

void tst_PosixProgramStarter::argumentsArriveByteForByte_data()
{
    QTest::addColumn<QStringList>("arguments");

    QTest::newRow("blanks") << QStringList{"/home/ann/My Files", " two  blanks ", "/D"};
    QTest::newRow("quotes") << QStringList{R"(say "hi")", "it's", R"(\"escaped\")"};
    QTest::newRow("shell expansion") << QStringList{"$(touch /tmp/pwned)", "`id`", "$HOME", "*"};
    QTest::newRow("semicolon and pipe") << QStringList{"a;reboot", "b | cat", "c && d"};
    QTest::newRow("newline") << QStringList{"line\nbreak", "\n"};
    QTest::newRow("leading dash or slash") << QStringList{"-rf", "--help", "/s", "-"};
    QTest::newRow("empty") << QStringList{"", "", "/Y"};
    QTest::newRow("non-ASCII") << QStringList{"/media/Ärger/日本", "/mnt/ü"};
}

void tst_PosixProgramStarter::argumentsArriveByteForByte()
{
    QFETCH(QStringList, arguments);
    QTemporaryDir install;
    linkRecorder(install.path(), QStringLiteral("xcopy"));

    QList<QByteArray> expected;
    for (const QString &argument : arguments)
        expected.append(argument.toUtf8());
    QCOMPARE(startFromCaller(install.path(), QStringLiteral("xcopy.exe"), arguments).mid(1),
             expected);
}

void tst_PosixProgramStarter::programIsLookedUp_data()
{
    QTest::addColumn<QString>("inInstallFolder");
    QTest::addColumn<QString>("onPath");
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("found"); // the folder, "install" or "path", and the name

    const auto row = [](const char *name, const char *inInstallFolder, const char *onPath,
                        const char *program, const char *found) {
        QTest::newRow(name) << QString(inInstallFolder) << QString(onPath) << QString(program)
                            << QString(found);
    };
    row("installation folder before PATH", "tool", "tool", "tool", "install/tool");
    row("then PATH", "", "tool", "tool", "path/tool");
    row(".exe found without it", "tool", "", "tool.exe", "install/tool");
    row(".exe found without it on PATH", "", "tool", "tool.exe", "path/tool");
    row("installation folder without .exe before PATH with it", "tool", "tool.exe", "tool.exe",
        "install/tool");
    row(".exe found as it is", "tool tool.exe", "", "tool.exe", "install/tool.exe");
}

void tst_PosixProgramStarter::programIsLookedUp()
{
    QFETCH(QString, inInstallFolder);
    QFETCH(QString, onPath);
    QFETCH(QString, program);
    QFETCH(QString, found);
    QTemporaryDir install;
    QTemporaryDir pathFolder;
    for (const QString &name : inInstallFolder.split(' ', Qt::SkipEmptyParts))
        linkRecorder(install.path(), name);
    for (const QString &name : onPath.split(' ', Qt::SkipEmptyParts))
        linkRecorder(pathFolder.path(), name);

    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(pathFolder.path()) + ':' + oldPath);
    const QFileInfo started(QString::fromUtf8(startFromCaller(install.path(), program).value(0)));
    qputenv("PATH", oldPath);

    const QTemporaryDir &folder = found.startsWith(QLatin1String("install")) ? install : pathFolder;
    QCOMPARE(QDir(started.absolutePath()).canonicalPath(), QDir(folder.path()).canonicalPath());
    QCOMPARE(started.fileName(), found.section('/', 1));
}

void tst_PosixProgramStarter::failureGivesTheReason_data()
{
    QTest::addColumn<bool>("notAProgram"); // an empty file of the program's name, marked as one
    QTest::addColumn<QString>("reason");   // %1: the installation folder

    // The name it has on this system, and where it was looked for.
    QTest::newRow("missing")
        << false << "absent-copier-3f9 was not found in the installation folder %1 nor on PATH (";
    QTest::newRow("not a program")
        << true
        << QStringLiteral("absent-copier-3f9.exe could not be started: ") +
               QString::fromLocal8Bit(std::strerror(ENOEXEC));
}

void tst_PosixProgramStarter::failureGivesTheReason()
{
    QFETCH(bool, notAProgram);
    QFETCH(QString, reason);
    QTemporaryDir install;
    const QString name = QStringLiteral("absent-copier-3f9");
    QFile file(install.filePath(name));
    if (notAProgram)
        QVERIFY(file.open(QIODevice::WriteOnly) &&
                file.setPermissions(QFile::ReadOwner | QFile::ExeOwner));
    file.close();

    const QString given =
        QString::fromUtf8(startFromCaller(install.path(), name + QStringLiteral(".exe")).value(0));

    QVERIFY2(given.startsWith(reason.arg(install.path())), qPrintable(given));
}

void tst_PosixProgramStarter::leavesNoChildBehind()
{
    QTemporaryDir install;
    linkRecorder(install.path(), QStringLiteral("xcopy"));
    ProgramStart start;
    start.program = QStringLiteral("xcopy.exe");
    start.state = WindowState::MaximizedFocus;

    QCOMPARE(PosixProgramStarter(install.path(), {}).start(start), QString());
    QCOMPARE(recorded().size(), 1);

    // Neither a process still running nor a zombie: this process has no child at all.
    errno = 0;
    QCOMPARE(waitpid(-1, nullptr, WNOHANG), pid_t(-1));
    QCOMPARE(errno, ECHILD);
}

QTEST_GUILESS_MAIN(tst_PosixProgramStarter)
#include "tst_posixprogramstarter.moc"
