// A copy run through the real program start and the real copy command, on real folders.
#include "windowfixture.h"

#include "platform/posixprogramstarter.h"

#include <QApplication>
#include <QCheckBox>
#include <QDirIterator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

class tst_CopyEndToEnd : public QObject
{
    Q_OBJECT

  private slots:
    void initTestCase();
    void lockedPairsAreCopied();
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

void tst_CopyEndToEnd::initTestCase()
{
    // Without a display the copies run without a terminal window.
    qunsetenv("DISPLAY");
}

void tst_CopyEndToEnd::lockedPairsAreCopied()
{
    WindowFixture f;
    QVERIFY(QFile::link(QStringLiteral(XCOPY_PROGRAM), f.installFolder.filePath("xcopy")));
    PosixProgramStarter starter(f.installFolder.path());
    f.open(starter);

    QTemporaryDir folders;
    const QString photos = folders.filePath(QStringLiteral("My Photos"));
    const QString photosBackup = folders.filePath(QStringLiteral("Backup of \"photos\""));
    const QString letters = folders.filePath(QStringLiteral("letters;$(date)"));
    const QString lettersBackup = folders.filePath(QStringLiteral("-letters backup"));
    const Tree photoFiles{{"beach.jpg", "sand and sea"},
                          {"2025/May/garden.jpg", "roses"},
                          {"2025/June/dog.jpg", "a dog"}};
    const Tree letterFiles{{"to ann.txt", "Dear Ann,\nthe new letter"}};
    write(photos, photoFiles);
    write(letters, letterFiles);
    write(lettersBackup, {{"to ann.txt", "the old letter"}, {"kept.txt", "stays"}});
    QFile old(QDir(lettersBackup).filePath("to ann.txt"));
    QVERIFY(old.open(QIODevice::ReadWrite));
    QVERIFY(old.setFileTime(QDateTime::currentDateTime().addDays(-2),
                            QFileDevice::FileModificationTime));
    old.close();

    const QStringList pairs[] = {{photos, photosBackup}, {letters, lettersBackup}};
    for (int pair = 1; pair <= 2; ++pair) {
        f.find<QLineEdit>(QStringLiteral("Text%1").arg(2 * pair - 1))->setText(pairs[pair - 1][0]);
        f.find<QLineEdit>(QStringLiteral("Text%1").arg(2 * pair))->setText(pairs[pair - 1][1]);
        f.find<QCheckBox>(QStringLiteral("Check%1").arg(pair))->setChecked(true);
    }

    // Pressed twice in a row, the two runs copy side by side.
    auto *copyButton = f.find<QPushButton>(QStringLiteral("Command1"));
    QTest::mouseClick(copyButton, Qt::LeftButton);
    QTest::mouseClick(copyButton, Qt::LeftButton);

    QVERIFY2(f.messages.shown.isEmpty(), qPrintable(f.messages.shown.join('\n')));
    QTRY_COMPARE_WITH_TIMEOUT(read(photosBackup), photoFiles, 10000);
    Tree lettersAfter = letterFiles;
    lettersAfter.insert("kept.txt", "stays");
    QTRY_COMPARE_WITH_TIMEOUT(read(lettersBackup), lettersAfter, 10000);

    int notices = 0;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window->objectName() == QLatin1String("frmXcopyNotify") && window->isVisible()) {
            ++notices;
            QCOMPARE(window->findChild<QLabel *>("Label3")->text(), QStringLiteral("9:00:00 AM"));
        }
    }
    QCOMPARE(notices, 1);
}

QTEST_MAIN(tst_CopyEndToEnd)
#include "tst_copyendtoend.moc"
