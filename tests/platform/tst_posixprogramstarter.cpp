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
    void initTestCase();
    void init();
    void argumentsArriveByteForByte_data();
    void argumentsArriveByteForByte();
    void programIsLookedUp_data();
    void programIsLookedUp();
    void failureGivesTheReason_data();
    void failureGivesTheReason();
    void leavesNoChildBehind();
    void startedProgramOutlivesItsCaller();

  private:
    // What reached the started program: its own path first, then its arguments.
    QList<QByteArray> recorded();

    QTemporaryDir m_scratch;
    QString m_recordTo;
};

namespace {

void linkRecorder(const QString &folder, const QString &name)
{
    QVERIFY(QFile::link(QStringLiteral(ARGV_RECORDER), QDir(folder).filePath(name)));
}

// The folder a started program was found in.
QString folderOf(const QByteArray &programPath)
{
    return QDir(QFileInfo(QString::fromUtf8(programPath)).absolutePath()).canonicalPath();
}

ProgramStart request(const QString &program, const QStringList &arguments = {})
{
    ProgramStart start;
    start.program = program;
    start.arguments = arguments;
    start.state = WindowState::MinimizedActive;
    return start;
}

} // namespace

void tst_PosixProgramStarter::initTestCase()
{
    // Without a display no terminal window is opened, so the program itself is started.
    qunsetenv("DISPLAY");
    QVERIFY(m_scratch.isValid());
}

void tst_PosixProgramStarter::init()
{
    m_recordTo = m_scratch.filePath(QString::fromLatin1(QTest::currentTestFunction()) +
                                    QString::fromLatin1(QTest::currentDataTag()));
    qputenv("RECORD_TO", QFile::encodeName(m_recordTo));
    qunsetenv("RECORD_AFTER");
}

QList<QByteArray> tst_PosixProgramStarter::recorded()
{
    QFile file(m_recordTo);
    if (!file.open(QIODevice::ReadOnly))
        return {};
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
    PosixProgramStarter starter(install.path());

    QCOMPARE(starter.start(request(QStringLiteral("xcopy.exe"), arguments)), QString());

    QTRY_VERIFY(QFile::exists(m_recordTo));
    QList<QByteArray> expected;
    for (const QString &argument : arguments)
        expected.append(argument.toUtf8());
    QCOMPARE(recorded().mid(1), expected);
}

void tst_PosixProgramStarter::programIsLookedUp_data()
{
    QTest::addColumn<QStringList>("inInstallFolder");
    QTest::addColumn<QStringList>("onPath");
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("foundIn");
    QTest::addColumn<QString>("foundAs");

    QTest::newRow("installation folder before PATH")
        << QStringList{"tool"} << QStringList{"tool"} << "tool"
        << "install"
        << "tool";
    QTest::newRow("then PATH") << QStringList{} << QStringList{"tool"} << "tool"
                               << "path"
                               << "tool";
    QTest::newRow(".exe found without it") << QStringList{"tool"} << QStringList{} << "tool.exe"
                                           << "install"
                                           << "tool";
    QTest::newRow(".exe found without it on PATH")
        << QStringList{} << QStringList{"tool"} << "tool.exe"
        << "path"
        << "tool";
    QTest::newRow("installation folder without .exe before PATH with it")
        << QStringList{"tool"} << QStringList{"tool.exe"} << "tool.exe"
        << "install"
        << "tool";
    QTest::newRow(".exe found as it is")
        << QStringList{"tool", "tool.exe"} << QStringList{} << "tool.exe"
        << "install"
        << "tool.exe";
}

