// The copy run without a window: which pairs start with which folders, what a run refuses, what
// it does with a pair that cannot start or whose To folder is missing, and the next copy date.
#include "fakes.h"
#include "testdatabase.h"

#include "copy/copylauncher.h"
#include "copy/copyrun.h"
#include "pairs/folderpairs.h"
#include "schedule/schedule.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

class tst_CopyRun : public QObject
{
    Q_OBJECT

    // The copy run makes missing To folders: every To folder lies in a folder of the test's own.
    struct Setup
    {
        QTemporaryDir root;
        TestDatabase db;
        FakeClock clock;
        FakeProgramStarter programs;
        FolderPairs pairs{db.store()};
        Schedule schedule{db.store(), clock};
        CopyLauncher launcher{programs};
        CopyRun run{pairs, launcher, schedule};

        // A To folder given as "/name" is that name in the test's folder.
        void fill(int number, const QString &from, const QString &to, bool locked)
        {
            const FolderPair pair(number);
            pairs.type(pair, Side::From, from);
            pairs.type(pair, Side::To, to.startsWith('/') ? at(to) : to);
            if (locked && !pairs.lock(pair).ok())
                qFatal("pair %d not locked", number);
        }
        QString at(const QString &name) const { return root.path() + name; }
        // "pair: from -> to" for every command started, in order, To folders named as given.
        QStringList started() const
        {
            QStringList commands;
            for (const ProgramStart &start : programs.copies) {
                if (start.program != "xcopy.exe" ||
                    start.arguments.mid(2) != QStringList{"/D", "/Y", "/S"})
                    qFatal("not a copy command: %s", qPrintable(start.commandLine));
                commands.append(start.caption + ": " + start.arguments.value(0) + " -> " +
                                start.arguments.value(1).remove(root.path()));
            }
            return commands;
        }
    };

  private slots:
    // Each locked pair starts with its own folders and no other pair's, whichever it is.
    void eachLockedPairStartsWithItsOwnFolders()
    {
        for (int locked = 1; locked <= 7; ++locked) {
            Setup s;
            for (int pair = 1; pair <= 7; ++pair)
                s.fill(pair, QString("/from%1").arg(pair), QString("/to%1").arg(pair),
                       pair == locked);
            QCOMPARE(s.run.run().started, QList<FolderPair>{FolderPair(locked)});
            QCOMPARE(s.started(),
                     QStringList{QString("Folder pair %1: /from%1 -> /to%1").arg(locked)});
        }
        Setup s;
        QStringList all;
        for (int pair = 7; pair >= 1; --pair)
            s.fill(pair, QString("/from%1").arg(pair), QString("/to%1").arg(pair), true);
        for (int pair = 1; pair <= 7; ++pair)
            all.append(QString("Folder pair %1: /from%1 -> /to%1").arg(pair));
        QVERIFY(s.run.run().failures.isEmpty());
        QCOMPARE(s.started(), all);
    }

    // Without a locked pair, or without any path in any box, nothing starts and nothing is
    // saved. A locked pair and a path elsewhere are enough: the locked pair starts with its
    // empty boxes.
    void refusedWithoutALockOrAPath()
    {
        Setup s;
        s.fill(2, "/from", "/to", false);
        QVERIFY(s.run.run().refused);
        s.fill(2, "", "", false);
        s.fill(5, "", "", true);
        QVERIFY(s.run.run().refused);
        QVERIFY(s.programs.copies.isEmpty());

        s.fill(1, "", "/somewhere", false);
        const CopyRunReport report = s.run.run();
        QVERIFY(!report.refused);
        QCOMPARE(s.started(), QStringList{"Folder pair 5:  -> "});
    }

    // A pair that cannot start does not hold up the others: every other pair starts and the
    // date moves on by the interval, and then the run says which failed and why, each on a line
    // of its own. A missing To folder is made first, with its parents; one that cannot be made is
    // a pair that cannot start, and nothing is started for it. A date that cannot be saved is
    // said, and the commands have started all the same.
    void pairsThatCannotStartAreSaidAfterTheRun()
    {
        Setup s;
        QVERIFY(QFile(s.at("/file")).open(QIODevice::WriteOnly));
        const QString blocked = s.at("/file/backup");
        QVERIFY(s.schedule.switchAutomatic(true).ok());
        s.schedule.chooseInterval("7");
        s.fill(1, "/from1", "/to1", true);
        s.fill(2, "/from2", "/stick/backup/photos", true);
        s.fill(3, "/from3", "/file/backup", true);
        s.fill(4, "/from4", "/to4", true);
        QStringList toFolderThereAtStart;
        s.programs.failure = [&](const ProgramStart &start) {
            toFolderThereAtStart.append(
                start.caption + (QFileInfo(start.arguments.value(1)).isDir() ? " yes" : " no"));
            return start.arguments.value(0) == "/from1" ? QStringLiteral("gone") : QString();
        };

        const CopyRunReport report = s.run.run();

        QCOMPARE(report.started, (QList<FolderPair>{FolderPair(2), FolderPair(4)}));
        QCOMPARE(report.failures, (QStringList{"Folder pair 1 was not copied: gone",
                                               "Folder pair 3 was not copied: its To folder " +
                                                   QDir::toNativeSeparators(blocked) +
                                                   " could not be made: Not a directory"}));
        QCOMPARE(toFolderThereAtStart,
                 (QStringList{"Folder pair 1 yes", "Folder pair 2 yes", "Folder pair 4 yes"}));
        QCOMPARE(report.nextCopyDate, std::optional(QDate(2026, 3, 12)));
        QVERIFY(report.saved.ok());
        QCOMPARE(s.run.run().nextCopyDate, std::optional(QDate(2026, 3, 19)));
        QCOMPARE(s.db.records(Table::Date), QStringList{"2026-03-19"});

        s.db.failEvery("INSERT", Table::Date);
        const CopyRunReport unsaved = s.run.run();
        QCOMPARE(unsaved.nextCopyDate, std::nullopt);
        QVERIFY(unsaved.saved.why().contains("Could not save the next copy date"));
        QCOMPARE(unsaved.started, report.started);
        QCOMPARE(s.db.records(Table::Date), QStringList{"2026-03-19"});
    }
};

QTEST_GUILESS_MAIN(tst_CopyRun)
#include "tst_copyrun.moc"
