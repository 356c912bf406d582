// What only the main window shows: the lists, the schedule group that the automatic box and the
// stop switch, the frozen schedule, the focus after a refusal, the clock that fires a run, and
// what a restart puts back.
#include "windowfixture.h"

#include "common/textforms.h"
#include "controls/captionlabel.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

const QString kFrom = QStringLiteral("/data/from");
const QStringList kGroup{"Label12",     "Label16",       "Label24",        "cmbDays",
                         "Combo1",      "cmdActivateAS", "CkStopAutoSync", "Label25",
                         "lblNextDate", "lblNextSync"};
const QStringList kOthers{"Command1", "cmdCreateDir", "ckUseTimer", "lblUseTimer", "lblSyncSet"};
const QStringList kFrozen = kGroup.mid(0, 5) + kGroup.mid(6) + QStringList{"lblSyncSet"};

QStringList shown(const WindowFixture &f)
{
    QStringList result;
    for (const QString &name : kGroup + kOthers) {
        if (!f.find<QWidget>(name)->isHidden())
            result.append(name);
    }
    return result;
}

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

// Fills and locks pair 1, switches the automatic mode on, picks the interval and the time and,
// unless told not to, presses Activate at the fixture clock's time.
void activate(WindowFixture &f, const QString &days, const QString &time, bool press = true)
{
    f.type("Text1", kFrom);
    f.type("Text2", f.at("to"));
    f.click("Check1");
    f.click("ckUseTimer");
    f.pick("cmbDays", days);
    f.pick("Combo1", time);
    if (press)
        f.find<QPushButton>("cmdActivateAS")->click();
}

// Automatic runs from `from` to `to`, both included: with one locked pair each run starts one copy.
qsizetype runsThrough(WindowFixture &f, const QDateTime &from, const QDateTime &to)
{
    for (QDateTime second = from; second <= to; second = second.addSecs(1)) {
        f.clock.set(second);
        f.window().Timer1_Timer();
    }
    return f.programs.copies.size();
}

// A locked list keeps its entry whatever key the user presses.
bool listsLocked(const WindowFixture &f)
{
    bool locked = true;
    for (const char *name : {"cmbDays", "Combo1"}) {
        auto *list = f.find<QComboBox>(QLatin1String(name));
        const int before = list->currentIndex();
        QTest::keyClick(list, before > 0 ? Qt::Key_Up : Qt::Key_Down);
        locked = locked && list->currentIndex() == before;
        list->setCurrentIndex(before);
    }
    return locked;
}

} // namespace

class tst_MainWindow : public QObject
{
    Q_OBJECT

