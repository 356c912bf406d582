#include "schedulesteps.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

class tst_SwitchStop : public QObject
{
    Q_OBJECT

  private slots:
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

const QStringList kGroup{"Label12",     "Label16",       "Label24",        "cmbDays",
                         "Combo1",      "cmdActivateAS", "CkStopAutoSync", "Label25",
                         "lblNextDate", "lblNextSync"};
const QStringList kOthers{"Command1", "cmdCreateDir", "ckUseTimer", "lblUseTimer", "lblSyncSet"};

QStringList shown(const WindowFixture &f, const QStringList &names)
{
    QStringList result;
    for (const QString &name : names) {
        if (!f.find<QWidget>(name)->isHidden())
            result.append(name);
    }
    return result;
}

QCheckBox *box(const WindowFixture &f, const char *name)
{
    return f.find<QCheckBox>(QLatin1String(name));
}

} // namespace

void tst_SwitchStop::checkUncheckCheck()
{
    WindowFixture f;
    f.open();
    const QStringList datesBefore = f.database.records(Table::Date);
    f.clock.set(QDateTime(QDate(2026, 3, 6), QTime(8, 0)));

    box(f, "ckUseTimer")->setChecked(true);
    QCOMPARE(shown(f, kGroup + kOthers), kGroup + QStringList({"ckUseTimer", "lblUseTimer"}));
    box(f, "ckUseTimer")->setChecked(false);
    QCOMPARE(shown(f, kGroup + kOthers), kOthers.mid(0, 4));
    QCOMPARE(f.database.records(Table::AutoSync), QStringList{"0"});
    box(f, "ckUseTimer")->setChecked(true);

    QCOMPARE(f.database.records(Table::AutoSync), QStringList{"1"});
    QCOMPARE(shown(f, kGroup), kGroup);
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
    (activated ? steps::activate : steps::setUp)(f, QStringLiteral("7"),
                                                 QStringLiteral("10:00:00 PM"));
    f.messages.shown.clear();
    f.messages.answers.enqueue(true);

    box(f, "CkStopAutoSync")->setChecked(true);

    QCOMPARE(f.messages.shown, QStringList{kStopPrompt});
    QVERIFY(!box(f, "CkStopAutoSync")->isChecked());
    QVERIFY(!box(f, "ckUseTimer")->isChecked());
    QCOMPARE(shown(f, kGroup + kOthers), QStringList({"Command1", "ckUseTimer", "lblUseTimer"}));
    QVERIFY(!steps::listsLocked(f));
    for (const char *name : {"cmbDays", "Combo1"})
        QCOMPARE(f.find<QComboBox>(QLatin1String(name))->palette().color(QPalette::Text),
                 QApplication::palette().color(QPalette::WindowText));
    for (const TableDefinition &def : kTables)
        QCOMPARE(f.database.records(def.table),
                 def.table == Table::AutoSync ? QStringList{"0"} : QStringList());
    QCOMPARE(f.find<QLineEdit>(QStringLiteral("Text1"))->text(), steps::kFrom); // pairs stay
}

void tst_SwitchStop::stopWithCancelKeepsTheScheduleActive()
{
    WindowFixture f;
    f.open();
    steps::activate(f, QStringLiteral("7"), QStringLiteral("10:00:00 PM"));
    const QString nextDate = steps::shownNextDate(f);
    const QStringList dates = f.database.records(Table::Date);
    f.messages.shown.clear();

    box(f, "CkStopAutoSync")->setChecked(true); // no answer queued: the box was closed

    QCOMPARE(f.messages.shown, QStringList{kStopPrompt});
    QVERIFY(!box(f, "CkStopAutoSync")->isChecked());
    QStringList active = kGroup;
    active.removeOne(QStringLiteral("cmdActivateAS"));
    QCOMPARE(shown(f, kGroup + kOthers), active + QStringList{"lblSyncSet"});
    QVERIFY(steps::listsLocked(f));
    QCOMPARE(steps::shownNextDate(f), nextDate);
    QCOMPARE(f.database.records(Table::Date), dates);
    QCOMPARE(f.database.records(Table::AutoSync), QStringList{"1"});
}

QTEST_MAIN(tst_SwitchStop)
#include "tst_switchstop.moc"
