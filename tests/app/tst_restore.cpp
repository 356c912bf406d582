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
    void activationRefusedAtStartUp_data();
    void activationRefusedAtStartUp();
};

namespace {

// Records of the path tables, or texts of the path boxes, as "n:text" for table or box n.
using Numbered = QStringList;

QStringList boxTexts(const WindowFixture &f)
{
    QStringList texts;
    for (int n = 1; n <= 14; ++n)
        texts.append(f.find<QLineEdit>(QStringLiteral("Text%1").arg(n))->text());
    return texts;
}

QStringList expand(const Numbered &numbered)
{
    QStringList texts(14);
    for (const QString &entry : numbered)
        texts[entry.section(':', 0, 0).toInt() - 1] = entry.section(':', 1);
    return texts;
}

QList<int> lockedPairs(const WindowFixture &f)
{
    QList<int> locked;
    for (int pair = 1; pair <= 7; ++pair) {
        if (f.find<QCheckBox>(QStringLiteral("Check%1").arg(pair))->isChecked())
            locked.append(pair);
    }
    return locked;
}

void saveSchedule(WindowFixture &f, const QString &time)
{
    f.database.add(Table::AutoSync, {"1"});
    f.database.add(Table::Days, {"3", "7", "14"});
    f.database.add(Table::Time, {time});
}

bool frozen(const WindowFixture &f)
{
    return !f.find<QLabel>(QStringLiteral("lblSyncSet"))->isHidden();
}

} // namespace

void tst_Restore::emptyDatabase()
{
    WindowFixture f;
    f.clock.set(QDateTime(QDate(2026, 3, 5), QTime(9, 0)));
    f.open();

    QCOMPARE(f.database.records(Table::AutoSync), QStringList{"0"});
    QCOMPARE(f.database.records(Table::Time), QStringList{"12:01:00 AM"});
    QCOMPARE(f.database.records(Table::Date), QStringList{"2026-03-05"});
    QCOMPARE(f.database.records(Table::Days), QStringList{"1"});
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

    QCOMPARE(boxTexts(f), QStringList(14));
    QCOMPARE(lockedPairs(f), QList<int>());
    QCOMPARE(f.find<QComboBox>(QStringLiteral("cmbDays"))->currentIndex(), -1);
    QCOMPARE(f.database.records(Table::AutoSync), QStringList{"0"});
    QCOMPARE(f.database.records(Table::Path1), QStringList{"/a"});
}

void tst_Restore::pairs_data()
{
    QTest::addColumn<Numbered>("saved");
    QTest::addColumn<Numbered>("shown");
    QTest::addColumn<QList<int>>("locked");

    QTest::newRow("pair 2 saved, pair 1 not")
        << Numbered{"3:/from2", "4:/to2"} << Numbered{"3:/from2", "4:/to2"} << QList<int>{2};
    QTest::newRow("a To folder without its From folder")
        << Numbered{"4:/to2"} << Numbered{"4:/to2"} << QList<int>{2};
    QTest::newRow("a From folder alone locks nothing")
        << Numbered{"5:/from3", "4:/to2"} << Numbered{"4:/to2", "5:/from3"} << QList<int>{2};
    QTest::newRow("a pair locked again with other folders")
        << Numbered{"13:/old-from", "14:/old-to", "13:/new-from", "14:/new-to"}
        << Numbered{"13:/new-from", "14:/new-to"} << QList<int>{7};
}

void tst_Restore::pairs()
{
    QFETCH(Numbered, saved);
    QFETCH(Numbered, shown);
    QFETCH(QList<int>, locked);

    WindowFixture f;
    saveSchedule(f, QStringLiteral("10:00:00 PM"));
    QList<QStringList> records(14);
    for (const QString &entry : saved) {
        const int n = entry.section(':', 0, 0).toInt();
        f.database.add(pathTable(n), {entry.section(':', 1)});
        records[n - 1].append(entry.section(':', 1));
    }
    f.open();

    QCOMPARE(boxTexts(f), expand(shown));
    QCOMPARE(lockedPairs(f), locked);
    QVERIFY(frozen(f));
    QCOMPARE(f.messages.shown, QStringList()); // no confirmation at start-up
    // Locking a restored pair saves its folders once more.
    const QStringList texts = expand(shown);
    for (int n = 1; n <= 14; ++n) {
        const bool once = locked.contains((n + 1) / 2) && !texts[n - 1].isEmpty();
        QCOMPARE(f.database.records(pathTable(n)),
                 records[n - 1] + (once ? QStringList{texts[n - 1]} : QStringList()));
    }
}

void tst_Restore::newestIntervalAndTime()
{
    WindowFixture f;
    saveSchedule(f, QStringLiteral("10:00:00 PM"));
    f.database.add(Table::Time, {"1:00:00 AM"});
    f.database.add(Table::Path2, {"/to"});
    f.open();

    QCOMPARE(f.find<QComboBox>(QStringLiteral("cmbDays"))->currentText(), QStringLiteral("14"));
    QCOMPARE(f.find<QComboBox>(QStringLiteral("Combo1"))->currentText(),
             QStringLiteral("1:00:00 AM"));
    // Kept to the newest, then appended once more by the activation.
    QCOMPARE(f.database.records(Table::Days), QStringList({"14", "14"}));
}

void tst_Restore::activationRefusedAtStartUp_data()
{
    QTest::addColumn<QString>("time");
    QTest::addColumn<QString>("savedTo");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("selectedTime");
    QTest::newRow("no locked pair") << "10:00:00 PM"
                                    << ""
                                    << "You cannot Xcopy unless at least 1 set of paths have been "
                                       "entered and locked in by checking the box next to the "
                                       "paths."
                                    << "10:00:00 PM";
    QTest::newRow("a stored time not in the list")
        << "22:00"
        << "/to"
        << "Please make sure the Days Time fields are entered before proceeding."
        << "";
}

// The window still comes up, in the set-up state: the lists stay open to change.
void tst_Restore::activationRefusedAtStartUp()
{
    QFETCH(QString, time);
    QFETCH(QString, savedTo);
    QFETCH(QString, message);
    QFETCH(QString, selectedTime);

    WindowFixture f;
    saveSchedule(f, time);
    if (!savedTo.isEmpty())
        f.database.add(Table::Path2, {savedTo});
    f.open().show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.window()));

    QCOMPARE(f.messages.shown, QStringList{message});
    QVERIFY(f.find<QCheckBox>(QStringLiteral("ckUseTimer"))->isVisible());
    QVERIFY(f.find<QCheckBox>(QStringLiteral("ckUseTimer"))->isChecked());
    QVERIFY(!frozen(f));
    QCOMPARE(f.find<QComboBox>(QStringLiteral("Combo1"))->currentText(), selectedTime);
    auto *days = f.find<QComboBox>(QStringLiteral("cmbDays"));
    QTest::keyClick(days, Qt::Key_Down);
    QCOMPARE(days->currentText(), QStringLiteral("15"));
}

QTEST_MAIN(tst_Restore)
#include "tst_restore.moc"
