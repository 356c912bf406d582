#include "windowfixture.h"

#include "controls/drivelist.h"
#include "controls/filelist.h"
#include "controls/folderlist.h"
#include "pairs/folderpairs.h"
#include "pairs/pairingtable.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <bit>
#include <system_error>
#include <tuple>

class tst_Pairs : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_root;
    std::unique_ptr<WindowFixture> m_f;

    template <typename T> T *control(const char *stem, int n) const
    {
        return m_f->find<T>(QLatin1String(stem) + QString::number(n));
    }
    QLineEdit *box(int n) const { return control<QLineEdit>("Text", n); }
    QCheckBox *lock(int pair) const { return control<QCheckBox>("Check", pair); }
    QColor colour(int n) const { return box(n)->palette().color(QPalette::Text); }
    QString at(const QString &relative) const
    {
        return QDir::toNativeSeparators(QDir(m_root->path()).filePath(relative));
    }

    static QStringList shownNames(const QAbstractItemView *list)
    {
        QStringList names;
        for (int row = 0; row < list->model()->rowCount(); ++row)
            names.append(list->model()->index(row, 0).data().toString());
        return names;
    }

    // Selects the entry showing that name and opens it with Enter or a double-click.
    static void openEntry(FolderList *list, const QString &name, bool doubleClick = false)
    {
        const QModelIndex entry = list->model()->index(int(shownNames(list).indexOf(name)), 0);
        QVERIFY(entry.isValid());
        list->setCurrentIndex(entry);
        const QPoint centre = list->visualRect(entry).center();
        if (doubleClick) { // a real double-click starts with a single click
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre);
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centre);
        } else {
            QTest::keyClick(list, Qt::Key_Return);
        }
    }

    QStringList boxTexts() const
    {
        QStringList texts;
        for (int n = 1; n <= 14; ++n)
            texts.append(box(n)->text());
        return texts;
    }

    // Everything a failed step must leave as it was on one side.
    QStringList sideState(int side) const
    {
        const auto *folders = control<FolderList>("Dir", side);
        return QStringList{folders->path(), folders->currentIndex().data().toString(),
                           QString::number(control<DriveList>("Drive", side)->currentIndex())} +
               shownNames(folders) + shownNames(control<FileList>("File", side)) + boxTexts();
    }

    // Drives A and B; both sides start on drive A with every box empty.
    void open()
    {
        m_f = std::make_unique<WindowFixture>();
        m_f->drives.drives = {{at("A"), at("A")}, {at("B"), at("B")}};
        m_f->open();
        for (int side = 1; side <= 2; ++side)
            control<DriveList>("Drive", side)->setCurrentIndex(0);
        for (int n = 1; n <= 14; ++n)
            box(n)->clear();
    }

    void pickFolder(const char *locked, int side, bool drive, int pair)
    {
        open();
        auto *folders = control<FolderList>("Dir", side);
        // The chain of parents ends in the current folder, its subfolders follow.
        QVERIFY(shownNames(folders).join(u'/').endsWith(QLatin1String("/A/other/sub/Zed")));
        QCOMPARE(folders->currentIndex().data().toString(), QStringLiteral("A"));
        const QString folder = at(drive ? "B" : "A/sub");
        QStringList expected;
        for (int n = 1; n <= 14; ++n) {
            m_f->type(box(n)->objectName(), QString::number(n));
            expected.append(n == 2 * pair - 2 + side ? folder : QString::number(n));
        }
        for (int n = 1; n <= 7; ++n)
            if (locked[n - 1] == '1')
                lock(n)->click();

        if (drive)
            control<DriveList>("Drive", side)->setCurrentIndex(1);
        else
            openEntry(folders, QStringLiteral("sub"), side == 2);
        QCOMPARE(folders->path(), folder);
        QCOMPARE(boxTexts(), expected);
        QCOMPARE(shownNames(control<FileList>("File", side)),
                 QStringList(drive ? "b.txt" : "file.txt"));
    }

    void reportUnreadable(const QString &folder, bool drive, std::errc reason)
    {
        open();
        // A drive mounted after the window was made is there when the list is opened.
        auto *drives = control<DriveList>("Drive", 2);
        m_f->drives.drives.append({at(folder), at(folder)});
        drives->showPopup();
        drives->hidePopup();
        QVERIFY(drive || QDir(at(folder)).removeRecursively());
        const QStringList before = sideState(2);
        const QString message = at(folder) + QStringLiteral(": ") +
                                QString::fromLocal8Bit(std::make_error_code(reason).message());

        for (int attempt = 1; attempt <= 2; ++attempt) {
            if (drive)
                drives->setCurrentIndex(2);
            else
                openEntry(control<FolderList>("Dir", 2), QStringLiteral("sub"));
            QCOMPARE(m_f->messages.shown, QStringList(attempt, message));
            QCOMPARE(sideState(2), before);
        }
    }

    void lockUnlockLock(int pair, const QString &from, const QString &to)
    {
        open();
        for (int n = 1; n <= 14; ++n)
            m_f->type(box(n)->objectName(),
                      (n + 1) / 2 == pair ? (n % 2 ? from : to) : QString::number(n));
        const QColor untouched = colour(1);

        // Locked, the pair's boxes are read-only and stand out in their colour; unlocked, they
        // are as the others. What is saved is the model's (eachPairKeepsToItsOwnTables).
        for (int step = 0; step < 3; ++step) {
            lock(pair)->click();
            for (int n = 1; n <= 14; ++n) {
                const bool locked = (n + 1) / 2 == pair && step != 1;
                QCOMPARE(box(n)->isReadOnly(), locked);
                QCOMPARE(colour(n) != untouched, locked);
            }
        }
        QCOMPARE(m_f->database.records(pathTable(2 * pair)), QStringList(to.isEmpty() ? 0 : 1, to));
    }

  private slots:
    void init()
    {
        m_root = std::make_unique<QTemporaryDir>();
        for (const char *folder : {"A/sub", "A/other", "A/Zed", "B"})
            QVERIFY(QDir(m_root->path()).mkpath(QLatin1String(folder)));
        for (const char *file : {"A/sub/file.txt", "A/sub/.hidden", "B/b.txt"})
            QVERIFY(QFile(at(QLatin1String(file))).open(QIODevice::WriteOnly));
    }

    void cleanup() { m_f.reset(); }

    // The first free pair behind leading locked pairs, or the only free pair; nothing otherwise.
    // Pairs 1 to 6 locked fits both, and two tests name pair 7.
    void everyLockPatternFollowsTheRule()
    {
        for (unsigned bits = 0; bits < 128; ++bits) { // bit i: lock box of pair i + 1
            LockPattern locks{};
            for (int i = 0; i < 7; ++i)
                locks[i] = (bits >> i) & 1;
            const int matches =
                (bits < 127 && (bits & (bits + 1)) == 0) + (std::popcount(bits) == 6);
            QVERIFY2(pairsMatching(locks) == QList<int>(matches, std::countr_one(bits) + 1),
                     qPrintable(QString::number(bits, 2)));
        }
        QVERIFY(pairsMatching({2, 0, 0, 0, 0, 0, 0}).isEmpty()); // a greyed box matches no test
    }

    // The pairs locked; the side (From opens with Enter, To with a double-click); picked as a
    // drive, else opened in the folder list; the pair whose box receives the folder, 0 for none.
    void pickingAFolderFillsTheBoxThePatternPicks()
    {
        for (const auto &[locked, side, drive, pair] :
             {std::tuple("0000000", 1, false, 1), std::tuple("0000000", 2, false, 1),
              std::tuple("1100000", 2, false, 3), std::tuple("1111110", 1, false, 7),
              std::tuple("1010000", 2, false, 0), std::tuple("1111111", 1, false, 0),
              std::tuple("1110111", 1, true, 4), std::tuple("1100000", 2, true, 3),
              std::tuple("1111111", 2, true, 0)})
            pickFolder(locked, side, drive, pair);
    }

    // A drive without its root, a drive whose root is a file, and a folder that vanished (not
    // a drive: opened in the folder list).
    void unreadableFolderIsReportedOnce()
    {
        using enum std::errc;
        for (const auto &[folder, drive, reason] :
             {std::tuple("gone", true, no_such_file_or_directory),
              std::tuple("B/b.txt", true, not_a_directory),
              std::tuple("A/sub", false, no_such_file_or_directory)}) {
            init();
            reportUnreadable(folder, drive, reason);
        }
    }

    // Pair 2 with only its From folder, 3 with only its To folder, 4 empty and 7 filled.
    void lockUnlockLockTouchesOnlyThePair()
    {
        for (const auto &[pair, from, to] :
             {std::tuple(2, "/data/from", ""), std::tuple(3, "", "/media/usb"),
              std::tuple(4, "", ""), std::tuple(7, "/data/from", "/media/usb")})
            lockUnlockLock(pair, from, to);
    }

    // Each pair saves into its own two tables and no other, unlocking forgets it, and typing into
    // a locked pair changes nothing. A restart puts back exactly the pairs whose To folder was
    // saved (a From folder alone locks nothing), with the folders they were locked with last,
    // locked and saved once more.
    void eachPairKeepsToItsOwnTables()
    {
        for (FolderPair pair : FolderPair::all()) {
            TestDatabase db;
            FolderPairs pairs(db.store());
            pairs.type(pair, Side::From, "/from");
            pairs.type(pair, Side::To, "/to");
            QVERIFY(pairs.lock(pair).ok() && pairs.anyLocked());
            pairs.type(pair, Side::To, "/typed while locked");
            QCOMPARE(pairs[pair].to, "/to");
            for (int n = 1; n <= 14; ++n)
                QCOMPARE(db.records(pathTable(n)), n == pair.fromBox() ? QStringList{"/from"}
                                                   : n == pair.toBox() ? QStringList{"/to"}
                                                                       : QStringList());

            const FolderPair other(pair.number() % 7 + 1);
            db.add(pair.toTable(), {"/newer to"});
            db.add(other.fromTable(), {"/from alone"});
            FolderPairs restarted(db.store());
            QVERIFY(restarted.restore().ok());
            for (FolderPair each : FolderPair::all()) {
                QCOMPARE(restarted[each].locked, each == pair);
                QCOMPARE(restarted[each].from, each == pair    ? "/from"
                                               : each == other ? "/from alone"
                                                               : "");
                QCOMPARE(restarted[each].to, each == pair ? "/newer to" : "");
            }
            QCOMPARE(db.records(pair.toTable()), (QStringList{"/to", "/newer to", "/newer to"}));
            QCOMPARE(db.records(other.fromTable()), QStringList{"/from alone"});
            QVERIFY(restarted.unlock(pair).ok() && !restarted.anyLocked());
            QCOMPARE(db.records(pair.fromTable()) + db.records(pair.toTable()), QStringList());
        }
    }

    // A pair is saved whole and forgotten whole: a side that fails leaves the other as it was,
    // and the failure is said. The pair stays as the user set it.
    void savedAndForgottenWhole()
    {
        TestDatabase db;
        FolderPairs pairs(db.store());
        const FolderPair two(2);
        pairs.type(two, Side::From, QStringLiteral("/a"));
        pairs.type(two, Side::To, QStringLiteral("/b"));
        QVERIFY(pairs.lock(two).ok());
        QVERIFY(pairs.unlock(two).ok());
        pairs.type(two, Side::From, QStringLiteral("/c"));
        QVERIFY(pairs.lock(two).ok());
        for (const char *event : {"INSERT", "DELETE"})
            db.failEvery(QLatin1String(event), Table::Path4);

        const Outcome unlocked = pairs.unlock(two);
        QVERIFY(unlocked.why().contains(QLatin1String("disk is full")));
        QVERIFY(!pairs[two].locked);
        QCOMPARE(db.records(Table::Path3), QStringList{"/c"});
        const Outcome locked = pairs.lock(two);
        QVERIFY(locked.why().contains(QLatin1String("the To folder of pair 2")));
        QVERIFY(pairs[two].locked);
        QCOMPARE(db.records(Table::Path3), QStringList{"/c"});
        QCOMPARE(db.records(Table::Path4), QStringList{"/b"});

        // Put back at a restart, the pair is locked even where it cannot be saved once more.
        FolderPairs restarted(db.store());
        QVERIFY(restarted.restore().why().contains(QLatin1String("disk is full")));
        QVERIFY(restarted[two].locked);
        QCOMPARE(restarted[two].to, QStringLiteral("/b"));
    }
};

QTEST_MAIN(tst_Pairs)
#include "tst_pairs.moc"
