// A copy run through the real program start and the real copy command, on real folders.
#include "windowfixture.h"

#include "app/startup.h"
#include "platform/posixprogramstarter.h"
#include "store/settingsfolder.h"

#include <QApplication>
#include <QCheckBox>
#include <QDirIterator>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

class tst_CopyEndToEnd : public QObject
{
    Q_OBJECT

  private slots:
    void lockedPairsAreCopied();
    void programOutlivesItsMainWindowUntilTheCopyEnds();
};

namespace {

using Tree = QMap<QString, QByteArray>; // relative file path -> contents

void write(const QString &root, const Tree &files)
{
    for (auto file = files.cbegin(); file != files.cend(); ++file) {
        const QString path = QDir(root).filePath(file.key());
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(file.value());
    }
}

Tree read(const QString &root)
{
    Tree files;
    QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        if (file.open(QIODevice::ReadOnly))
            files.insert(QDir(root).relativeFilePath(file.fileName()), file.readAll());
    }
    return files;
}

} // namespace

void tst_CopyEndToEnd::lockedPairsAreCopied()
{
    WindowFixture f;
    QVERIFY(QFile::link(QStringLiteral(XCOPY_PROGRAM), f.installFolder.filePath("xcopy")));
    PosixProgramStarter starter(f.installFolder.path(), f.installFolder.filePath("xcopy.log"));
    f.open(starter);

    QTemporaryDir folders;
    const QStringList paths{"My Photos", "Backup of \"photos\"", "letters;$(date)",
                            "-letters backup"};
    const Tree photos{{"beach.jpg", "sand and sea"}, {"2025/May/garden.jpg", "roses"}};
    const Tree letters{{"to ann.txt", "Dear Ann,\nthe new letter"}};
    write(folders.filePath(paths[0]), photos);
    write(folders.filePath(paths[2]), letters);
    write(folders.filePath(paths[3]), {{"kept.txt", "stays"}});
    for (int n = 1; n <= 4; ++n)
        f.find<QLineEdit>(QStringLiteral("Text%1").arg(n))->setText(folders.filePath(paths[n - 1]));
    f.find<QCheckBox>(QStringLiteral("Check1"))->setChecked(true);
    f.find<QCheckBox>(QStringLiteral("Check2"))->setChecked(true);

    // Pressed twice in a row, the two runs copy side by side.
    auto *copyButton = f.find<QPushButton>(QStringLiteral("Command1"));
    QTest::mouseClick(copyButton, Qt::LeftButton);
    QTest::mouseClick(copyButton, Qt::LeftButton);

    QVERIFY2(f.messages.shown.isEmpty(), qPrintable(f.messages.shown.join('\n')));
    QTRY_COMPARE_WITH_TIMEOUT(read(folders.filePath(paths[1])), photos, 10000);
    Tree lettersAfter = letters;
    lettersAfter.insert("kept.txt", "stays");
    QTRY_COMPARE_WITH_TIMEOUT(read(folders.filePath(paths[3])), lettersAfter, 10000);
}

void tst_CopyEndToEnd::programOutlivesItsMainWindowUntilTheCopyEnds()
{
    // The copy command records its arguments, but only once the test opens its gate.
    QTemporaryDir install;
    TestDatabase database;
    QVERIFY(QFile::copy(database.path(), settingsDatabasePath(install.path())));
    QVERIFY(QFile::link(QStringLiteral(ARGV_RECORDER), install.filePath("xcopy")));
    const QByteArray gate = QFile::encodeName(install.filePath("gate"));
    const QString record = install.filePath("record");
    QVERIFY(mkfifo(gate.constData(), 0600) == 0);
    qputenv("RECORD_AFTER", gate);
    qputenv("RECORD_TO", QFile::encodeName(record));
    qputenv("XDG_STATE_HOME", QFile::encodeName(install.filePath("state")));

    QObject context;
    QTimer gateOpener;
    bool mainWindowGone = false;
    QTimer::singleShot(0, &context, [&] {
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (window->objectName() == QLatin1String("frmSelect")) {
                window->findChild<QLineEdit *>("Text1")->setText(install.filePath("from"));
                window->findChild<QLineEdit *>("Text2")->setText(install.filePath("to"));
                window->findChild<QCheckBox *>("Check1")->setChecked(true);
                window->findChild<QPushButton *>("Command1")->click();
            }
        }
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (window->objectName() != QLatin1String("CopyWindow"))
                window->close();
        }
        gateOpener.start(10);
    });
    connect(&gateOpener, &QTimer::timeout, &context, [&] {
        const int writer = open(gate.constData(), O_WRONLY | O_NONBLOCK);
        if (writer < 0)
            return;
        mainWindowGone = QApplication::topLevelWidgets().size() == 1;
        QVERIFY(write(writer, "go", 2) == 2);
        close(writer);
        gateOpener.stop();
    });

    FakeMessageBoxes messages;
    QCOMPARE(runProgram(install.path(), messages), 0);

    // The program went on without its main window, and ended when the copy and its window did.
    QVERIFY(mainWindowGone);
    QVERIFY(QFile::exists(record));
    QFile log(install.filePath("state/RevuredAVeze/xcopy.log"));
    QVERIFY(log.open(QIODevice::ReadOnly) && log.readAll().contains(", exit status 0. "));
    QVERIFY(messages.shown.isEmpty());
}

QTEST_MAIN(tst_CopyEndToEnd)
#include "tst_copyendtoend.moc"
