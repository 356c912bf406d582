#include "windowfixture.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

class tst_CopyRun : public QObject
{
    Q_OBJECT

  private slots:
    void cleanup();
    void refusedWithoutLockOrPath_data();
    void refusedWithoutLockOrPath();
    void lockedPairStartsWhateverItsBoxesHold();
    void startsLockedPairsInOrderWithTheirCurrentTexts();
    void startedByButtonAndMenu_data();
    void startedByButtonAndMenu();
    void nextCopyDate_data();
    void nextCopyDate();
    void failedStartIsReportedAndTheRunGoesOn();
    void noticeShowsTheMomentOfTheRun();
    void newRunReplacesAnOpenNotice();
    void noticeClosesAndLeavesTheMainWindowAlone();
};

namespace {

const QString kRefusal = QStringLiteral(
    "You cannot Xcopy unless at least 1 set of paths have been entered and locked in by "
    "checking the box next to the paths.");

QList<QWidget *> openNotices()
{
    QList<QWidget *> notices;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window->objectName() == QLatin1String("frmXcopyNotify") && window->isVisible())
            notices.append(window);
    }
    return notices;
}

QString text(const QWidget *window, const char *name)
{
    return window->findChild<QLabel *>(QLatin1String(name))->text();
}

QLineEdit *box(WindowFixture &f, int n)
{
    return f.find<QLineEdit>(QStringLiteral("Text%1").arg(n));
}

void lock(WindowFixture &f, int pair, const QString &from, const QString &to)
{
    box(f, 2 * pair - 1)->setText(from);
    box(f, 2 * pair)->setText(to);
    f.find<QCheckBox>(QStringLiteral("Check%1").arg(pair))->setChecked(true);
}

// The automatic mode with an interval, and tblDate holding exactly these records.
void setAutomatic(WindowFixture &f, bool on, const QString &interval, const QStringList &dates)
{
    f.find<QCheckBox>(QStringLiteral("ckUseTimer"))->setChecked(on);
    auto *days = f.find<QComboBox>(QStringLiteral("cmbDays"));
    days->setCurrentIndex(days->findText(interval));
    f.database.execute(QStringLiteral("DELETE FROM tblDate"));
    f.database.add(Table::Date, dates);
}

QStringList fromPaths(const FakeProgramStarter &programs)
{
    QStringList paths;
    for (const ProgramStart &start : programs.started)
        paths.append(start.arguments.value(0));
    return paths;
}

} // namespace

void tst_CopyRun::cleanup()
{
    // Notices are windows of their own and would outlive the test's main window.
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window->objectName() == QLatin1String("frmXcopyNotify"))
            delete window;
    }
}

void tst_CopyRun::refusedWithoutLockOrPath_data()
{
    QTest::addColumn<QList<int>>("lockedPairs");
    QTest::addColumn<bool>("pathsFilled");

    QTest::newRow("every path filled, nothing locked") << QList<int>{} << true;
    QTest::newRow("pairs locked, every path empty") << QList<int>{3, 7} << false;
}

void tst_CopyRun::refusedWithoutLockOrPath()
{
    QFETCH(QList<int>, lockedPairs);
    QFETCH(bool, pathsFilled);

    WindowFixture f;
    f.open();
    for (int pair : lockedPairs)
        lock(f, pair, {}, {});
    for (int n = 1; n <= 14 && pathsFilled; ++n)
        box(f, n)->setText(QStringLiteral("/data/%1").arg(n));
    setAutomatic(f, true, QStringLiteral("7"),
                 {QStringLiteral("2026-03-01"), QStringLiteral("2026-03-10")});
    f.window().show();
    QVERIFY(QTest::qWaitForWindowActive(&f.window()));
    box(f, 4)->setFocus();

    f.window().Command1_Click();

    QCOMPARE(f.messages.shown, QStringList{kRefusal});
    QTRY_COMPARE(QApplication::focusWidget(), box(f, 1));
    QVERIFY(f.programs.started.isEmpty());
    QCOMPARE(f.database.records(Table::Date),
             (QStringList{QStringLiteral("2026-03-01"), QStringLiteral("2026-03-10")}));
    QVERIFY(openNotices().isEmpty());
}

