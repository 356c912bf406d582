#include "browsinghelpers.h"
#include "windowfixture.h"

#include "pairs/drivelist.h"
#include "pairs/filelist.h"
#include "pairs/folderlist.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <system_error>

class tst_Browsing : public QObject
{
    Q_OBJECT

  private slots:
    void init();
    void openingAFolderFillsTheBoxThePatternPicks_data();
    void openingAFolderFillsTheBoxThePatternPicks();
    void pickingADriveFillsTheBoxLikeOpeningAFolder_data();
    void pickingADriveFillsTheBoxLikeOpeningAFolder();
    void lockedPairSendsTheNextFoldersToTheNextPair();
    void unreadableDriveIsReportedOnce_data();
    void unreadableDriveIsReportedOnce();
    void vanishedFolderIsReportedOnce();

  private:
    QString at(const QString &relative) const
    {
        return QDir::toNativeSeparators(QDir(m_root->path()).filePath(relative));
    }
    void openWindow(WindowFixture &f, const QList<Drive> &more = {}) const
    {
        f.drives.drives = QList<Drive>{{at(QStringLiteral("A")), QStringLiteral("A")},
                                       {at(QStringLiteral("B")), QStringLiteral("B")}} +
                          more;
        f.open();
    }

    std::unique_ptr<QTemporaryDir> m_root;
};

namespace {

template <typename T> T *sideControl(const WindowFixture &f, const char *stem, int side)
{
    return f.find<T>(QLatin1String(stem) + QString::number(side + 1));
}

QLineEdit *box(const WindowFixture &f, int n)
{
    return f.find<QLineEdit>(QStringLiteral("Text%1").arg(n));
}

QStringList boxTexts(const WindowFixture &f)
{
    QStringList texts;
    for (int n = 1; n <= 14; ++n)
        texts.append(box(f, n)->text());
    return texts;
}

// What a failed step must leave alone on one side.
struct SideState
{
    QString folder;
    QStringList folders;
    QStringList files;
    int drive;
    QStringList boxes;
    bool operator==(const SideState &) const = default;
};

SideState sideState(const WindowFixture &f, int side)
{
    return {sideControl<FolderList>(f, "Dir", side)->path(),
            shownNames(sideControl<FolderList>(f, "Dir", side)),
            shownNames(sideControl<FileList>(f, "File", side)),
            sideControl<DriveList>(f, "Drive", side)->currentIndex(), boxTexts(f)};
}

} // namespace

void tst_Browsing::init()
{
    m_root = std::make_unique<QTemporaryDir>();
    makeEntries(m_root->path(), {QStringLiteral("A/sub/file.txt"), QStringLiteral("A/sub/.hidden"),
                                 QStringLiteral("A/other/"), QStringLiteral("B/b.txt")});
}

void tst_Browsing::openingAFolderFillsTheBoxThePatternPicks_data()
{
    QTest::addColumn<QByteArray>("locked");
    QTest::addColumn<int>("side");
    QTest::addColumn<int>("filled"); // the box that receives the folder, 0 for none

    QTest::newRow("nothing locked, From") << QByteArray("0000000") << 0 << 1;
    QTest::newRow("nothing locked, To") << QByteArray("0000000") << 1 << 2;
    QTest::newRow("1 and 2 locked, From") << QByteArray("1100000") << 0 << 5;
    QTest::newRow("1 and 2 locked, To") << QByteArray("1100000") << 1 << 6;
    QTest::newRow("all but 4 locked, From") << QByteArray("1110111") << 0 << 7;
    QTest::newRow("all but 4 locked, To") << QByteArray("1110111") << 1 << 8;
    QTest::newRow("1 to 6 locked, From") << QByteArray("1111110") << 0 << 13;
    QTest::newRow("1 to 6 locked, To") << QByteArray("1111110") << 1 << 14;
    QTest::newRow("1 and 3 locked") << QByteArray("1010000") << 0 << 0;
    QTest::newRow("all seven locked") << QByteArray("1111111") << 1 << 0;
}

void tst_Browsing::openingAFolderFillsTheBoxThePatternPicks()
{
    QFETCH(QByteArray, locked);
    QFETCH(int, side);
    QFETCH(int, filled);

    WindowFixture f;
    openWindow(f);
    sideControl<DriveList>(f, "Drive", side)->setCurrentIndex(0);
    for (int pair = 1; pair <= 7; ++pair)
        f.find<QCheckBox>(QStringLiteral("Check%1").arg(pair))->setChecked(locked[pair - 1] == '1');
    for (int n = 1; n <= 14; ++n)
        box(f, n)->setText(QStringLiteral("box %1").arg(n));

    openEntry(sideControl<FolderList>(f, "Dir", side), QStringLiteral("sub"));
    for (int n = 1; n <= 14; ++n) {
        const QString expected =
            n == filled ? at(QStringLiteral("A/sub")) : QStringLiteral("box %1").arg(n);
        QCOMPARE(box(f, n)->text(), expected);
    }
    QCOMPARE(shownNames(sideControl<FileList>(f, "File", side)),
             QStringList{QStringLiteral("file.txt")});
    QVERIFY(f.messages.shown.isEmpty());
}

