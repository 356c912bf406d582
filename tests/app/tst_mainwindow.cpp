// What only the main window shows: the lists, the schedule group that the automatic box and the
// stop switch, the frozen schedule, the focus after a refusal, the clock that fires a run, and
// what a restart puts back.
#include "windowfixture.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

const QString kFrom = QStringLiteral("/data/from");
const QDate kToday(2026, 3, 5); // the day on the fixture clock
const QStringList kGroup{"Label12",     "Label16",       "Label24",        "cmbDays",
                         "Combo1",      "cmdActivateAS", "CkStopAutoSync", "Label25",
                         "lblNextDate", "lblNextSync"};
const QStringList kOthers{"Command1", "cmdCreateDir", "ckUseTimer", "lblUseTimer", "lblSyncSet"};
const QStringList kFrozen = kGroup.mid(0, 5) + kGroup.mid(6) + QStringList{"lblSyncSet"};

QStringList shown(const WindowFixture &f)
{
    QStringList result;
    for (const QString &name : kGroup + kOthers)
        if (!f.find<QWidget>(name)->isHidden())
            result.append(name);
    return result;
}

QString label(const WindowFixture &f, const char *name)
{
    return f.find<QLabel>(QLatin1String(name))->text();
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

// A locked list keeps its entry whatever key the user presses, and a click does not open it.
bool listsLocked(const WindowFixture &f)
{
    bool locked = true;
    for (const char *name : {"cmbDays", "Combo1"}) {
        auto *list = f.find<QComboBox>(QLatin1String(name));
        const int before = list->currentIndex();
        QTest::keyClick(list, before > 0 ? Qt::Key_Up : Qt::Key_Down);
        QTest::mouseClick(list, Qt::LeftButton);
        locked = locked && list->currentIndex() == before && !QApplication::activePopupWidget();
        list->hidePopup();
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

    // A refused activation or a failed save is the only message: no confirmation, the lists stay
    // open for another try and nothing runs. A refusal puts the focus where the user has something
    // to fix; a failed save leaves it. The failed save's message comes once it is undone: what is
    // saved while it is open is saved for good.
    void refusedActivationLeavesTheScheduleOpen()
    {
        for (const auto &[days, locked, saves, focus] :
             {std::tuple("7", false, true, "Text1"), std::tuple("", true, true, "cmbDays"),
              std::tuple("7", true, false, "Text4")}) {
            WindowFixture f;
            f.open().show();
            QVERIFY(QTest::qWaitForWindowActive(&f.window()));
            if (!saves)
                f.database.failEvery("INSERT", Table::Days);
            f.messages.whileShown = [&f] {
                QVERIFY(f.database.store().AppendRecord(Table::Path14, "/saved meanwhile").ok());
            };
            activate(f, days, "10:00:00 PM", false);
            if (!locked)
                f.click("Check1");
            f.find<QLineEdit>("Text4")->setFocus();
            f.window().cmdActivateAS_Click();

            QCOMPARE(f.database.records(Table::Path14), QStringList{"/saved meanwhile"});
            QCOMPARE(f.messages.shown.size(), 1);
            QVERIFY2(saves || f.messages.shown[0].contains(QLatin1String("disk is full")),
                     qPrintable(f.messages.shown[0]));
            QCOMPARE(QApplication::focusWidget(), f.find<QWidget>(focus));
            QVERIFY(!listsLocked(f));
            QVERIFY(f.find<QWidget>("lblSyncSet")->isHidden());
            QCOMPARE(runsThrough(f, {kToday, QTime(21, 59, 59)}, {kToday, QTime(22, 0, 1)}), 0);
        }
    }

    // The automatic box shows the schedule group in place of the copy and add-folder buttons, and
    // activation freezes it. Stopped with OK, every setting is erased (the pairs stay on the
    // window), the window goes back to the manual mode, and the date and time that stay on it start
    // nothing; Cancel keeps the schedule active.
    void fromActivationToStop()
    {
        for (const bool ok : {true, false}) {
            WindowFixture f;
            f.open();
            QCOMPARE(shown(f), kOthers.mid(0, 4));
            f.click("ckUseTimer");
            QCOMPARE(shown(f), kGroup + QStringList({"ckUseTimer", "lblUseTimer"}));
            f.click("ckUseTimer");
            QCOMPARE(shown(f), kOthers.mid(0, 4));

            activate(f, "7", "10:00:00 PM");
            QCOMPARE(f.messages.shown,
                     QStringList{"Your Auto-XCopy settings have been recorded.  Your folders will "
                                 "XCopy at the date and time you have set."});
            QCOMPARE(f.database.records(Table::Path1), QStringList(2, kFrom)); // locked once more
            QCOMPARE(shown(f), kFrozen);
            // Locked, yet readable in green rather than greyed out.
            QCOMPARE(f.find<QComboBox>("Combo1")->palette().color(QPalette::Text),
                     QColor(0x008000));
            QVERIFY(listsLocked(f));

            f.messages.shown.clear();
            f.messages.answers.enqueue(ok);

            f.click("CkStopAutoSync");

            QCOMPARE(f.messages.shown.size(), 1); // the question
            QVERIFY(!f.find<QCheckBox>("CkStopAutoSync")->isChecked());
            QCOMPARE(f.find<QCheckBox>("ckUseTimer")->isChecked(), !ok);
            QCOMPARE(f.find<QLineEdit>("Text1")->text(), kFrom); // the pairs stay on the window
            QCOMPARE(f.database.records(Table::Path1), ok ? QStringList() : QStringList(2, kFrom));
            QCOMPARE(listsLocked(f), !ok);
            QCOMPARE(label(f, "lblNextDate"), "3/5/2026");
            QCOMPARE(shown(f),
                     ok ? QStringList({"Command1", "ckUseTimer", "lblUseTimer"}) : kFrozen);
            if (ok) // readable as any list again
                QCOMPARE(f.find<QComboBox>("Combo1")->palette().color(QPalette::Text),
                         QApplication::palette().color(QPalette::WindowText));
            QCOMPARE(runsThrough(f, {kToday, QTime(21, 59, 58)}, {kToday, QTime(22, 0, 2)}),
                     ok ? 0 : 1);
        }
    }

    // The clock fires the run when due and is armed just after the next full second. It shows one
    // reading per tick, a tick that comes a little early showing the coming second, and every
    // second whole. The run it fires waits for nobody: a pair that cannot start is said in a box
    // that holds up nothing, after the next date. The clock ends with the window.
    void theClock()
    {
        WindowFixture f;
        f.open();
        activate(f, "7", "12:01:00 AM");
        f.type("Text3", "/from two");
        f.type("Text4", f.at("two"));
        f.click("Check2");
        f.programs.failure = [](const ProgramStart &start) {
            return start.caption == "Folder pair 1" ? QStringLiteral("gone") : QString();
        };
        f.messages.shown.clear();
        const QDate due(2026, 3, 12);

        QCOMPARE(runsThrough(f, {due.addDays(-1), QTime(23, 59, 59)}, {due, QTime(0, 1, 0)}), 1);
        f.clock.set({due, QTime(0, 1, 0, 400)}); // the same second shown again changes nothing
        f.window().Timer1_Timer();
        QCOMPARE(f.programs.copies.size(), 1);
        QCOMPARE(f.messages.notices, QStringList{"Folder pair 1 was not copied: gone"});
        QCOMPARE(f.messages.shown, f.messages.notices);
        QCOMPARE(label(f, "lblNextDate"), "3/19/2026");
        const QPointer<QTimer> timer = f.find<QTimer>("Timer1");
        const QPointer<frmSelect> window = &f.window();
        QVERIFY(timer->isActive() && timer->interval() > 600 && timer->interval() < 620);

        f.clock.stepPerReading = 300;
        f.clock.set({due, QTime(22, 59, 59, 900)});
        f.window().Timer1_Timer();
        QCOMPARE(label(f, "lblTimer") + " " + label(f, "lblDate"), "11:00:00 PM 3/12/2026");
        f.clock.set({due, QTime(23, 59, 59, 600)});
        f.window().Timer1_Timer();
        const QString shown = label(f, "lblTimer") + " " + label(f, "lblDate");
        QVERIFY2(shown == "11:59:59 PM 3/12/2026" || shown == "12:00:00 AM 3/13/2026",
                 qPrintable(shown));
        // Noon and midnight included.
        for (const QTime &time : {QTime(11, 59, 59), QTime(12, 0), QTime(0, 0)}) {
            f.clock.set({QDate(2099, 12, 31), time});
            f.window().Timer1_Timer();
            for (const char *name : {"lblTimer", "lblDate"}) {
                const auto *box = f.find<QLabel>(QLatin1String(name));
                QVERIFY2(box->fontMetrics().horizontalAdvance(box->text()) <=
                             box->contentsRect().width(),
                         qPrintable(box->text()));
            }
        }

        // File > Exit closes the window, and its clock with it.
        f.find<QAction>("mnuExit")->trigger();
        QTRY_VERIFY(window.isNull());
        QVERIFY(timer.isNull());
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
            const QString from = QStringLiteral("/from%1").arg(pair), to = f.at(from.mid(1));
            f.type(QStringLiteral("Text%1").arg(2 * pair - 1), from);
            f.type(QStringLiteral("Text%1").arg(2 * pair), to);
            (f.window().*copies[pair - 1])();
            QCOMPARE(f.programs.copies.value(pair - 1).arguments.mid(0, 2),
                     QStringList({from, to}));
            f.find<QCheckBox>(QStringLiteral("Check%1").arg(pair))->setChecked(true);
            (f.window().*locks[pair - 1])();
            QCOMPARE(f.database.records(pathTable(2 * pair - 1)), QStringList{from});
            QVERIFY(f.find<QLineEdit>(QStringLiteral("Text%1").arg(2 * pair))->isReadOnly());
        }
    }

    // A restart with the automatic mode on puts the saved pairs back in their boxes, locked and
    // saved once more, and the weekly schedule at 10 PM runs on frozen, with no confirmation; with
    // no pair saved the window comes up in the set-up state, its lists open, and says why. With
    // the mode off it shows nothing saved and changes nothing. (Which pairs come back is tst_pairs'
    // matter.)
    void restartPutsThePairsBack()
    {
        for (const auto &[flags, pairSaved] :
             {std::pair(QStringList{"1"}, true), std::pair(QStringList{"1"}, false),
              std::pair(QStringList{"1", "0"}, true)}) {
            WindowFixture f;
            f.database.add(Table::AutoSync, flags);
            f.database.add(Table::Days, {"7"});
            f.database.add(Table::Time, {"10:00:00 PM"});
            f.database.add(Table::Date, {"2026-03-09"}); // the next copy date
            if (pairSaved) {
                f.database.add(Table::Path3, {"/from2"});
                f.database.add(Table::Path4, {"/to2"});
            }
            f.open();

            const bool automatic = flags.last() == "1", back = automatic && pairSaved;
            QCOMPARE(f.find<QLineEdit>("Text3")->text() + f.find<QLineEdit>("Text4")->text(),
                     back ? "/from2/to2" : "");
            QCOMPARE(f.find<QCheckBox>("Check2")->isChecked(), back);
            QCOMPARE(f.find<QComboBox>("Combo1")->currentText(),
                     automatic ? QStringLiteral("10:00:00 PM") : QString());
            QCOMPARE(label(f, "lblNextDate"), !automatic ? QString()
                                              : back     ? "3/9/2026"
                                                         : "3/5/2026");
            QCOMPARE(listsLocked(f), back);
            QCOMPARE(f.find<QWidget>("lblSyncSet")->isHidden(), !back);
            QCOMPARE(f.messages.shown.size(), automatic && !pairSaved ? 1 : 0);
        }
    }
};

QTEST_MAIN(tst_MainWindow)
#include "tst_mainwindow.moc"