void tst_CopyRun::lockedPairStartsWhateverItsBoxesHold()
{
    WindowFixture f;
    f.open();
    box(f, 1)->setText(QStringLiteral("C:\\Data"));
    lock(f, 3, {}, {});

    f.window().Command1_Click();

    QVERIFY(f.messages.shown.isEmpty());
    QCOMPARE(f.programs.started.size(), 1);
    QCOMPARE(f.programs.started[0].commandLine, QStringLiteral(R"(xcopy.exe "" "" /D /Y /S)"));
    QCOMPARE(f.programs.started[0].arguments.mid(0, 2), (QStringList{QString(), QString()}));
}

void tst_CopyRun::startsLockedPairsInOrderWithTheirCurrentTexts()
{
    WindowFixture f;
    f.open();
    lock(f, 7, QStringLiteral("/f7"), QStringLiteral("/t7"));
    lock(f, 2, QStringLiteral("/f2"), QStringLiteral("/t2"));
    lock(f, 5, QStringLiteral("/f5"), QStringLiteral("/t5"));
    box(f, 1)->setText(QStringLiteral("/not locked"));
    box(f, 9)->setText(QStringLiteral("/edited after the lock"));

    f.window().Command1_Click();

    QCOMPARE(fromPaths(f.programs),
             (QStringList{QStringLiteral("/f2"), QStringLiteral("/edited after the lock"),
                          QStringLiteral("/f7")}));
    QCOMPARE(f.programs.started[1].arguments.value(1), QStringLiteral("/t5"));

    f.window().Command1_Click();
    QCOMPARE(f.programs.started.size(), 6);
}

void tst_CopyRun::startedByButtonAndMenu_data()
{
    QTest::addColumn<bool>("byMenu");
    QTest::newRow("button") << false;
    QTest::newRow("menu entry") << true;
}

void tst_CopyRun::startedByButtonAndMenu()
{
    QFETCH(bool, byMenu);

    WindowFixture f;
    f.open();
    lock(f, 1, QStringLiteral("/from"), QStringLiteral("/to"));
    if (byMenu)
        f.window().findChild<QAction *>(QStringLiteral("mnuSync"))->trigger();
    else
        QTest::mouseClick(f.find<QPushButton>(QStringLiteral("Command1")), Qt::LeftButton);

    QCOMPARE(fromPaths(f.programs), QStringList{QStringLiteral("/from")});
    QCOMPARE(openNotices().size(), 1);
}

void tst_CopyRun::nextCopyDate_data()
{
    QTest::addColumn<bool>("automatic");
    QTest::addColumn<QString>("interval");
    QTest::addColumn<QStringList>("dates");
    QTest::addColumn<int>("runs");
    QTest::addColumn<QStringList>("datesAfter");
    QTest::addColumn<QString>("shownAfter");

    const QString unchanged = QStringLiteral("unchanged");
    // The oldest record is the stored date; only the newest is kept.
    QTest::newRow("on, one run from the stored date")
        << true << "7" << QStringList{"2026-03-28", "2026-01-02"} << 1 << QStringList{"2026-04-04"}
        << "4/4/2026";
    QTest::newRow("on, a second run right after") << true << "7" << QStringList{"2026-03-05"} << 2
                                                  << QStringList{"2026-03-19"} << "3/19/2026";
    QTest::newRow("off: cut to the newest, label kept")
        << false << "7" << QStringList{"2026-03-01", "2026-03-10"} << 1 << QStringList{"2026-03-10"}
        << unchanged;
    QTest::newRow("on, no interval chosen") << true << "" << QStringList{"2026-03-01", "2026-03-10"}
                                            << 1 << QStringList{"2026-03-10"} << "3/10/2026";
    QTest::newRow("on, no stored date")
        << true << "7" << QStringList{} << 1 << QStringList{} << unchanged;
}

void tst_CopyRun::nextCopyDate()
{
    QFETCH(bool, automatic);
    QFETCH(QString, interval);
    QFETCH(QStringList, dates);
    QFETCH(int, runs);
    QFETCH(QStringList, datesAfter);
    QFETCH(QString, shownAfter);

    WindowFixture f;
    f.open();
    lock(f, 1, QStringLiteral("/from"), QStringLiteral("/to"));
    setAutomatic(f, automatic, interval, dates);
    auto *shown = f.find<QLabel>(QStringLiteral("lblNextDate"));
    shown->setText(QStringLiteral("unchanged"));

    for (int run = 0; run < runs; ++run)
        f.window().Command1_Click();

    QCOMPARE(f.database.records(Table::Date), datesAfter);
    QCOMPARE(shown->text(), shownAfter);
    QCOMPARE(f.programs.started.size(), runs);
    QCOMPARE(openNotices().size(), 1);
    QVERIFY(f.messages.shown.isEmpty());
}

