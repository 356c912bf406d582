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
    void nextCopyDate_data();
    void nextCopyDate();
    void noLockedPairLeavesTheListsOpen();
    void storedTimeNotInTheList();
};

namespace {

const QString kNoLockedPair =
    QStringLiteral("You cannot Xcopy unless at least 1 set of paths have been entered and locked "
                   "in by checking the box next to the paths.");
const QString kNoDaysOrTime =
    QStringLiteral("Please make sure the Days Time fields are entered before proceeding.");

const QDateTime kNineAm(QDate(2026, 3, 5), QTime(9, 0));

QStringList boxTexts(const WindowFixture &f)
{
    QStringList texts;
    for (int n = 1; n <= 14; ++n)
        texts.append(f.find<QLineEdit>(QStringLiteral("Text%1").arg(n))->text());
    return texts;
}

QList<bool> lockBoxes(const WindowFixture &f)
{
    QList<bool> checked;
    for (int n = 1; n <= 7; ++n)
        checked.append(f.find<QCheckBox>(QStringLiteral("Check%1").arg(n))->isChecked());
    return checked;
}

void saveSchedule(WindowFixture &f, const QString &days, const QString &time)
{
    f.database.add(Table::AutoSync, {QStringLiteral("1")});
    f.database.add(Table::Days, {days});
    f.database.add(Table::Time, {time});
}

bool scheduleFrozen(const WindowFixture &f)
{
    return !f.find<QLabel>(QStringLiteral("lblSyncSet"))->isHidden() &&
           f.find<QCheckBox>(QStringLiteral("ckUseTimer"))->isHidden();
}

} // namespace

void tst_Restore::emptyDatabase()
{
    WindowFixture f;
    f.clock.set(kNineAm);
    f.open();

    QCOMPARE(f.database.records(Table::AutoSync), QStringList{"0"});
    QCOMPARE(f.database.records(Table::Time), QStringList{"12:01:00 AM"});
    QCOMPARE(f.database.records(Table::Date), QStringList{"2026-03-05"});
    QCOMPARE(f.database.records(Table::Days), QStringList{"1"});
    QVERIFY(!f.find<QCheckBox>(QStringLiteral("ckUseTimer"))->isChecked());
    QCOMPARE(f.find<QComboBox>(QStringLiteral("cmbDays"))->currentIndex(), -1);
    QCOMPARE(f.find<QLabel>(QStringLiteral("lblNextDate"))->text(), QString());
    QCOMPARE(f.messages.shown, QStringList());
}

void tst_Restore::flagOffShowsNothingSaved()
{
    WindowFixture f;
    f.database.add(Table::AutoSync, {"1", "0"}); // the newest counts
    f.database.add(Table::Path1, {"/a"});
    f.database.add(Table::Path2, {"/b"});
    f.database.add(Table::Days, {"7"});
    f.database.add(Table::Date, {"2026-03-01", "2026-03-08"});
    f.open();

    QCOMPARE(boxTexts(f), QList<QString>(14));
    QCOMPARE(lockBoxes(f), QList<bool>(7, false));
    QVERIFY(!f.find<QCheckBox>(QStringLiteral("ckUseTimer"))->isChecked());
    QCOMPARE(f.find<QComboBox>(QStringLiteral("cmbDays"))->currentIndex(), -1);
    QCOMPARE(f.database.records(Table::AutoSync), QStringList{"0"});
    QCOMPARE(f.database.records(Table::Path1), QStringList{"/a"});
    QCOMPARE(f.database.records(Table::Date), QStringList{"2026-03-05"});
}

void tst_Restore::pairs_data()
{
    QTest::addColumn<QList<QStringList>>("saved"); // the records of tblPath1 .. tblPath14
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QList<bool>>("locked");

    QList<QStringList> saved(14);
    QStringList texts(14);
    QList<bool> locked(7, false);

    auto pair2 = saved;
    pair2[2] = {"/from2"};
    pair2[3] = {"/to2"};
    auto pair2Texts = texts;
    pair2Texts[2] = "/from2";
    pair2Texts[3] = "/to2";
    auto pair2Locked = locked;
    pair2Locked[1] = true;
    QTest::newRow("pair 2 saved, pair 1 not") << pair2 << pair2Texts << pair2Locked;

    auto toOnly = saved;
    toOnly[3] = {"/to2"};
    auto toOnlyTexts = texts;
    toOnlyTexts[3] = "/to2";
    QTest::newRow("a To folder without its From folder") << toOnly << toOnlyTexts << pair2Locked;

    auto fromOnly = saved;
    fromOnly[4] = {"/from3"};
    fromOnly[3] = {"/to2"};
    auto fromOnlyTexts = toOnlyTexts;
    fromOnlyTexts[4] = "/from3";
    QTest::newRow("a From folder alone does not lock") << fromOnly << fromOnlyTexts << pair2Locked;

    auto relocked = saved;
    relocked[12] = {"/old-from", "/new-from"};
    relocked[13] = {"/old-to", "/new-to"};
    auto relockedTexts = texts;
    relockedTexts[12] = "/new-from";
    relockedTexts[13] = "/new-to";
    auto pair7Locked = locked;
    pair7Locked[6] = true;
    QTest::newRow("a pair locked again with other folders")
        << relocked << relockedTexts << pair7Locked;
}

