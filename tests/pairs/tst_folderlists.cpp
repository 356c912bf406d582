#include "browsinghelpers.h"

#include "pairs/filelist.h"
#include "pairs/folderlist.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <system_error>

class tst_FolderLists : public QObject
{
    Q_OBJECT

  private slots:
    void init();
    void folderListShowsParentsAndSubfolders();
    void openingAnEntryMakesItCurrent_data();
    void openingAnEntryMakesItCurrent();
    void unreadableFolderLeavesTheListsAsTheyWere_data();
    void unreadableFolderLeavesTheListsAsTheyWere();
    void openingAVanishedFolderReportsIt();
    void fileListShowsOnlyVisibleFiles();

  private:
    std::unique_ptr<QTemporaryDir> m_root;
    QString folder(const QString &relative) const
    {
        return QDir::toNativeSeparators(QDir(m_root->path()).filePath(relative));
    }
};

void tst_FolderLists::init()
{
    m_root = std::make_unique<QTemporaryDir>();
    makeEntries(m_root->path(),
                {QStringLiteral("top/mid/Zeta/"), QStringLiteral("top/mid/alpha/"),
                 QStringLiteral("top/mid/.hidden/"), QStringLiteral("top/mid/f.txt"),
                 QStringLiteral("top/mid/alpha/deep/")});
}

void tst_FolderLists::folderListShowsParentsAndSubfolders()
{
    FolderList list;
    QSignalSpy changed(&list, &FolderList::changed);
    QCOMPARE(list.setPath(folder(QStringLiteral("top/mid"))), QString());
    QCOMPARE(list.path(), folder(QStringLiteral("top/mid")));
    QCOMPARE(changed.count(), 1);

    QStringList chain;
    for (QDir level(folder(QStringLiteral("top/mid")));; level.cdUp()) {
        chain.prepend(level.isRoot() ? QDir::toNativeSeparators(level.path()) : level.dirName());
        if (level.isRoot())
            break;
    }
    QCOMPARE(shownNames(&list),
             chain + QStringList({QStringLiteral("alpha"), QStringLiteral("Zeta")}));
    QCOMPARE(list.currentIndex().row(), chain.size() - 1);
}

void tst_FolderLists::openingAnEntryMakesItCurrent_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("opened");
    QTest::addColumn<bool>("doubleClick");

    QTest::newRow("subfolder by Enter") << "alpha"
                                        << "top/mid/alpha" << false;
    QTest::newRow("subfolder by double-click") << "Zeta"
                                               << "top/mid/Zeta" << true;
    QTest::newRow("parent in the chain") << "top"
                                         << "top" << false;
}

void tst_FolderLists::openingAnEntryMakesItCurrent()
{
    QFETCH(QString, entry);
    QFETCH(QString, opened);
    QFETCH(bool, doubleClick);

    FolderList list;
    list.resize(200, 400);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    list.setPath(folder(QStringLiteral("top/mid")));
    QSignalSpy changed(&list, &FolderList::changed);

    if (doubleClick) {
        const QModelIndex index = list.model()->index(int(shownNames(&list).indexOf(entry)), 0);
        const QPoint centre = list.visualRect(index).center();
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, centre);
        QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, centre);
    } else {
        openEntry(&list, entry);
    }
    QCOMPARE(list.path(), folder(opened));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(list.currentIndex().data().toString(), entry);

    openEntry(&list, entry); // the current folder again: read anew, but no change
    QCOMPARE(changed.count(), 1);
}

void tst_FolderLists::unreadableFolderLeavesTheListsAsTheyWere_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<std::errc>("reason");

    QTest::newRow("missing") << "top/none" << std::errc::no_such_file_or_directory;
    QTest::newRow("a file") << "top/mid/f.txt" << std::errc::not_a_directory;
}

void tst_FolderLists::unreadableFolderLeavesTheListsAsTheyWere()
{
    QFETCH(QString, path);
    QFETCH(std::errc, reason);

    FolderList folders;
    FileList files;
    folders.setPath(folder(QStringLiteral("top/mid")));
    files.setPath(folder(QStringLiteral("top/mid")));
    const QStringList foldersBefore = shownNames(&folders);
    QSignalSpy changed(&folders, &FolderList::changed);

    const QString expected = folder(path) + QStringLiteral(": ") +
                             QString::fromLocal8Bit(std::make_error_code(reason).message());
    QCOMPARE(folders.setPath(folder(path)), expected);
    QCOMPARE(files.setPath(folder(path)), expected);
    QCOMPARE(folders.path(), folder(QStringLiteral("top/mid")));
    QCOMPARE(shownNames(&folders), foldersBefore);
    QCOMPARE(changed.count(), 0);
    QCOMPARE(shownNames(&files), QStringList{QStringLiteral("f.txt")});
}

void tst_FolderLists::openingAVanishedFolderReportsIt()
{
    FolderList list;
    list.setPath(folder(QStringLiteral("top/mid")));
    const QStringList before = shownNames(&list);
    QVERIFY(QDir(folder(QStringLiteral("top/mid/alpha"))).removeRecursively());
    QSignalSpy changed(&list, &FolderList::changed);
    QSignalSpy failed(&list, &FolderList::openFailed);

    openEntry(&list, QStringLiteral("alpha"));
    QCOMPARE(failed.count(), 1);
    QVERIFY(failed.first().first().toString().startsWith(folder(QStringLiteral("top/mid/alpha"))));
    QCOMPARE(changed.count(), 0);
    QCOMPARE(list.path(), folder(QStringLiteral("top/mid")));
    QCOMPARE(shownNames(&list), before);
    QCOMPARE(list.currentIndex().data().toString(), QStringLiteral("mid"));
}

void tst_FolderLists::fileListShowsOnlyVisibleFiles()
{
    makeEntries(m_root->path(), {QStringLiteral("top/mid/b.txt"), QStringLiteral("top/mid/A.txt"),
                                 QStringLiteral("top/mid/.secret")});
    FileList files;
    QCOMPARE(files.setPath(folder(QStringLiteral("top/mid"))), QString());
    QCOMPARE(shownNames(&files), (QStringList{QStringLiteral("A.txt"), QStringLiteral("b.txt"),
                                              QStringLiteral("f.txt")}));
}

QTEST_MAIN(tst_FolderLists)
#include "tst_folderlists.moc"