  private slots:
    // The window's texts do not follow the user's language or region.
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    // The automatic box shows the schedule group in place of the copy and add-folder buttons;
    // activation freezes it.
    void automaticBoxAndActivationFreezeTheSchedule()
    {
        WindowFixture f;
        f.open().show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.window()));
        QCOMPARE(shown(f), kOthers.mid(0, 4));
        f.click("ckUseTimer");
        QCOMPARE(shown(f), kGroup + QStringList({"ckUseTimer", "lblUseTimer"}));
        f.click("ckUseTimer");
        QCOMPARE(shown(f), kOthers.mid(0, 4));
        QCOMPARE(f.database.records(Table::AutoSync), QStringList{"0"});

        activate(f, QStringLiteral("3"), QStringLiteral("1:00:00 AM"));

        QCOMPARE(f.messages.shown,
                 QStringList{"Your Auto-XCopy settings have been recorded.  Your folders will "
                             "XCopy at the date and time you have set."});
        QCOMPARE(f.find<QLabel>("lblNextDate")->text(), QStringLiteral("3/8/2026"));
        QCOMPARE(f.database.records(Table::Path1), QStringList(2, kFrom)); // locked once more
        QCOMPARE(shown(f), kFrozen);
        QCOMPARE(f.find<QLabel>("lblSyncSet")->text(), QStringLiteral("Auto-XCopy is Actve"));

        // Locked, yet readable in green rather than greyed out; a click opens nothing.
        auto *list = f.find<QComboBox>("Combo1");
        QCOMPARE(list->palette().color(QPalette::Text), QColor(0x008000));
        QVERIFY(listsLocked(f));
        QTest::mouseClick(list, Qt::LeftButton);
        QVERIFY(!list->view()->isVisible());
    }

    // A refused activation puts the focus where the user has something to fix.
    void refusalMovesTheFocus()
    {
        for (const auto &[days, locked, focus] :
             {std::tuple("7", false, "Text1"), std::tuple("", true, "cmbDays")}) {
            WindowFixture f;
            f.open().show();
            QVERIFY(QTest::qWaitForWindowActive(&f.window()));
            activate(f, days, QStringLiteral("1:00:00 AM"), false);
            if (!locked)
                f.click("Check1");
            f.find<QLineEdit>("Text4")->setFocus();
            f.window().cmdActivateAS_Click();
            QCOMPARE(f.messages.shown.size(), 1);
            QCOMPARE(QApplication::focusWidget(), f.find<QWidget>(focus));
            QVERIFY(!listsLocked(f));
            QVERIFY(f.find<QWidget>("lblSyncSet")->isHidden());
        }
    }

    // A failed save is the only message: no confirmation, and the lists stay open for another
    // try. The message comes once the failed save is undone: what is saved while it is open is
    // saved for good.
    void failedSaveLeavesTheScheduleOpen()
    {
        WindowFixture f;
        f.open();
        f.database.failEvery("INSERT", Table::Days);
        f.messages.whileShown = [&f] {
            QVERIFY(f.database.store().AppendRecord(Table::Path14, "/saved meanwhile").ok());
        };
        activate(f, QStringLiteral("7"), QStringLiteral("10:00:00 PM"));
        QCOMPARE(f.database.records(Table::Path14), QStringList{"/saved meanwhile"});

        QCOMPARE(f.messages.shown.size(), 1);
        QVERIFY2(f.messages.shown[0].contains(QLatin1String("disk is full")),
                 qPrintable(f.messages.shown[0]));
        QVERIFY(!listsLocked(f));
        QVERIFY(f.find<QWidget>("lblSyncSet")->isHidden());
        QCOMPARE(f.database.records(Table::Date), QStringList(2, "2026-03-05")); // nothing kept
        QCOMPARE(f.database.records(Table::Time), QStringList{"12:01:00 AM"});
        const QDate today = f.clock.now().date();
        QCOMPARE(runsThrough(f, {today, QTime(21, 59, 59)}, {today, QTime(22, 0, 1)}), 0);
    }

    // Stopped with OK, every setting is erased, the window goes back to the manual mode, and the
    // date and time that stay on the window start nothing; Cancel keeps the schedule active.
    void stop_data()
    {
        QTest::addColumn<bool>("ok");
        QTest::newRow("OK") << true;
        QTest::newRow("Cancel") << false;
    }

    void stop()
    {
        QFETCH(bool, ok);
        WindowFixture f;
        f.open();
        activate(f, QStringLiteral("7"), QStringLiteral("10:00:00 PM"));
        f.messages.shown.clear();
        f.messages.answers.enqueue(ok);

        f.click("CkStopAutoSync");

        QCOMPARE(f.messages.shown,
                 QStringList{"You have selected to Stop Using Auto-Xcopy.  To Stop Using "
                             "Auto-Xcopy, Click OK, otherwise click Cancel.  If you Click OK, all "
                             "saved path information and timer settings will be cleared!"});
        QVERIFY(!f.find<QCheckBox>("CkStopAutoSync")->isChecked());
        QCOMPARE(f.find<QCheckBox>("ckUseTimer")->isChecked(), !ok);
        QCOMPARE(f.find<QLineEdit>("Text1")->text(), kFrom); // pairs stay
        QCOMPARE(listsLocked(f), !ok);
        QCOMPARE(f.find<QLabel>("lblNextDate")->text(), QStringLiteral("3/5/2026"));
        QCOMPARE(shown(f), ok ? QStringList({"Command1", "ckUseTimer", "lblUseTimer"}) : kFrozen);
        if (ok) {
            QCOMPARE(f.find<QComboBox>("Combo1")->palette().color(QPalette::Text),
                     QApplication::palette().color(QPalette::WindowText));
            for (const TableDefinition &def : kTables) // every setting erased
                QCOMPARE(f.database.records(def.table),
                         def.table == Table::AutoSync ? QStringList{"0"} : QStringList());
        }
        const QDate today(2026, 3, 5);
        QCOMPARE(runsThrough(f, {today, QTime(21, 59, 58)}, {today, QTime(22, 0, 2)}), ok ? 0 : 1);
    }

    void clockShowsTheSecondsFiresTheRunAndEndsWithTheWindow()
    {
        WindowFixture f;
        f.open();
        QCOMPARE(f.find<QLabel>("lblTimer")->text(), QString());
        activate(f, QStringLiteral("7"), QStringLiteral("12:01:00 AM"));
        const QDate due(2026, 3, 12);

        QCOMPARE(runsThrough(f, {due.addDays(-1), QTime(23, 59, 59)}, {due, QTime(0, 1, 0)}), 1);
        f.clock.advance(400); // the same second shown again changes nothing
        f.window().Timer1_Timer();

        QCOMPARE(f.programs.copies.size(), 1);
        QCOMPARE(f.find<QLabel>("lblTimer")->text(), QStringLiteral("12:01:00 AM"));
        QCOMPARE(f.find<QLabel>("lblDate")->text(), QStringLiteral("3/12/2026"));
        QCOMPARE(f.find<QLabel>("lblNextDate")->text(), QStringLiteral("3/19/2026"));
        // The next tick comes just after the next full second.
        const QPointer<QTimer> timer = f.find<QTimer>("Timer1");
        QVERIFY(timer->isActive());
        QVERIFY2(timer->interval() > 600 && timer->interval() < 620,
                 qPrintable(QString::number(timer->interval())));

        // Every second shows whole, noon and midnight included.
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

        // File > Exit closes the window, and its clock with it.
        f.window().findChild<QAction *>(QStringLiteral("mnuExit"))->trigger();
        QTRY_VERIFY(!f.isOpen());
        QVERIFY(timer.isNull());
    }

    // A run the clock fires goes through to its end while nobody watches: a pair that cannot start
    // is said in a box that holds up nothing, after the notice and the next date, and the clock is
    // armed for the next second all along. The labels show one reading of the clock per tick, also
    // when it moves on while it is read.
    void aRunTheClockFiresWaitsForNobody()
    {
        WindowFixture f;
        f.open();
        activate(f, QStringLiteral("1"), QStringLiteral("11:00:00 PM"));
        f.type("Text3", "/from two");
        f.type("Text4", f.at("two"));
        f.click("Check2");
        f.programs.failure = [](const ProgramStart &start) {
            return start.caption == "Folder pair 1" ? QStringLiteral("gone") : QString();
        };
        f.messages.shown.clear();

        f.clock.set({QDate(2026, 3, 5), QTime(22, 59, 59, 900)});
        f.clock.stepEachReading(300);
        f.window().Timer1_Timer();
        QCOMPARE(f.find<QLabel>("lblTimer")->text() + " " + f.find<QLabel>("lblDate")->text(),
                 "11:00:00 PM 3/5/2026");
        QCOMPARE(f.programs.copies.size(), 1);
        QCOMPARE(f.messages.notices, QStringList{"Folder pair 1 was not copied: gone"});
        QCOMPARE(f.messages.shown, f.messages.notices);
        QCOMPARE(f.find<QLabel>("lblNextDate")->text(), QStringLiteral("3/6/2026"));
        QVERIFY(f.find<QTimer>("Timer1")->isActive());

        f.clock.set({QDate(2026, 3, 5), QTime(23, 59, 59, 600)});
        f.window().Timer1_Timer();
        const QString shown =
            f.find<QLabel>("lblTimer")->text() + " " + f.find<QLabel>("lblDate")->text();
        QVERIFY2(shown == "11:59:59 PM 3/5/2026" || shown == "12:00:00 AM 3/6/2026",
                 qPrintable(shown));
    }

    // Each pair's routines act on that pair: Main .. Main7 start its copy, whether it is locked
    // or not, and Check1_Click .. Check7_Click lock it as its box stands.
    void eachPairsRoutinesActOnThatPair()
    {
        using Routine = void (frmSelect::*)();
        const Routine copies[] = {&frmSelect::Main,  &frmSelect::Main2, &frmSelect::Main3,
                                  &frmSelect::Main4, &frmSelect::Main5, &frmSelect::Main6,
                                  &frmSelect::Main7};
        const Routine locks[] = {&frmSelect::Check1_Click, &frmSelect::Check2_Click,
                                 &frmSelect::Check3_Click, &frmSelect::Check4_Click,
                                 &frmSelect::Check5_Click, &frmSelect::Check6_Click,
                                 &frmSelect::Check7_Click};
        WindowFixture f;
        f.open();
        for (int pair = 1; pair <= 7; ++pair) {
            f.type(QStringLiteral("Text%1").arg(2 * pair - 1), QStringLiteral("/from%1").arg(pair));
            f.type(QStringLiteral("Text%1").arg(2 * pair), f.at(QStringLiteral("to%1").arg(pair)));
        }
        for (int pair = 1; pair <= 7; ++pair) {
            (f.window().*copies[pair - 1])();
            QCOMPARE(f.programs.copies.value(pair - 1).arguments.mid(0, 2),
                     (QStringList{QStringLiteral("/from%1").arg(pair),
                                  f.at(QStringLiteral("to%1").arg(pair))}));
            f.find<QCheckBox>(QStringLiteral("Check%1").arg(pair))->setChecked(true);
            (f.window().*locks[pair - 1])();
            QCOMPARE(f.database.records(pathTable(2 * pair - 1)),
                     QStringList{QStringLiteral("/from%1").arg(pair)});
            QVERIFY(f.find<QLineEdit>(QStringLiteral("Text%1").arg(2 * pair))->isReadOnly());
        }
    }

    // On the system's clock, with its milliseconds, the time label shows every second once.
    void everySecondIsShownOnce()
    {
        WindowFixture f;
        SystemClock system;
        frmSelect window(
            {f.database.store(), system, f.messages, f.programs, f.drives, f.installFolder.path()});
        QList<QTime> seconds;
        connect(
            window.findChild<CaptionLabel *>("lblTimer"), &CaptionLabel::captionChanged, &window,
            [&] { seconds.append(timeFromText(window.findChild<QLabel *>("lblTimer")->text())); });
        QTest::qWait(3500);
        QVERIFY(seconds.size() >= 3);
        for (qsizetype n = 1; n < seconds.size(); ++n)
            QCOMPARE(seconds[n - 1].secsTo(seconds[n]), 1);
    }

    // A weekly schedule at 10 PM, the newest of the given flags, with path table n's records
    // given as "n:text". With no pair saved the window comes up in the set-up state, its lists
    // open to change; with the mode off it shows nothing saved and changes nothing.
    void restartPutsThePairsBack_data()
    {
        QTest::addColumn<QStringList>("flags");
        QTest::addColumn<QStringList>("saved");
        QTest::addColumn<QStringList>("shown");
        const QStringList on{"1"}; // the next copy date stored: 9 March
        QTest::newRow("pair 2 saved, pair 1 not") << on << QStringList{"3:/from2", "4:/to2"}
                                                  << QStringList{"3:/from2", "4:/to2", "Check2"};
        QTest::newRow("a To folder without its From folder")
            << on << QStringList{"4:/to2"} << QStringList{"4:/to2", "Check2"};
        QTest::newRow("a pair locked again with other folders")
            << on << QStringList{"13:/old-from", "14:/old-to", "13:/new-from", "14:/new-to"}
            << QStringList{"13:/new-from", "14:/new-to", "Check7"};
        QTest::newRow("no pair saved") << on << QStringList() << QStringList();
        QTest::newRow("the mode switched off last")
            << QStringList{"1", "0"} << QStringList{"1:/a", "2:/b"} << QStringList();
    }

    void restartPutsThePairsBack()
    {
        QFETCH(QStringList, flags);
        QFETCH(QStringList, saved);
        QFETCH(QStringList, shown);
        WindowFixture f;
        f.database.add(Table::AutoSync, flags);
        f.database.add(Table::Days, {"7"});
        f.database.add(Table::Time, {"10:00:00 PM"});
        f.database.add(Table::Date, {"2026-03-09"});
        for (const QString &entry : saved)
            f.database.add(pathTable(entry.section(':', 0, 0).toInt()), {entry.section(':', 1)});
        f.open();

        const bool automatic = flags.last() == "1";
        QCOMPARE(pairArea(f), shown);
        QCOMPARE(f.find<QComboBox>("Combo1")->currentText(),
                 automatic ? QStringLiteral("10:00:00 PM") : QString());
        QCOMPARE(f.find<QCheckBox>("ckUseTimer")->isChecked(), automatic);
        QCOMPARE(f.find<QLabel>("lblNextDate")->text(), !automatic        ? QString()
                                                        : shown.isEmpty() ? "3/5/2026"
                                                                          : "3/9/2026");
        // The schedule runs on, with no confirmation at start-up.
        QCOMPARE(listsLocked(f), !shown.isEmpty());
        QCOMPARE(f.find<QWidget>("lblSyncSet")->isHidden(), shown.isEmpty());
        const QString refusal =
            QStringLiteral("You cannot Xcopy unless at least 1 set of paths have been entered and "
                           "locked in by checking the box next to the paths.");
        QCOMPARE(f.messages.shown, QStringList(automatic && saved.isEmpty() ? 1 : 0, refusal));
        // A pair put back is saved once more, as locking it does, and only once.
        for (int n = 1; n <= 14; ++n) {
            QStringList records;
            for (const QString &entry : saved + shown) {
                if (entry.section(':', 0, 0) == QString::number(n))
                    records.append(entry.section(':', 1));
            }
            QCOMPARE(f.database.records(pathTable(n)), records);
        }
    }
};

QTEST_MAIN(tst_MainWindow)
#include "tst_mainwindow.moc"
