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
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("windowsLine");

    QTest::newRow("plain") << "C:\\Data"
                           << "E:\\Backup"
                           << R"(xcopy.exe "C:\Data" "E:\Backup" /D /Y /S)";
    QTest::newRow("blanks") << "C:\\My Documents\\Tax 2025"
                            << "E:\\Back up "
                            << R"(xcopy.exe "C:\My Documents\Tax 2025" "E:\Back up " /D /Y /S)";
    QTest::newRow("both empty") << ""
                                << ""
                                << R"(xcopy.exe "" "" /D /Y /S)";
    QTest::newRow("quotes") << R"(/home/ann/say "hi")"
                            << R"(/mnt/usb/it's)"
                            << R"(xcopy.exe "/home/ann/say "hi"" "/mnt/usb/it's" /D /Y /S)";
    QTest::newRow("shell expansion")
        << "/home/ann/$(rm -rf ~)"
        << "/mnt/usb/`id`$HOME"
        << R"x(xcopy.exe "/home/ann/$(rm -rf ~)" "/mnt/usb/`id`$HOME" /D /Y /S)x";
    QTest::newRow("semicolon") << "/home/ann/a;reboot"
                               << "/mnt/usb/b; ls"
                               << R"(xcopy.exe "/home/ann/a;reboot" "/mnt/usb/b; ls" /D /Y /S)";
    QTest::newRow("newline") << "/home/ann/line\nbreak"
                             << "/mnt/usb/x"
                             << "xcopy.exe \"/home/ann/line\nbreak\" \"/mnt/usb/x\" /D /Y /S";
    QTest::newRow("leading dash") << "-rf"
                                  << "--help"
                                  << R"(xcopy.exe "-rf" "--help" /D /Y /S)";
    QTest::newRow("leading slash option look-alike") << "/s"
                                                     << "/Y"
                                                     << R"(xcopy.exe "/s" "/Y" /D /Y /S)";
}

void tst_CopyCommand::pathsReachTheCommandUnchanged()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QString, windowsLine);

    const ProgramStart command = copyCommand(from, to);

    QCOMPARE(command.commandLine, windowsLine);
    QCOMPARE(command.program, QStringLiteral("xcopy.exe"));
    const QStringList arguments{from, to, QStringLiteral("/D"), QStringLiteral("/Y"),
                                QStringLiteral("/S")};
    QCOMPARE(command.arguments, arguments);
    QCOMPARE(command.state, WindowState::MinimizedActive);
}

QTEST_APPLESS_MAIN(tst_CopyCommand)
#include "tst_copycommand.moc"