void tst_PosixProgramStarter::programIsLookedUp()
{
    QFETCH(QStringList, inInstallFolder);
    QFETCH(QStringList, onPath);
    QFETCH(QString, program);
    QFETCH(QString, foundIn);
    QFETCH(QString, foundAs);

    QTemporaryDir install;
    QTemporaryDir pathFolder;
    for (const QString &name : inInstallFolder)
        linkRecorder(install.path(), name);
    for (const QString &name : onPath)
        linkRecorder(pathFolder.path(), name);
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(pathFolder.path()) + ':' + oldPath);
    const QString reason = PosixProgramStarter(install.path()).start(request(program));
    qputenv("PATH", oldPath);

    QCOMPARE(reason, QString());
    QTRY_VERIFY(QFile::exists(m_recordTo));
    const QByteArray startedPath = recorded().value(0);
    const QTemporaryDir &expectedFolder =
        foundIn == QLatin1String("install") ? install : pathFolder;
    QCOMPARE(folderOf(startedPath), QDir(expectedFolder.path()).canonicalPath());
    QCOMPARE(QFileInfo(QString::fromUtf8(startedPath)).fileName(), foundAs);
}

void tst_PosixProgramStarter::failureGivesTheReason_data()
{
    QTest::addColumn<QString>("inInstallFolder"); // "", "directory" or "not a program"
    QTest::addColumn<int>("error");

    QTest::newRow("missing") << "" << ENOENT;
    QTest::newRow("a folder of that name") << "directory" << ENOENT;
    QTest::newRow("not a program") << "not a program" << ENOEXEC;
}

void tst_PosixProgramStarter::failureGivesTheReason()
{
    QFETCH(QString, inInstallFolder);
    QFETCH(int, error);

    QTemporaryDir install;
    const QString name = QStringLiteral("absent-copier-3f9");
    const QString path = QDir(install.path()).filePath(name);
    if (inInstallFolder == QLatin1String("directory")) {
        QVERIFY(QDir().mkdir(path));
    } else if (inInstallFolder == QLatin1String("not a program")) {
        QFile garbage(path);
        QVERIFY(garbage.open(QIODevice::WriteOnly));
        garbage.write("\x01\x02 no program");
        garbage.close();
        QVERIFY(garbage.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }

    const QString reason =
        PosixProgramStarter(install.path()).start(request(name + QStringLiteral(".exe")));

    QVERIFY2(reason.contains(name), qPrintable(reason));
    QVERIFY2(reason.contains(QString::fromLocal8Bit(std::strerror(error))), qPrintable(reason));
}

void tst_PosixProgramStarter::leavesNoChildBehind()
{
    QTemporaryDir install;
    linkRecorder(install.path(), QStringLiteral("xcopy"));

    QCOMPARE(PosixProgramStarter(install.path()).start(request(QStringLiteral("xcopy.exe"))),
             QString());
    QTRY_VERIFY(QFile::exists(m_recordTo));

    // Neither a process still running nor a zombie: this process has no child at all.
    errno = 0;
    QCOMPARE(waitpid(-1, nullptr, WNOHANG), pid_t(-1));
    QCOMPARE(errno, ECHILD);
}

void tst_PosixProgramStarter::startedProgramOutlivesItsCaller()
{
    QTemporaryDir install;
    linkRecorder(install.path(), QStringLiteral("xcopy"));
    const QByteArray gate = QFile::encodeName(m_scratch.filePath(QStringLiteral("gate")));
    QVERIFY(mkfifo(gate.constData(), 0600) == 0);
    qputenv("RECORD_AFTER", gate);

    QProcess caller;
    caller.start(QStringLiteral(START_AND_EXIT),
                 {install.path(), QStringLiteral("xcopy.exe"), QStringLiteral("/from")});
    QVERIFY(caller.waitForFinished());
    QCOMPARE(caller.readAllStandardError(), QByteArray());
    QCOMPARE(caller.exitCode(), 0);

    // The program waits at the gate until after its caller has ended; it can only open once the
    // program still holds the other end.
    int writer = -1;
    QTRY_VERIFY((writer = open(gate.constData(), O_WRONLY | O_NONBLOCK)) >= 0);
    QCOMPARE(write(writer, "go", 2), ssize_t(2));
    close(writer);

    QTRY_VERIFY(QFile::exists(m_recordTo));
    QCOMPARE(recorded().mid(1), QList<QByteArray>{"/from"});
}

QTEST_GUILESS_MAIN(tst_PosixProgramStarter)
#include "tst_posixprogramstarter.moc"
