#include "copy/copycommand.h"

#include <QTest>

class tst_CopyCommand : public QObject
{
    Q_OBJECT

  private slots:
    void pathsReachTheCommandUnchanged_data();
    void pathsReachTheCommandUnchanged();
};

void tst_CopyCommand::pathsReachTheCommandUnchanged_data()
{
    QTest::addColumn<QStringList>("paths"); // from, to

    QTest::newRow("blanks") << QStringList{"C:\\My Documents\\Tax 2025", "E:\\Back up "};
    QTest::newRow("quotes") << QStringList{R"(/home/ann/say "hi")", "/mnt/usb/it's"};
    QTest::newRow("shell expansion") << QStringList{"/home/ann/$(rm -rf ~)", "/mnt/usb/`id`$HOME"};
    QTest::newRow("semicolon") << QStringList{"/home/ann/a;reboot", "/mnt/usb/b; ls"};
    QTest::newRow("newline") << QStringList{"/home/ann/line\nbreak", "/mnt/usb/x"};
    QTest::newRow("leading dash or slash") << QStringList{"-rf", "/Y"};
}

void tst_CopyCommand::pathsReachTheCommandUnchanged()
{
    QFETCH(QStringList, paths);
    const QString from = paths.value(0), to = paths.value(1);

    const ProgramStart command = copyCommand(from, to);

    // The Windows text quotes each path as it is; elsewhere each path is one argument.
    QCOMPARE(command.commandLine, QStringLiteral("xcopy.exe \"%1\" \"%2\" /D /Y /S").arg(from, to));
    QCOMPARE(command.program, QStringLiteral("xcopy.exe"));
    QCOMPARE(command.arguments, (QStringList{from, to, "/D", "/Y", "/S"}));
    QCOMPARE(command.state, WindowState::MinimizedActive);
}

QTEST_APPLESS_MAIN(tst_CopyCommand)
#include "tst_copycommand.moc"
