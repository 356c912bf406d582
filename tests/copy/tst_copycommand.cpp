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
    QTest::addColumn<int>("pair");
    QTest::addColumn<QStringList>("paths"); // from, to

    QTest::newRow("blanks") << 1 << QStringList{"C:\\My Documents\\Tax 2025", "E:\\Back up "};
    QTest::newRow("quotes") << 2 << QStringList{R"(/home/ann/say "hi")", "/mnt/usb/it's"};
    QTest::newRow("shell expansion")
        << 3 << QStringList{"/home/ann/$(rm -rf ~)", "/mnt/usb/`id`$HOME"};
    QTest::newRow("semicolon") << 4 << QStringList{"/home/ann/a;reboot", "/mnt/usb/b; ls"};
    QTest::newRow("newline") << 5 << QStringList{"/home/ann/line\nbreak", "/mnt/usb/x"};
    QTest::newRow("leading dash or slash") << 7 << QStringList{"-rf", "/Y"};
}

void tst_CopyCommand::pathsReachTheCommandUnchanged()
{
    QFETCH(int, pair);
    QFETCH(QStringList, paths);
    const QString from = paths.value(0), to = paths.value(1);

    const ProgramStart command = copyCommand(pair, from, to);

    // The Windows text quotes each path as it is; elsewhere each path is one argument.
    QCOMPARE(command.commandLine, QStringLiteral("xcopy.exe \"%1\" \"%2\" /D /Y /S").arg(from, to));
    QCOMPARE(command.program, QStringLiteral("xcopy.exe"));
    QCOMPARE(command.arguments, (QStringList{from, to, "/D", "/Y", "/S"}));
    QCOMPARE(command.state, WindowState::MinimizedActive);
    QCOMPARE(command.caption, QStringLiteral("Folder pair %1").arg(pair));
}

QTEST_APPLESS_MAIN(tst_CopyCommand)
#include "tst_copycommand.moc"
