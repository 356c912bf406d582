// What only the main window shows: the lists, the schedule group that the automatic box and the
// stop switch, the frozen schedule, the focus after a refusal and the clock that fires a run.
#include "schedulesteps.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace steps;

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

class tst_MainWindow : public QObject
{
    Q_OBJECT

  private slots:
    // The window's texts do not follow the user's language or region.
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    void automaticBoxSwitchesTheScheduleGroup()
    {
        WindowFixture f;
        f.open();
        QCOMPARE(shown(f), kOthers.mid(0, 4));
        box(f, "ckUseTimer")->setChecked(true);
        QCOMPARE(shown(f), kGroup + QStringList({"ckUseTimer", "lblUseTimer"}));
        box(f, "ckUseTimer")->setChecked(false);
        QCOMPARE(shown(f), kOthers.mid(0, 4));
        QCOMPARE(f.database.records(Table::AutoSync), QStringList{"0"});
    }

    void activationFreezesTheSchedule()
    {
        WindowFixture f;
        f.open().show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.window()));

        activate(f, QStringLiteral("3"), QStringLiteral("1:00:00 AM"));

        QCOMPARE(f.messages.shown,
                 QStringList{"Your Auto-XCopy settings have been recorded.  Your folders will "
                             "XCopy at the date and time you have set."});
        QCOMPARE(shownNextDate(f), QStringLiteral("3/8/2026"));
        QCOMPARE(f.database.records(Table::Path1), QStringList(2, kFrom)); // locked once more
        QCOMPARE(shown(f), kGroup.mid(0, 5) + kGroup.mid(6) + QStringList{"lblSyncSet"});
        QCOMPARE(f.find<QLabel>(QStringLiteral("lblSyncSet"))->text(),
                 QStringLiteral("Auto-XCopy is Actve"));

        // Locked, yet readable in green rather than greyed out; a click opens nothing.
        auto *list = f.find<QComboBox>(QStringLiteral("Combo1"));
        QCOMPARE(list->palette().color(QPalette::Text), QColor(0x008000));
        QVERIFY(listsLocked(f));
        QTest::mouseClick(list, Qt::LeftButton);
        QVERIFY(!list->view()->isVisible());
    }

    void refusalMovesTheFocus_data()
    {
        QTest::addColumn<QString>("days");
        QTest::addColumn<bool>("locked");
        QTest::addColumn<QString>("focus");
        QTest::newRow("no lock box") << "7" << false << "Text1";
        QTest::newRow("no interval") << "" << true << "cmbDays";
    }

    void refusalMovesTheFocus()
    {
        QFETCH(QString, days);
        QFETCH(bool, locked);
        QFETCH(QString, focus);
        WindowFixture f;
        f.open().show();
        QVERIFY(QTest::qWaitForWindowActive(&f.window()));
        activate(f, days, QStringLiteral("1:00:00 AM"), false);
        box(f, "Check1")->setChecked(locked);
        f.find<QLineEdit>(QStringLiteral("Text4"))->setFocus();

        f.window().cmdActivateAS_Click();

        QCOMPARE(f.messages.shown.size(), 1);
        QCOMPARE(QApplication::focusWidget(), f.find<QWidget>(focus));
        QVERIFY(!listsLocked(f));
        QVERIFY(f.find<QWidget>(QStringLiteral("lblSyncSet"))->isHidden());
    }

    // A failed save is the only message: no confirmation, and the lists stay open for another
    // try.
    void failedSaveLeavesTheScheduleOpen()
    {
        WindowFixture f;
        f.open();
        f.database.execute(QStringLiteral("CREATE TRIGGER full BEFORE INSERT ON tblDays "
                                          "BEGIN SELECT RAISE(ABORT, 'disk is full'); END"));
        activate(f, QStringLiteral("7"), QStringLiteral("10:00:00 PM"));

        QCOMPARE(f.messages.shown.size(), 1);
        QVERIFY2(f.messages.shown[0].contains(QLatin1String("disk is full")),
                 qPrintable(f.messages.shown[0]));
        QVERIFY(!listsLocked(f));
        QVERIFY(f.find<QWidget>(QStringLiteral("lblSyncSet"))->isHidden());
        QCOMPARE(f.database.records(Table::Date), QStringList(2, "2026-03-05")); // nothing kept
        QCOMPARE(f.database.records(Table::Time), QStringList{"12:01:00 AM"});
        tickThrough(f, QDateTime(f.clock.now().date(), QTime(21, 59, 59)),
                    QDateTime(f.clock.now().date(), QTime(22, 0, 1)));
        QCOMPARE(runs(f), 0);
    }

    void stop_data()
    {
        QTest::addColumn<bool>("ok");
        QTest::newRow("OK") << true;
        QTest::newRow("Cancel keeps the schedule active") << false;
    }

    // A stopped schedule's date and time stay on the window and start nothing.
    void stop()
    {
        QFETCH(bool, ok);
        WindowFixture f;
        f.open();
        activate(f, QStringLiteral("7"), QStringLiteral("10:00:00 PM"));
        f.messages.shown.clear();
        f.messages.answers.enqueue(ok);

        box(f, "CkStopAutoSync")->setChecked(true);

        QCOMPARE(f.messages.shown,
                 QStringList{"You have selected to Stop Using Auto-Xcopy.  To Stop Using "
                             "Auto-Xcopy, Click OK, otherwise click Cancel.  If you Click OK, all "
                             "saved path information and timer settings will be cleared!"});
        QVERIFY(!box(f, "CkStopAutoSync")->isChecked());
        QCOMPARE(f.find<QLineEdit>(QStringLiteral("Text1"))->text(), kFrom); // pairs stay
        QCOMPARE(listsLocked(f), !ok);
        QCOMPARE(shownNextDate(f), QStringLiteral("3/5/2026"));
        if (ok) {
            QCOMPARE(shown(f), QStringList({"Command1", "ckUseTimer", "lblUseTimer"}));
            QCOMPARE(f.find<QComboBox>(QStringLiteral("Combo1"))->palette().color(QPalette::Text),
                     QApplication::palette().color(QPalette::WindowText));
            for (const TableDefinition &def : kTables) // every setting erased
                QCOMPARE(f.database.records(def.table),
                         def.table == Table::AutoSync ? QStringList{"0"} : QStringList());
        } else {
            QCOMPARE(shown(f), kGroup.mid(0, 5) + kGroup.mid(6) + QStringList{"lblSyncSet"});
        }

        const QDate today(2026, 3, 5);
        tickThrough(f, QDateTime(today, QTime(21, 59, 58)), QDateTime(today, QTime(22, 0, 2)));
        QCOMPARE(runs(f), ok ? 0 : 1);
    }

    void clockShowsTheSecondsAndFiresTheRun()
    {
        WindowFixture f;
        f.open();
        QCOMPARE(f.find<QLabel>(QStringLiteral("lblTimer"))->text(), QString());
        activate(f, QStringLiteral("7"), QStringLiteral("12:01:00 AM"));
        const QDate due(2026, 3, 12);

        tickThrough(f, QDateTime(due.addDays(-1), QTime(23, 59, 59)),
                    QDateTime(due, QTime(0, 1, 0)));
        f.clock.advance(400); // the same second shown again changes nothing
        f.window().Timer1_Timer();

        QCOMPARE(runs(f), 1);
        QCOMPARE(f.find<QLabel>(QStringLiteral("lblTimer"))->text(), QStringLiteral("12:01:00 AM"));
        QCOMPARE(f.find<QLabel>(QStringLiteral("lblDate"))->text(), QStringLiteral("3/12/2026"));
        QCOMPARE(shownNextDate(f), QStringLiteral("3/19/2026"));
        // The next tick comes just after the next full second.
        const auto *timer = f.find<QTimer>(QStringLiteral("Timer1"));
        QVERIFY(timer->isActive());
        QVERIFY2(timer->interval() > 600 && timer->interval() < 620,
                 qPrintable(QString::number(timer->interval())));
    }

    // Every second shows whole, noon and midnight included.
    void clockTextsFitTheirBoxes()
    {
        WindowFixture f;
        f.open();
        for (const QTime &time : {QTime(11, 59, 59), QTime(12, 0), QTime(0, 0)}) {
            f.clock.set({QDate(2099, 12, 31), time});
            f.window().Timer1_Timer();
            for (const char *name : {"lblTimer", "lblDate"}) {
                const auto *label = f.find<QLabel>(QLatin1String(name));
                QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <=
                             label->contentsRect().width(),
                         qPrintable(label->text()));
            }
        }
    }

    void exitClosesTheWindowAndStopsTheClock()
    {
        WindowFixture f;
        frmSelect &window = f.open();
        window.show();
        const QPointer<QTimer> clock = f.find<QTimer>(QStringLiteral("Timer1"));
        window.findChild<QAction *>(QStringLiteral("mnuExit"))->trigger();
        QTRY_VERIFY(!f.isOpen());
        QVERIFY(clock.isNull());
    }
};

QTEST_MAIN(tst_MainWindow)
#include "tst_mainwindow.moc"
