// A copy run through the real program start and the real copy command, on real folders.
#include "windowfixture.h"

#include "platform/posixprogramstarter.h"

#include <QCheckBox>
#include <QDirIterator>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

class tst_CopyEndToEnd : public QObject
{
    Q_OBJECT

  private slots:
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

void tst_CopyEndToEnd::lockedPairsAreCopied()
{
    qunsetenv("DISPLAY"); // without a display the copies run without a terminal window
    WindowFixture f;
    QVERIFY(QFile::link(QStringLiteral(XCOPY_PROGRAM), f.installFolder.filePath("xcopy")));
    PosixProgramStarter starter(f.installFolder.path());
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

QTEST_MAIN(tst_CopyEndToEnd)
#include "tst_copyendtoend.moc"
