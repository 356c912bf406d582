#include "schedulesteps.h"
#include "windowfixture.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

class tst_Activation : public QObject
{
    Q_OBJECT

  private slots:
    void refusals_data();
    void refusals();
    void nextCopyDate_data();
    void nextCopyDate();
    void activationFreezesTheSchedule();
    void frozenListsIgnoreTheUser();
    void windowOpenSinceAnEarlierDay();
};

namespace {

const QString kNoLockedPair =
    QStringLiteral("You cannot Xcopy unless at least 1 set of paths have been entered and locked "
                   "in by checking the box next to the paths.");
const QString kNoPath =
    QStringLiteral("You cannot XCopy unless at least 1 set of paths have been entered and locked "
                   "in by checking the box next to the paths.");
const QString kNoDaysOrTime =
    QStringLiteral("Please make sure the Days Time fields are entered before proceeding.");
const QString kRecorded =
    QStringLiteral("Your Auto-XCopy settings have been recorded.  Your folders will XCopy at the "
                   "date and time you have set.");

const QDateTime kNineAm(QDate(2026, 3, 5), QTime(9, 0));

} // namespace

void tst_Activation::refusals_data()
{
    QTest::addColumn<QString>("pathBox"); // filled with a folder, or none
    QTest::addColumn<QString>("lockBox"); // checked, or none
    QTest::addColumn<QString>("days");
    QTest::addColumn<QString>("time");
    QTest::addColumn<bool>("automatic");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");

    const QString week = QStringLiteral("7");
    const QString ten = QStringLiteral("10:00:00 PM");
    QTest::newRow("no lock box") << "Text5"
                                 << "" << week << ten << true << kNoLockedPair << "Text1";
    QTest::newRow("lock box on empty pairs")
        << ""
        << "Check2" << week << ten << true << kNoPath << "Text1";
    QTest::newRow("no interval") << "Text1"
                                 << "Check1"
                                 << "" << ten << true << kNoDaysOrTime << "cmbDays";
    QTest::newRow("no time") << "Text1"
                             << "Check1" << week << "" << true << kNoDaysOrTime << "cmbDays";
    // The list is hidden with the automatic box unchecked and cannot take the focus.
    QTest::newRow("automatic box unchecked")
        << "Text1"
        << "Check1" << week << ten << false << kNoDaysOrTime << "Command1";
}

void tst_Activation::refusals()
{
    QFETCH(QString, pathBox);
    QFETCH(QString, lockBox);
    QFETCH(QString, days);
    QFETCH(QString, time);
    QFETCH(bool, automatic);
    QFETCH(QString, message);
    QFETCH(QString, focus);

    WindowFixture f;
    f.open().show();
    QVERIFY(QTest::qWaitForWindowActive(&f.window()));
    if (!pathBox.isEmpty())
        f.find<QLineEdit>(pathBox)->setText(steps::kFrom);
    if (!lockBox.isEmpty())
        f.find<QCheckBox>(lockBox)->setChecked(true);
    f.find<QCheckBox>(QStringLiteral("ckUseTimer"))->setChecked(true);
    f.find<QComboBox>(QStringLiteral("cmbDays"))->setCurrentText(days);
    f.find<QComboBox>(QStringLiteral("Combo1"))->setCurrentText(time);
    f.find<QCheckBox>(QStringLiteral("ckUseTimer"))->setChecked(automatic);
    f.find<QPushButton>(QStringLiteral("Command1"))->setFocus(); // somewhere else
    QList<QStringList> records;
    for (const TableDefinition &def : kTables)
        records.append(f.database.records(def.table));

    f.window().cmdActivateAS_Click();

    QCOMPARE(f.messages.shown, QStringList{message});
    QCOMPARE(QApplication::focusWidget(), f.find<QWidget>(focus));
    for (const TableDefinition &def : kTables)
        QCOMPARE(f.database.records(def.table), records.takeFirst());
    QVERIFY(!steps::listsLocked(f));
    QVERIFY(f.find<QLabel>(QStringLiteral("lblSyncSet"))->isHidden());
    QCOMPARE(f.find<QPushButton>(QStringLiteral("cmdActivateAS"))->isHidden(), !automatic);
}

void tst_Activation::nextCopyDate_data()
{
    QTest::addColumn<QTime>("now");
    QTest::addColumn<QString>("time");
    QTest::addColumn<QString>("next");

    QTest::newRow("time still to come") << QTime(14, 0) << "3:00:00 PM"
                                        << "2026-03-05";
    QTest::newRow("the same second") << QTime(14, 0) << "2:00:00 PM"
                                     << "2026-03-12";
    QTest::newRow("time gone by") << QTime(14, 0) << "1:00:00 AM"
                                  << "2026-03-12";
    QTest::newRow("one past midnight") << QTime(0, 0, 30) << "12:01:00 AM"
                                       << "2026-03-05";
}

