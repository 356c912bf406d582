#include "windowfixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

class tst_Restore : public QObject
{
    Q_OBJECT

  private slots:
    void emptyDatabase();
    void flagOffShowsNothingSaved();
    void pairs_data();
    void pairs();
    void newestIntervalAndTime();
    void noLockedPairLeavesTheListsOpen();
};

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

// An active schedule with the given time and records of path table n, given as "n:text".
void saveSchedule(WindowFixture &f, const QString &time, const QStringList &paths = {})
{
    f.database.add(Table::AutoSync, {"1"});
    f.database.add(Table::Days, {"3", "7", "14"});
    f.database.add(Table::Time, {time});
    for (const QString &entry : paths)
        f.database.add(pathTable(entry.section(':', 0, 0).toInt()), {entry.section(':', 1)});
}

} // namespace

void tst_Restore::emptyDatabase()
{
    WindowFixture f;
    f.open(); // at the fixture clock's 5 March 2026

    QCOMPARE(
        (QList<QStringList>{f.database.records(Table::AutoSync), f.database.records(Table::Time),
                            f.database.records(Table::Date), f.database.records(Table::Days)}),
        (QList<QStringList>{{"0"}, {"12:01:00 AM"}, {"2026-03-05"}, {"1"}}));
    QVERIFY(!f.find<QCheckBox>(QStringLiteral("ckUseTimer"))->isChecked());
    QCOMPARE(f.find<QLabel>(QStringLiteral("lblNextDate"))->text(), QString());
    QCOMPARE(f.messages.shown, QStringList());
}

void tst_Restore::flagOffShowsNothingSaved()
{
    WindowFixture f;
    f.database.add(Table::AutoSync, {"1", "0"}); // the newest counts
    f.database.add(Table::Path1, {"/a"});
    f.database.add(Table::Path2, {"/b"});
    f.open();

    QCOMPARE(pairArea(f), QStringList());
    QCOMPARE(f.find<QComboBox>(QStringLiteral("cmbDays"))->currentIndex(), -1);
    QCOMPARE(f.database.records(Table::AutoSync), QStringList{"0"});
    QCOMPARE(f.database.records(Table::Path1), QStringList{"/a"});
}

void tst_Restore::pairs_data()
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

void tst_Restore::pairs()
{
    QFETCH(QStringList, saved);
    QFETCH(QStringList, shown);
    WindowFixture f;
    saveSchedule(f, QStringLiteral("10:00:00 PM"), saved);
    f.open();

    QCOMPARE(pairArea(f), shown);
    QVERIFY(!f.find<QLabel>(QStringLiteral("lblSyncSet"))->isHidden()); // the schedule runs on
    QCOMPARE(f.messages.shown, QStringList()); // no confirmation at start-up
}

void tst_Restore::newestIntervalAndTime()
{
    WindowFixture f;
    saveSchedule(f, QStringLiteral("10:00:00 PM"), {"2:/to"});
    f.database.add(Table::Time, {"1:00:00 AM"});
    f.open();

    QCOMPARE(f.find<QComboBox>(QStringLiteral("cmbDays"))->currentText(), QStringLiteral("14"));
    QCOMPARE(f.find<QComboBox>(QStringLiteral("Combo1"))->currentText(),
             QStringLiteral("1:00:00 AM"));
    // Kept to the newest, then appended once more by the activation.
    QCOMPARE(f.database.records(Table::Days), QStringList({"14", "14"}));
}

// The window still comes up, in the set-up state: the lists stay open to change.
void tst_Restore::noLockedPairLeavesTheListsOpen()
{
    WindowFixture f;
    saveSchedule(f, QStringLiteral("10:00:00 PM"));
    f.open().show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.window()));

    QCOMPARE(f.messages.shown,
             QStringList{"You cannot Xcopy unless at least 1 set of paths have been entered and "
                         "locked in by checking the box next to the paths."});
    QVERIFY(f.find<QCheckBox>(QStringLiteral("ckUseTimer"))->isChecked());
    QVERIFY(f.find<QLabel>(QStringLiteral("lblSyncSet"))->isHidden());
    QCOMPARE(f.find<QComboBox>(QStringLiteral("Combo1"))->currentText(),
             QStringLiteral("10:00:00 PM"));
    auto *days = f.find<QComboBox>(QStringLiteral("cmbDays"));
    QTest::keyClick(days, Qt::Key_Down);
    QCOMPARE(days->currentText(), QStringLiteral("15"));
}

QTEST_MAIN(tst_Restore)
#include "tst_restore.moc"
