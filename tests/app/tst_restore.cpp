// What a restart puts back on the window: the saved pairs, locked, and the schedule, active again.
#include "schedulesteps.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

namespace {

// The pairs area: texts of the path boxes as "n:text" for box n, each pair followed by its checked
// lock box.
QStringList pairArea(const WindowFixture &f)
{
    QStringList shown;
    for (int n = 1; n <= 14; ++n) {
        if (QString text = f.find<QLineEdit>(QStringLiteral("Text%1").arg(n))->text();
            !text.isEmpty())
            shown.append(QStringLiteral("%1:%2").arg(n).arg(text));
        if (n % 2 == 0 && f.find<QCheckBox>(QStringLiteral("Check%1").arg(n / 2))->isChecked())
            shown.append(QStringLiteral("Check%1").arg(n / 2));
    }
    return shown;
}

// An active weekly schedule at 10 PM and records of path table n, given as "n:text".
void saveSchedule(WindowFixture &f, const QStringList &paths = {})
{
    f.database.add(Table::AutoSync, {"1"});
    f.database.add(Table::Days, {"7"});
    f.database.add(Table::Time, {"10:00:00 PM"});
    for (const QString &entry : paths)
        f.database.add(pathTable(entry.section(':', 0, 0).toInt()), {entry.section(':', 1)});
}

} // namespace

class tst_Restore : public QObject
{
    Q_OBJECT

  private slots:
    void flagOffShowsNothingSaved()
    {
        WindowFixture f;
        f.database.add(Table::AutoSync, {"1", "0"}); // the newest counts
        f.database.add(Table::Path1, {"/a"});
        f.database.add(Table::Path2, {"/b"});
        f.open();

        QCOMPARE(pairArea(f), QStringList());
        QVERIFY(!f.find<QCheckBox>(QStringLiteral("ckUseTimer"))->isChecked());
        QCOMPARE(f.find<QComboBox>(QStringLiteral("cmbDays"))->currentIndex(), -1);
        QCOMPARE(f.database.records(Table::Path1), QStringList{"/a"});
    }

    void pairs_data()
    {
        QTest::addColumn<QStringList>("saved");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("pair 2 saved, pair 1 not")
            << QStringList{"3:/from2", "4:/to2"} << QStringList{"3:/from2", "4:/to2", "Check2"};
        QTest::newRow("a To folder without its From folder")
            << QStringList{"4:/to2"} << QStringList{"4:/to2", "Check2"};
        QTest::newRow("a pair locked again with other folders")
            << QStringList{"13:/old-from", "14:/old-to", "13:/new-from", "14:/new-to"}
            << QStringList{"13:/new-from", "14:/new-to", "Check7"};
    }

    void pairs()
    {
        QFETCH(QStringList, saved);
        QFETCH(QStringList, shown);
        WindowFixture f;
        saveSchedule(f, saved);
        f.open();

        QCOMPARE(pairArea(f), shown);
        QCOMPARE(f.find<QComboBox>(QStringLiteral("Combo1"))->currentText(),
                 QStringLiteral("10:00:00 PM"));
        QVERIFY(steps::listsLocked(f));            // the schedule runs on
        QCOMPARE(f.messages.shown, QStringList()); // no confirmation at start-up
    }

    // Activated on Monday for every 7 days at 10 PM, restarted on Tuesday morning: next Monday.
    void restartShowsTheKeptDate()
    {
        WindowFixture f;
        f.clock.set({QDate(2026, 3, 2), QTime(23, 0)});
        f.open();
        steps::activate(f, QStringLiteral("7"), QStringLiteral("10:00:00 PM"));
        QCOMPARE(steps::shownNextDate(f), QStringLiteral("3/9/2026"));

        f.clock.set({QDate(2026, 3, 3), QTime(8, 0)});
        f.restart();
        QCOMPARE(steps::shownNextDate(f), QStringLiteral("3/9/2026"));
    }

    // An unlocked pair is forgotten: it comes back empty and unlocked, and no run copies it.
    void unlockedPairStaysUnlocked()
    {
        WindowFixture f;
        f.open();
        steps::activate(f, QStringLiteral("7"), QStringLiteral("10:00:00 PM"), false);
        f.find<QLineEdit>(QStringLiteral("Text3"))->setText(QStringLiteral("/data/two"));
        f.find<QLineEdit>(QStringLiteral("Text4"))->setText(QStringLiteral("/media/old"));
        f.find<QCheckBox>(QStringLiteral("Check2"))->setChecked(true);
        f.find<QCheckBox>(QStringLiteral("Check2"))->setChecked(false);
        f.window().cmdActivateAS_Click();

        f.restart();
        QCOMPARE(pairArea(f), (QStringList{"1:" + steps::kFrom, "2:/backup/to", "Check1"}));
        f.window().Command1_Click();
        QCOMPARE(steps::runs(f), 1);
        QCOMPARE(f.programs.started[0].arguments.value(0), steps::kFrom);
    }

    // The window still comes up, in the set-up state: the lists stay open to change.
    void noLockedPairLeavesTheListsOpen()
    {
        WindowFixture f;
        saveSchedule(f);
        f.open().show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.window()));

        QCOMPARE(f.messages.shown,
                 QStringList{"You cannot Xcopy unless at least 1 set of paths have been entered "
                             "and locked in by checking the box next to the paths."});
        QVERIFY(f.find<QCheckBox>(QStringLiteral("ckUseTimer"))->isChecked());
        QVERIFY(f.find<QLabel>(QStringLiteral("lblSyncSet"))->isHidden());
        QVERIFY(!steps::listsLocked(f));
    }
};

QTEST_MAIN(tst_Restore)
#include "tst_restore.moc"
