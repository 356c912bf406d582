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
    void stop_data();
    void stop();
};

namespace {

const QStringList kGroup{"Label12",     "Label16",       "Label24",        "cmbDays",
                         "Combo1",      "cmdActivateAS", "CkStopAutoSync", "Label25",
                         "lblNextDate", "lblNextSync"};
const QStringList kOthers{"Command1", "cmdCreateDir", "ckUseTimer", "lblUseTimer", "lblSyncSet"};

QStringList shown(const WindowFixture &f)
{
    QStringList result;
    for (const QString &name : kGroup + kOthers) {
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
    QCOMPARE(shown(f), kGroup + QStringList({"ckUseTimer", "lblUseTimer"}));
    box(f, "ckUseTimer")->setChecked(false);
    QCOMPARE(shown(f), kOthers.mid(0, 4));
    QCOMPARE(f.database.records(Table::AutoSync), QStringList{"0"});
    box(f, "ckUseTimer")->setChecked(true);
    QCOMPARE(f.database.records(Table::AutoSync), QStringList{"1"});
    QCOMPARE(shown(f), kGroup + QStringList({"ckUseTimer", "lblUseTimer"}));
    QCOMPARE(f.database.records(Table::Date),
             datesBefore + QStringList({"2026-03-06", "2026-03-06"}));
}

void tst_SwitchStop::stop_data()
{
    QTest::addColumn<bool>("activated");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<bool>("automaticAgain"); // the box checked again after the stop
    QTest::newRow("OK") << true << true << false;
    QTest::newRow("OK, then the automatic box checked again") << true << true << true;
    QTest::newRow("OK on a set-up never activated") << false << true << false;
    QTest::newRow("Cancel keeps the schedule active") << true << false << false;
}

// A stopped schedule leaves no trace and its old date and time start nothing.
void tst_SwitchStop::stop()
{
    QFETCH(bool, activated);
    QFETCH(bool, ok);
    QFETCH(bool, automaticAgain);
    WindowFixture f;
    f.open();
    steps::activate(f, QStringLiteral("7"), QStringLiteral("10:00:00 PM"), activated);
    f.messages.shown.clear();
    f.messages.answers.enqueue(ok);

    box(f, "CkStopAutoSync")->setChecked(true);

    QCOMPARE(f.messages.shown,
             QStringList{"You have selected to Stop Using Auto-Xcopy.  To Stop Using Auto-Xcopy, "
                         "Click OK, otherwise click Cancel.  If you Click OK, all saved path "
                         "information and timer settings will be cleared!"});
    QVERIFY(!box(f, "CkStopAutoSync")->isChecked());
    QCOMPARE(f.find<QLineEdit>(QStringLiteral("Text1"))->text(), steps::kFrom); // pairs stay
    QCOMPARE(box(f, "ckUseTimer")->isChecked(), !ok);
    QCOMPARE(steps::listsLocked(f), !ok);
    if (ok) {
        QCOMPARE(shown(f), QStringList({"Command1", "ckUseTimer", "lblUseTimer"}));
        for (const char *name : {"cmbDays", "Combo1"})
            QCOMPARE(f.find<QComboBox>(QLatin1String(name))->palette().color(QPalette::Text),
                     QApplication::palette().color(QPalette::WindowText));
        for (const TableDefinition &def : kTables)
            QCOMPARE(f.database.records(def.table),
                     def.table == Table::AutoSync ? QStringList{"0"} : QStringList());
    } else {
        QCOMPARE(shown(f), QStringList({"Label12", "Label16", "Label24", "cmbDays", "Combo1",
                                        "CkStopAutoSync", "Label25", "lblNextDate", "lblNextSync",
                                        "lblSyncSet"}));
        QCOMPARE(f.database.records(Table::AutoSync), QStringList{"1"});
        QCOMPARE(f.database.records(Table::Date), QStringList{"2026-03-05"});
    }
    if (automaticAgain)
        box(f, "ckUseTimer")->setChecked(true);
    if (activated) // the old date stays on the window
        QCOMPARE(steps::shownNextDate(f), QStringLiteral("3/5/2026"));

    const QDate today(2026, 3, 5);
    steps::tickThrough(f, QDateTime(today, QTime(21, 59, 58)), QDateTime(today, QTime(22, 0, 2)));
    QCOMPARE(steps::runs(f), ok ? 0 : 1);
}

QTEST_MAIN(tst_SwitchStop)
#include "tst_switchstop.moc"
