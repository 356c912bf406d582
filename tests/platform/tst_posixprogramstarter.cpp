// Programs started for real: looked up, given their arguments byte for byte and left running as
// no child of the program, or the reason they could not be started.
#include "copy/copycommand.h"
#include "platform/posixprogramstarter.h"

#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstring>
#include <sys/wait.h>

class tst_PosixProgramStarter : public QObject
{
    Q_OBJECT

  private slots:
    void startsTheProgramFound_data();
    void startsTheProgramFound();
    void failedStartGivesTheReason_data();
    void failedStartGivesTheReason();
};

void tst_PosixProgramStarter::startsTheProgramFound_data()
{
    QTest::addColumn<QString>("installed"); // names in the installation folder
    QTest::addColumn<QString>("onPath");
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("found"); // the folder, "install" or "path", and the name
    QTest::addColumn<QStringList>("arguments");

    const auto row = [](const char *name, const char *installed, const char *onPath,
                        const char *program, const char *found, const QStringList &arguments = {}) {
        QTest::newRow(name) << QString(installed) << QString(onPath) << QString(program)
                            << QString(found) << arguments;
    };
    row("installation folder before PATH", "tool", "tool", "tool", "install/tool");
    row("then PATH", "", "tool", "tool", "path/tool");
    row(".exe found without it", "tool", "", "tool.exe", "install/tool");
    row(".exe found without it on PATH", "", "tool", "tool.exe", "path/tool");
    row("installation folder without .exe before PATH with it", "tool", "tool.exe", "tool.exe",
        "install/tool");
    row(".exe found as it is", "tool tool.exe", "", "tool.exe", "install/tool.exe");
    // Arguments arrive byte for byte, through no shell.
    row("arguments", "tool", "", "tool.exe", "install/tool",
        {"/home/ann/My Files", " two  blanks ", "say \"hi\"", "it's", "\\\"escaped\\\"",
         "$(touch /tmp/pwned)", "`id`", "$HOME", "*", "a;reboot", "b | cat && d", "line\nbreak",
         "\n", "-rf", "--help", "/s", "", "/media/Ärger/日本"});
}

void tst_PosixProgramStarter::startsTheProgramFound()
{
    QFETCH(QString, installed);
    QFETCH(QString, onPath);
    QFETCH(QString, program);
    QFETCH(QString, found);
    QFETCH(QStringList, arguments);
    QTemporaryDir install;
    QTemporaryDir pathFolder;
    const auto link = [](const QTemporaryDir &folder, const QString &names) {
        for (const QString &name : names.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            QVERIFY(QFile::link(QStringLiteral(ARGV_RECORDER), folder.filePath(name)));
    };
    link(install, installed);
    link(pathFolder, onPath);
    const QString record = install.filePath(QStringLiteral("record"));
    qputenv("RECORD_TO", QFile::encodeName(record));

    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(pathFolder.path()) + ':' + path);
    const QString reason = PosixProgramStarter(install.path(), {})
                               .start({{}, program, arguments, WindowState::MaximizedFocus, {}});
    qputenv("PATH", path);
    QCOMPARE(reason, QString());
    // Started on its own: it outlives the program and is no child of it, not even a zombie.
    errno = 0;
    QCOMPARE(waitpid(-1, nullptr, WNOHANG), pid_t(-1));
    QCOMPARE(errno, ECHILD);

    // It got its own path, then its arguments.
    const QTemporaryDir &folder = found.startsWith(QLatin1String("install")) ? install : pathFolder;
    QByteArray expected = QFile::encodeName(folder.filePath(found.section(QLatin1Char('/'), 1)));
    for (const QString &argument : arguments)
        expected += '\0' + argument.toUtf8();
    QFile file(record);
    QVERIFY(QTest::qWaitFor([&] { return file.exists(); }) && file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), expected + '\0');
}

void tst_PosixProgramStarter::failedStartGivesTheReason_data()
{
    QTest::addColumn<bool>("notAProgram"); // an empty file named xcopy, marked as a program
    QTest::addColumn<QString>("asCopy");   // %1: the installation folder, also PATH
    QTest::addColumn<QString>("onItsOwn");

    // The name on this system, the installation folder and then PATH.
    const QString missing = "xcopy was not found in the installation folder %1 nor on PATH (%1)";
    const QString notExecutable = QString::fromLocal8Bit(std::strerror(ENOEXEC));
    QTest::newRow("missing") << false << missing << missing;
    QTest::newRow("not a program")
        << true << "%1/xcopy could not be started: execvp: " + notExecutable
        << "xcopy.exe could not be started: " + notExecutable;
}

void tst_PosixProgramStarter::failedStartGivesTheReason()
{
    QFETCH(bool, notAProgram);
    QFETCH(QString, asCopy);
    QFETCH(QString, onItsOwn);
    QTemporaryDir install;
    QFile file(install.filePath(QStringLiteral("xcopy")));
    QVERIFY(!notAProgram || (file.open(QIODevice::WriteOnly) &&
                             file.setPermissions(QFile::ReadOwner | QFile::ExeOwner)));
    file.close();

    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(install.path()));
    const QString log = install.filePath(QStringLiteral("xcopy.log"));
    ProgramStart start = copyCommand(2, QStringLiteral("/a"), QStringLiteral("/b"));
    const QString copyGiven = PosixProgramStarter(install.path(), log).start(start);
    start.state = WindowState::MaximizedFocus;
    const QString ownGiven = PosixProgramStarter(install.path(), log).start(start);
    qputenv("PATH", path);

    // Only the copy is logged.
    QCOMPARE(copyGiven, asCopy.arg(install.path()));
    QCOMPARE(ownGiven, onItsOwn.arg(install.path()));
    QFile logged(log);
    QVERIFY(logged.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(logged.readAll());
    QVERIFY(text.startsWith("==== Folder pair 2: xcopy \"/a\" \"/b\" /D /Y /S\nStarted "));
    QVERIFY2(text.endsWith(", not started: " + copyGiven + "\n\n") && text.count("====") == 1,
             qPrintable(text));
}

QTEST_GUILESS_MAIN(tst_PosixProgramStarter)
#include "tst_posixprogramstarter.moc"