void tst_CopyRun::failedStartIsReportedAndTheRunGoesOn()
{
    WindowFixture f;
    f.open();
    for (int pair : {1, 2, 3})
        lock(f, pair, QStringLiteral("/f%1").arg(pair), QStringLiteral("/t%1").arg(pair));
    setAutomatic(f, true, QStringLiteral("1"), {QStringLiteral("2026-03-05")});
    f.programs.failure = [](const ProgramStart &start) {
        return start.arguments.value(0) == QLatin1String("/f2")
                   ? QStringLiteral("xcopy.exe was not found: No such file or directory")
                   : QString();
    };

    f.window().Command1_Click();

    QCOMPARE(
        f.messages.shown,
        QStringList{QStringLiteral(
            "Folder pair 2 was not copied: xcopy.exe was not found: No such file or directory")});
    QCOMPARE(fromPaths(f.programs), (QStringList{QStringLiteral("/f1"), QStringLiteral("/f3")}));
    QCOMPARE(f.database.records(Table::Date), QStringList{QStringLiteral("2026-03-06")});
    QCOMPARE(openNotices().size(), 1);
}

void tst_CopyRun::noticeShowsTheMomentOfTheRun()
{
    WindowFixture f;
    f.open();
    lock(f, 1, QStringLiteral("/from"), QStringLiteral("/to"));
    f.clock.set({QDate(2026, 12, 31), QTime(13, 5, 9)});

    f.window().Command1_Click();

    const QList<QWidget *> notices = openNotices();
    QCOMPARE(notices.size(), 1);
    QWidget *notice = notices[0];
    QCOMPARE(notice->windowTitle(), QStringLiteral("XCopy Notify"));
    QCOMPARE(text(notice, "Label1"), QStringLiteral("XCopy ran on your selected folders at:"));
    QCOMPARE(text(notice, "Label3"), QStringLiteral("1:05:09 PM"));
    QCOMPARE(text(notice, "Label4"), QStringLiteral("on"));
    QCOMPARE(text(notice, "Label2"), QStringLiteral("12/31/2026"));
    QCOMPARE(notice->findChild<QPushButton *>(QStringLiteral("Command1"))->text(),
             QStringLiteral("&Close"));
    for (const char *value : {"Label3", "Label2"}) {
        const auto *label = notice->findChild<QLabel *>(QLatin1String(value));
        QCOMPARE(label->palette().color(QPalette::WindowText), QColor(0x00, 0x00, 0xC0));
    }
    // Read in order: the time, "on", then the date.
    const auto x = [notice](const char *name) {
        return notice->findChild<QLabel *>(QLatin1String(name))->x();
    };
    QVERIFY(x("Label3") < x("Label4") && x("Label4") < x("Label2"));
}

void tst_CopyRun::newRunReplacesAnOpenNotice()
{
    WindowFixture f;
    f.open();
    lock(f, 1, QStringLiteral("/from"), QStringLiteral("/to"));
    f.window().Command1_Click();
    QPointer<QWidget> first = openNotices().value(0);
    QCOMPARE(text(first, "Label3"), QStringLiteral("9:00:00 AM"));

    f.clock.advance(90 * 1000);
    f.window().Command1_Click();

    const QList<QWidget *> notices = openNotices();
    QCOMPARE(notices.size(), 1);
    QVERIFY(notices[0] != first);
    QCOMPARE(text(notices[0], "Label3"), QStringLiteral("9:01:30 AM"));
    QTRY_VERIFY(first.isNull());
}

void tst_CopyRun::noticeClosesAndLeavesTheMainWindowAlone()
{
    WindowFixture f;
    f.open();
    lock(f, 1, QStringLiteral("/from"), QStringLiteral("/to"));
    f.window().show();
    f.window().Command1_Click();
    QPointer<QWidget> notice = openNotices().value(0);
    QVERIFY(notice);
    QVERIFY(!notice->isModal());
    QCOMPARE(QApplication::activeModalWidget(), nullptr);

    // The notice stays when the main window goes, and goes when its own button is pressed.
    f.window().close();
    QTRY_VERIFY(!f.isOpen());
    QVERIFY(notice && notice->isVisible());
    QTest::mouseClick(notice->findChild<QPushButton *>(QStringLiteral("Command1")), Qt::LeftButton);
    QTRY_VERIFY(notice.isNull());
}

QTEST_MAIN(tst_CopyRun)
#include "tst_copyrun.moc"
