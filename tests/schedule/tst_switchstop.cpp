#include "schedulesteps.h"
#include "windowfixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

class tst_SwitchStop : public QObject
{
    Q_OBJECT

  private slots:
    void automaticBoxSwitchesTheScheduleGroup();
    void checkUncheckCheck();
    void stopWithOk_data();
    void stopWithOk();
    void stopWithCancelKeepsTheScheduleActive();
};

namespace {

const QString kStopPrompt = QStringLiteral(
    "You have selected to Stop Using Auto-Xcopy.  To Stop Using Auto-Xcopy, Click OK, otherwise "
    "click Cancel.  If you Click OK, all saved path information and timer settings will be "
    "cleared!");

const QStringList kScheduleGroup{"Label12",     "Label16",       "Label24",        "cmbDays",
                                 "Combo1",      "cmdActivateAS", "CkStopAutoSync", "Label25",
                                 "lblNextDate", "lblNextSync"};

QStringList shownOf(const WindowFixture &f, const QStringList &names)
{
    QStringList shown;
    for (const QString &name : names) {
        if (!f.find<QWidget>(name)->isHidden())
            shown.append(name);
    }
    return shown;
}

QCheckBox *automaticBox(const WindowFixture &f)
{
    return f.find<QCheckBox>(QStringLiteral("ckUseTimer"));
}

QCheckBox *stopBox(const WindowFixture &f)
{
    return f.find<QCheckBox>(QStringLiteral("CkStopAutoSync"));
}

} // namespace

void tst_SwitchStop::automaticBoxSwitchesTheScheduleGroup()
{
    WindowFixture f;
    f.open();
    const QStringList buttons{"Command1", "cmdCreateDir"};

    automaticBox(f)->setChecked(true);
    QCOMPARE(shownOf(f, kScheduleGroup), kScheduleGroup);
    QCOMPARE(shownOf(f, buttons), QStringList());
    QCOMPARE(f.database.records(Table::AutoSync), QStringList{"1"});
    QCOMPARE(shownOf(f, {"ckUseTimer", "lblUseTimer", "lblSyncSet"}),
             (QStringList{"ckUseTimer", "lblUseTimer"}));

    automaticBox(f)->setChecked(false);
    QCOMPARE(shownOf(f, kScheduleGroup), QStringList());
    QCOMPARE(shownOf(f, buttons), buttons);
    QCOMPARE(f.database.records(Table::AutoSync), QStringList{"0"});
}

void tst_SwitchStop::checkUncheckCheck()
{
    WindowFixture f;
    f.open();
    const QStringList datesBefore = f.database.records(Table::Date);
    f.clock.set(QDateTime(QDate(2026, 3, 6), QTime(8, 0)));

    automaticBox(f)->setChecked(true);
    automaticBox(f)->setChecked(false);
    automaticBox(f)->setChecked(true);

    QCOMPARE(f.database.records(Table::AutoSync), QStringList{"1"});
    QCOMPARE(shownOf(f, kScheduleGroup), kScheduleGroup);
    QCOMPARE(f.database.records(Table::Date),
             datesBefore + QStringList({"2026-03-06", "2026-03-06"}));
}

void tst_SwitchStop::stopWithOk_data()
{
    QTest::addColumn<bool>("activated");
    QTest::newRow("active schedule") << true;
    QTest::newRow("set-up, never activated") << false;
}

void tst_SwitchStop::stopWithOk()
{
    QFETCH(bool, activated);
    WindowFixture f;
    f.open();
    if (activated)
        steps::activate(f, QStringLiteral("7"), QStringLiteral("10:00:00 PM"));
    else
        steps::setUp(f, QStringLiteral("7"), QStringLiteral("10:00:00 PM"));
    f.messages.shown.clear();
    f.messages.answers.enqueue(true);

    stopBox(f)->setChecked(true);

    QCOMPARE(f.messages.shown, QStringList{kStopPrompt});
    QVERIFY(!stopBox(f)->isChecked());
    QVERIFY(!automaticBox(f)->isChecked());
    QCOMPARE(shownOf(f, kScheduleGroup), QStringList());
    QCOMPARE(shownOf(f, {"Command1", "cmdCreateDir", "ckUseTimer", "lblUseTimer", "lblSyncSet"}),
             (QStringList{"Command1", "ckUseTimer", "lblUseTimer"}));
    QVERIFY(!steps::listsLocked(f));
    const QColor windowText = QApplication::palette().color(QPalette::WindowText);
    for (const char *name : {"cmbDays", "Combo1"})
        QCOMPARE(f.find<QComboBox>(QLatin1String(name))->palette().color(QPalette::Text),
                 windowText);
    for (const TableDefinition &def : kTables) {
        QCOMPARE(f.database.records(def.table),
                 def.table == Table::AutoSync ? QStringList{"0"} : QStringList());
    }
    // The pairs stay on the window.
    QCOMPARE(f.find<QLineEdit>(QStringLiteral("Text1"))->text(), steps::kFrom);
    QVERIFY(f.find<QCheckBox>(QStringLiteral("Check1"))->isChecked());
}

void tst_SwitchStop::stopWithCancelKeepsTheScheduleActive()
{
    WindowFixture f;
    f.open();
    steps::activate(f, QStringLiteral("7"), QStringLiteral("10:00:00 PM"));
    const QString nextDate = steps::shownNextDate(f);
    QList<QStringList> records;
    for (const TableDefinition &def : kTables)
        records.append(f.database.records(def.table));
    f.messages.shown.clear();

    stopBox(f)->setChecked(true); // no answer queued: the box was closed

    QCOMPARE(f.messages.shown, QStringList{kStopPrompt});
    QVERIFY(!stopBox(f)->isChecked());
    QVERIFY(automaticBox(f)->isChecked());
    QStringList activeGroup = kScheduleGroup;
    activeGroup.removeOne(QStringLiteral("cmdActivateAS"));
    QCOMPARE(shownOf(f, kScheduleGroup), activeGroup);
    QCOMPARE(shownOf(f, {"ckUseTimer", "lblSyncSet", "Command1"}), QStringList{"lblSyncSet"});
    QVERIFY(steps::listsLocked(f));
    QCOMPARE(steps::shownNextDate(f), nextDate);
    for (const TableDefinition &def : kTables)
        QCOMPARE(f.database.records(def.table), records.takeFirst());
}

QTEST_MAIN(tst_SwitchStop)
#include "tst_switchstop.moc"