void tst_Activation::nextCopyDate()
{
    QFETCH(QTime, now);
    QFETCH(QString, time);
    QFETCH(QString, next);

    WindowFixture f;
    f.open();
    f.clock.set(QDateTime(QDate(2026, 3, 5), now));
    steps::activate(f, QStringLiteral("7"), time);

    QCOMPARE(f.database.records(Table::Date), QStringList{next});
    QCOMPARE(steps::shownNextDate(f), QDate::fromString(next, Qt::ISODate).toString("M/d/yyyy"));
}

void tst_Activation::activationFreezesTheSchedule()
{
    WindowFixture f;
    f.open();
    f.clock.set(kNineAm);
    const QStringList daysBefore = f.database.records(Table::Days);
    const QStringList timesBefore = f.database.records(Table::Time);

    steps::activate(f, QStringLiteral("3"), QStringLiteral("1:00:00 AM"));

    QCOMPARE(f.messages.shown, QStringList{kRecorded});
    QCOMPARE(f.database.records(Table::Days), daysBefore + QStringList{"3"});
    QCOMPARE(f.database.records(Table::Time), timesBefore + QStringList{"1:00:00 AM"});
    QCOMPARE(steps::shownNextDate(f), QStringLiteral("3/8/2026"));
    // Pair 1 passed through its lock handler once more.
    QCOMPARE(f.database.records(Table::Path1), QStringList({steps::kFrom, steps::kFrom}));
    QCOMPARE(f.database.records(Table::Path2), QStringList({steps::kTo, steps::kTo}));
    for (const char *name : {"ckUseTimer", "lblUseTimer", "cmdActivateAS", "cmdCreateDir"})
        QVERIFY2(f.find<QWidget>(QLatin1String(name))->isHidden(), name);
    for (const char *name : {"lblSyncSet", "CkStopAutoSync", "Label25", "lblNextDate"})
        QVERIFY2(!f.find<QWidget>(QLatin1String(name))->isHidden(), name);
    for (const char *name : {"cmbDays", "Combo1"}) {
        const auto *list = f.find<QComboBox>(QLatin1String(name));
        QCOMPARE(list->palette().color(QPalette::Text), QColor(0x008000));
        QVERIFY(list->isEnabled()); // readable, not greyed out
    }
    QCOMPARE(f.find<QComboBox>(QStringLiteral("cmbDays"))->currentText(), QStringLiteral("3"));
    QCOMPARE(f.find<QComboBox>(QStringLiteral("Combo1"))->currentText(),
             QStringLiteral("1:00:00 AM"));
}

void tst_Activation::frozenListsIgnoreTheUser()
{
    WindowFixture f;
    f.open().show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.window()));
    steps::activate(f, QStringLiteral("7"), QStringLiteral("10:00:00 PM"));
    auto *list = f.find<QComboBox>(QStringLiteral("Combo1"));

    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Home);
    QTest::keyClick(list, Qt::Key_1);
    QTest::mouseClick(list, Qt::LeftButton);
    QWheelEvent wheel(QPointF(5, 5), list->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(list, &wheel);

    QCOMPARE(list->currentText(), QStringLiteral("10:00:00 PM"));
    QVERIFY(!list->view()->isVisible());
    QTest::keyClick(list, Qt::Key_Tab);
    QVERIFY(!list->hasFocus()); // the focus can still leave the list
}

// The older date that switching the automatic box on leaves first in the table must not become
// the next copy date: the run falls on today.
void tst_Activation::windowOpenSinceAnEarlierDay()
{
    WindowFixture f;
    f.clock.set(QDateTime(QDate(2026, 3, 2), QTime(8, 0)));
    f.open();
    f.find<QCheckBox>(QStringLiteral("ckUseTimer"))->setChecked(true);
    f.find<QCheckBox>(QStringLiteral("ckUseTimer"))->setChecked(false);
    f.clock.set(kNineAm);

    steps::activate(f, QStringLiteral("7"), QStringLiteral("10:00:00 PM"));

    QCOMPARE(f.database.records(Table::Date), QStringList{"2026-03-05"});
    QCOMPARE(steps::shownNextDate(f), QStringLiteral("3/5/2026"));
}

QTEST_MAIN(tst_Activation)
#include "tst_activation.moc"