void tst_Restore::pairs()
{
    QFETCH(QList<QStringList>, saved);
    QFETCH(QStringList, texts);
    QFETCH(QList<bool>, locked);

    WindowFixture f;
    saveSchedule(f, QStringLiteral("7"), QStringLiteral("10:00:00 PM"));
    for (int n = 1; n <= 14; ++n)
        f.database.add(pathTable(n), saved[n - 1]);
    f.open();

    QCOMPARE(boxTexts(f), texts);
    QCOMPARE(lockBoxes(f), locked);
    // Locking a restored pair saves its folders once more.
    for (int n = 1; n <= 14; ++n) {
        const bool pairLocked = locked[(n - 1) / 2];
        QCOMPARE(f.find<QLineEdit>(QStringLiteral("Text%1").arg(n))->isReadOnly(), pairLocked);
        const QString &text = texts[n - 1];
        QCOMPARE(f.database.records(pathTable(n)),
                 saved[n - 1] +
                     (pairLocked && !text.isEmpty() ? QStringList{text} : QStringList()));
    }
    QVERIFY(f.find<QCheckBox>(QStringLiteral("ckUseTimer"))->isChecked());
    QVERIFY(scheduleFrozen(f));
    QCOMPARE(f.messages.shown, QStringList()); // no confirmation at start-up
}

void tst_Restore::newestIntervalAndTime()
{
    WindowFixture f;
    f.database.add(Table::AutoSync, {"1"});
    f.database.add(Table::Days, {"3", "7", "14"});
    f.database.add(Table::Time, {"1:00:00 AM", "10:00:00 PM"});
    f.database.add(Table::Path2, {"/to"});
    f.open();

    QCOMPARE(f.find<QComboBox>(QStringLiteral("cmbDays"))->currentText(), QStringLiteral("14"));
    QCOMPARE(f.find<QComboBox>(QStringLiteral("Combo1"))->currentText(),
             QStringLiteral("10:00:00 PM"));
    // Kept to the newest, then appended once more by the activation.
    QCOMPARE(f.database.records(Table::Days), QStringList({"14", "14"}));
    QCOMPARE(f.database.records(Table::Time), QStringList({"10:00:00 PM", "10:00:00 PM"}));
}

void tst_Restore::nextCopyDate_data()
{
    QTest::addColumn<QTime>("start");
    QTest::addColumn<QString>("next");
    QTest::newRow("before the time") << QTime(9, 0) << "3/5/2026";
    QTest::newRow("after the time") << QTime(23, 0) << "3/12/2026";
}

void tst_Restore::nextCopyDate()
{
    QFETCH(QTime, start);
    QFETCH(QString, next);

    WindowFixture f;
    saveSchedule(f, QStringLiteral("7"), QStringLiteral("10:00:00 PM"));
    f.database.add(Table::Path2, {"/to"});
    f.database.add(Table::Date, {"2026-03-20"}); // never read back
    f.clock.set(QDateTime(QDate(2026, 3, 5), start));
    f.open();

    QCOMPARE(f.find<QLabel>(QStringLiteral("lblNextDate"))->text(), next);
    QCOMPARE(f.database.records(Table::Date),
             QStringList{QDate::fromString(next, "M/d/yyyy").toString(Qt::ISODate)});
}

void tst_Restore::noLockedPairLeavesTheListsOpen()
{
    WindowFixture f;
    saveSchedule(f, QStringLiteral("7"), QStringLiteral("10:00:00 PM"));
    f.open();
    f.window().show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.window()));

    QCOMPARE(f.messages.shown, QStringList{kNoLockedPair});
    QVERIFY(f.find<QCheckBox>(QStringLiteral("ckUseTimer"))->isVisible());
    QVERIFY(f.find<QCheckBox>(QStringLiteral("ckUseTimer"))->isChecked());
    QVERIFY(f.find<QComboBox>(QStringLiteral("cmbDays"))->isVisible());
    QVERIFY(!scheduleFrozen(f));
    auto *days = f.find<QComboBox>(QStringLiteral("cmbDays"));
    QTest::keyClick(days, Qt::Key_Down);
    QCOMPARE(days->currentText(), QStringLiteral("8"));
}

// A database changed by other means: nothing is picked, the activation asks for the time, and the
// window still comes up.
void tst_Restore::storedTimeNotInTheList()
{
    WindowFixture f;
    saveSchedule(f, QStringLiteral("7"), QStringLiteral("22:00"));
    f.database.add(Table::Path2, {"/to"});
    f.open();
    f.window().show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.window()));

    QCOMPARE(f.find<QComboBox>(QStringLiteral("Combo1"))->currentIndex(), -1);
    QCOMPARE(f.find<QComboBox>(QStringLiteral("cmbDays"))->currentText(), QStringLiteral("7"));
    QCOMPARE(f.messages.shown, QStringList{kNoDaysOrTime});
    QVERIFY(!scheduleFrozen(f));
}

QTEST_MAIN(tst_Restore)
#include "tst_restore.moc"
