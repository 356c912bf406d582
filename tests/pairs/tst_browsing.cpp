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
    void unreadableFolderIsReportedOnce_data();
    void unreadableFolderIsReportedOnce();

  private:
    QString at(const QString &relative) const
    {
        return QDir::toNativeSeparators(QDir(m_root->path()).filePath(relative));
    }
    // Drives A, B and the given roots; both sides start on drive A.
    void open(WindowFixture &f, const QStringList &moreRoots = {}) const;

    std::unique_ptr<QTemporaryDir> m_root;
};

namespace {

template <typename T> T *control(const WindowFixture &f, const char *stem, int n)
{
    return f.find<T>(QLatin1String(stem) + QString::number(n));
}

QStringList shownNames(const QAbstractItemView *list)
{
    QStringList names;
    for (int row = 0; row < list->model()->rowCount(); ++row)
        names.append(list->model()->index(row, 0).data().toString());
    return names;
}

// Selects the entry showing that name and opens it with Enter or a double-click.
void openEntry(FolderList *list, const QString &name, bool doubleClick = false)
{
    const QModelIndex entry = list->model()->index(int(shownNames(list).indexOf(name)), 0);
    QVERIFY(entry.isValid());
    list->setCurrentIndex(entry);
    if (doubleClick) {
        const QPoint centre = list->visualRect(entry).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centre);
    } else {
        QTest::keyClick(list, Qt::Key_Return);
    }
}

QStringList boxTexts(const WindowFixture &f)
{
    QStringList texts;
    for (int n = 1; n <= 14; ++n)
        texts.append(control<QLineEdit>(f, "Text", n)->text());
    return texts;
}

// Everything a failed step must leave as it was on one side.
QStringList sideState(const WindowFixture &f, int side)
{
    const auto *folders = control<FolderList>(f, "Dir", side);
    return QStringList{folders->path(),
                       QString::number(control<DriveList>(f, "Drive", side)->currentIndex())} +
           shownNames(folders) + shownNames(control<FileList>(f, "File", side)) + boxTexts(f);
}

} // namespace

void tst_Browsing::init()
{
    m_root = std::make_unique<QTemporaryDir>();
    for (const char *folder : {"A/sub", "A/other", "B"})
        QVERIFY(QDir(m_root->path()).mkpath(QLatin1String(folder)));
    for (const char *file : {"A/sub/file.txt", "A/sub/.hidden", "B/b.txt"})
        QVERIFY(QFile(at(QLatin1String(file))).open(QIODevice::WriteOnly));
}

void tst_Browsing::open(WindowFixture &f, const QStringList &moreRoots) const
{
    f.drives.drives.clear();
    for (const QString &root :
         QStringList{at(QStringLiteral("A")), at(QStringLiteral("B"))} + moreRoots)
        f.drives.drives.append({root, root});
    f.open();
    for (int side = 1; side <= 2; ++side)
        control<DriveList>(f, "Drive", side)->setCurrentIndex(0);
    for (int n = 1; n <= 14; ++n)
        control<QLineEdit>(f, "Text", n)->clear();
}

void tst_Browsing::openingAFolderFillsTheBoxThePatternPicks_data()
{
    QTest::addColumn<QByteArray>("locked");
    QTest::addColumn<int>("side");
    QTest::addColumn<int>("filled"); // the box that receives the folder, 0 for none

    QTest::newRow("nothing locked, From") << QByteArray("0000000") << 1 << 1;
    QTest::newRow("nothing locked, To") << QByteArray("0000000") << 2 << 2;
    QTest::newRow("1 and 2 locked, From") << QByteArray("1100000") << 1 << 5;
    QTest::newRow("all but 4 locked, To") << QByteArray("1110111") << 2 << 8;
    QTest::newRow("1 to 6 locked, From") << QByteArray("1111110") << 1 << 13;
    QTest::newRow("1 to 6 locked, To") << QByteArray("1111110") << 2 << 14;
    QTest::newRow("1 and 3 locked") << QByteArray("1010000") << 1 << 0;
    QTest::newRow("all seven locked") << QByteArray("1111111") << 2 << 0;
}