void tst_Browsing::pickingADriveFillsTheBoxLikeOpeningAFolder_data()
{
    QTest::addColumn<int>("side");
    QTest::newRow("From") << 0;
    QTest::newRow("To") << 1;
}

void tst_Browsing::pickingADriveFillsTheBoxLikeOpeningAFolder()
{
    QFETCH(int, side);
    WindowFixture f;
    openWindow(f);

    sideControl<DriveList>(f, "Drive", side)->setCurrentIndex(1);
    QCOMPARE(sideControl<FolderList>(f, "Dir", side)->path(), at(QStringLiteral("B")));
    QCOMPARE(shownNames(sideControl<FileList>(f, "File", side)),
             QStringList{QStringLiteral("b.txt")});
    QCOMPARE(box(f, 1 + side)->text(), at(QStringLiteral("B")));
    QCOMPARE(box(f, 2 - side)->text(), QString());
}

void tst_Browsing::lockedPairSendsTheNextFoldersToTheNextPair()
{
    WindowFixture f;
    openWindow(f);
    auto *fromFolders = f.find<FolderList>(QStringLiteral("Dir1"));

    f.find<DriveList>(QStringLiteral("Drive1"))->setCurrentIndex(0);
    openEntry(fromFolders, QStringLiteral("sub"));
    f.find<DriveList>(QStringLiteral("Drive2"))->setCurrentIndex(1);
    QCOMPARE(box(f, 1)->text(), at(QStringLiteral("A/sub")));
    QCOMPARE(box(f, 2)->text(), at(QStringLiteral("B")));

    f.find<QCheckBox>(QStringLiteral("Check1"))->setChecked(true);
    openEntry(fromFolders, QStringLiteral("A"));
    openEntry(fromFolders, QStringLiteral("other"));
    QCOMPARE(box(f, 1)->text(), at(QStringLiteral("A/sub")));
    QCOMPARE(box(f, 3)->text(), at(QStringLiteral("A/other")));
    QCOMPARE(f.database.records(Table::Path1), QStringList{at(QStringLiteral("A/sub"))});
    QCOMPARE(f.database.records(Table::Path2), QStringList{at(QStringLiteral("B"))});
}

void tst_Browsing::unreadableDriveIsReportedOnce_data()
{
    QTest::addColumn<QString>("root");
    QTest::addColumn<std::errc>("reason");
    QTest::newRow("root missing") << "gone" << std::errc::no_such_file_or_directory;
    QTest::newRow("root is a file") << "B/b.txt" << std::errc::not_a_directory;
}

void tst_Browsing::unreadableDriveIsReportedOnce()
{
    QFETCH(QString, root);
    QFETCH(std::errc, reason);
    WindowFixture f;
    openWindow(f, {{at(root), QStringLiteral("X")}});
    auto *drives = f.find<DriveList>(QStringLiteral("Drive1"));
    drives->setCurrentIndex(0);
    const SideState before = sideState(f, 0);

    drives->setCurrentIndex(2);
    QCOMPARE(f.messages.shown,
             QStringList{at(root) + QStringLiteral(": ") +
                         QString::fromLocal8Bit(std::make_error_code(reason).message())});
    QVERIFY(sideState(f, 0) == before);

    drives->setCurrentIndex(2); // trying again reports again, once
    QCOMPARE(f.messages.shown.size(), 2);
    QVERIFY(sideState(f, 0) == before);
}

void tst_Browsing::vanishedFolderIsReportedOnce()
{
    WindowFixture f;
    openWindow(f);
    f.find<DriveList>(QStringLiteral("Drive2"))->setCurrentIndex(0);
    QVERIFY(QDir(at(QStringLiteral("A/sub"))).removeRecursively());
    const SideState before = sideState(f, 1);

    openEntry(f.find<FolderList>(QStringLiteral("Dir2")), QStringLiteral("sub"));
    QCOMPARE(f.messages.shown.size(), 1);
    QVERIFY(f.messages.shown.first().startsWith(at(QStringLiteral("A/sub")) + QLatin1Char(':')));
    QVERIFY(sideState(f, 1) == before);
}

QTEST_MAIN(tst_Browsing)
#include "tst_browsing.moc"