void tst_Browsing::openingAFolderFillsTheBoxThePatternPicks()
{
    QFETCH(QByteArray, locked);
    QFETCH(int, side);
    QFETCH(int, filled);
    WindowFixture f;
    open(f);
    for (int pair = 1; pair <= 7; ++pair)
        control<QCheckBox>(f, "Check", pair)->setChecked(locked[pair - 1] == '1');
    QStringList expected;
    for (int n = 1; n <= 14; ++n) {
        control<QLineEdit>(f, "Text", n)->setText(QStringLiteral("box %1").arg(n));
        expected.append(n == filled ? at(QStringLiteral("A/sub"))
                                    : QStringLiteral("box %1").arg(n));
    }

    openEntry(control<FolderList>(f, "Dir", side), QStringLiteral("sub"));
    QCOMPARE(boxTexts(f), expected);
    QCOMPARE(shownNames(control<FileList>(f, "File", side)),
             QStringList{QStringLiteral("file.txt")});
    QCOMPARE(shownNames(control<FileList>(f, "File", 3 - side)), QStringList());
}

void tst_Browsing::pickingADriveFillsTheBoxLikeOpeningAFolder_data()
{
    QTest::addColumn<int>("side");
    QTest::newRow("From") << 1;
    QTest::newRow("To") << 2;
}

void tst_Browsing::pickingADriveFillsTheBoxLikeOpeningAFolder()
{
    QFETCH(int, side);
    WindowFixture f;
    open(f);
    control<DriveList>(f, "Drive", side)->setCurrentIndex(1);
    QCOMPARE(control<FolderList>(f, "Dir", side)->path(), at(QStringLiteral("B")));
    QCOMPARE(shownNames(control<FileList>(f, "File", side)), QStringList{QStringLiteral("b.txt")});
    QCOMPARE(control<QLineEdit>(f, "Text", side)->text(), at(QStringLiteral("B")));
    QCOMPARE(control<QLineEdit>(f, "Text", 3 - side)->text(), QString());
}

void tst_Browsing::lockedPairSendsTheNextFoldersToTheNextPair()
{
    WindowFixture f;
    open(f);
    f.window().show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.window()));
    auto *fromFolders = f.find<FolderList>(QStringLiteral("Dir1"));
    // The chain of parents ends in the current folder, its subfolders follow.
    QCOMPARE(shownNames(fromFolders).mid(shownNames(fromFolders).size() - 3),
             (QStringList{QStringLiteral("A"), QStringLiteral("other"), QStringLiteral("sub")}));
    QCOMPARE(fromFolders->currentIndex().data().toString(), QStringLiteral("A"));

    openEntry(fromFolders, QStringLiteral("sub"), true);
    f.find<DriveList>(QStringLiteral("Drive2"))->setCurrentIndex(1);
    f.find<QCheckBox>(QStringLiteral("Check1"))->setChecked(true);
    openEntry(fromFolders, QStringLiteral("A"));
    openEntry(fromFolders, QStringLiteral("other"));

    QCOMPARE(boxTexts(f).mid(0, 4),
             (QStringList{at(QStringLiteral("A/sub")), at(QStringLiteral("B")),
                          at(QStringLiteral("A/other")), QString()}));
    QCOMPARE(f.database.records(Table::Path1), QStringList{at(QStringLiteral("A/sub"))});
    QCOMPARE(f.database.records(Table::Path2), QStringList{at(QStringLiteral("B"))});
}

void tst_Browsing::unreadableFolderIsReportedOnce_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("isDrive"); // picked as a drive, else opened in the folder list
    QTest::addColumn<std::errc>("reason");

    QTest::newRow("drive without its root")
        << "gone" << true << std::errc::no_such_file_or_directory;
    QTest::newRow("drive whose root is a file") << "B/b.txt" << true << std::errc::not_a_directory;
    QTest::newRow("folder that vanished")
        << "A/sub" << false << std::errc::no_such_file_or_directory;
}

void tst_Browsing::unreadableFolderIsReportedOnce()
{
    QFETCH(QString, folder);
    QFETCH(bool, isDrive);
    QFETCH(std::errc, reason);
    WindowFixture f;
    open(f, isDrive ? QStringList{at(folder)} : QStringList{});
    QVERIFY(isDrive || QDir(at(folder)).removeRecursively());
    const QStringList before = sideState(f, 2);

    for (int attempt = 1; attempt <= 2; ++attempt) {
        if (isDrive)
            f.find<DriveList>(QStringLiteral("Drive2"))->setCurrentIndex(2);
        else
            openEntry(f.find<FolderList>(QStringLiteral("Dir2")), QStringLiteral("sub"));
        QCOMPARE(f.messages.shown.size(), attempt);
        QCOMPARE(f.messages.shown.last(),
                 at(folder) + QStringLiteral(": ") +
                     QString::fromLocal8Bit(std::make_error_code(reason).message()));
        QCOMPARE(sideState(f, 2), before);
    }
}

QTEST_MAIN(tst_Browsing)
#include "tst_browsing.moc"
