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
    void init();
    void cleanup();
    void refusedWithoutLockOrPath_data();
    void refusedWithoutLockOrPath();
    void lockedPairStartsWhateverItsBoxesHold();
    void failedStartIsReportedAndTheRunGoesOn();
    void newRunReplacesAnOpenNotice();

  private:
    QLineEdit *box(int n) { return m_f->find<QLineEdit>(QStringLiteral("Text%1").arg(n)); }
    void lock(int pair, const QString &from, const QString &to);
    // The automatic mode with an interval of 7 days, and tblDate holding exactly these records.
    void setAutomatic(bool on, const QStringList &dates);

    std::unique_ptr<WindowFixture> m_f;
};

namespace {

// The run notices, all or only those open.
QWidgetList notices(bool openOnly = true)
{
    QWidgetList found;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window->objectName() == QLatin1String("frmXcopyNotify") &&
            (window->isVisible() || !openOnly))
            found.append(window);
    }
    return found;
}

// The notice's texts in reading order.
QStringList texts(const QWidget *notice)
{
    QStringList texts{notice->windowTitle()};
    for (const char *name : {"Label1", "Label3", "Label4", "Label2"})
        texts.append(notice->findChild<QLabel *>(QLatin1String(name))->text());
    return texts;
}

} // namespace

void tst_CopyRun::init()
{
    m_f = std::make_unique<WindowFixture>();
    m_f->open();
}

void tst_CopyRun::cleanup()
{
    qDeleteAll(notices(false)); // windows of their own, which would outlive the main window
    m_f.reset();
}

void tst_CopyRun::lock(int pair, const QString &from, const QString &to)
{
    box(2 * pair - 1)->setText(from);
    box(2 * pair)->setText(to);
    m_f->find<QCheckBox>(QStringLiteral("Check%1").arg(pair))->setChecked(true);
}

void tst_CopyRun::setAutomatic(bool on, const QStringList &dates)
{
    m_f->find<QCheckBox>(QStringLiteral("ckUseTimer"))->setChecked(on);
    auto *days = m_f->find<QComboBox>(QStringLiteral("cmbDays"));
    days->setCurrentIndex(days->findText(QStringLiteral("7")));
    m_f->database.execute(QStringLiteral("DELETE FROM tblDate"));
    m_f->database.add(Table::Date, dates);
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
    for (int pair : lockedPairs)
        lock(pair, {}, {});
    for (int n = 1; n <= 14 && pathsFilled; ++n)
        box(n)->setText(QStringLiteral("/data/%1").arg(n));
    setAutomatic(true, {"2026-03-01", "2026-03-10"});
    m_f->window().show();
    QVERIFY(QTest::qWaitForWindowActive(&m_f->window()));
    box(4)->setFocus();

    m_f->window().Command1_Click();

    QCOMPARE(m_f->messages.shown,
             QStringList{"You cannot Xcopy unless at least 1 set of paths have been entered and "
                         "locked in by checking the box next to the paths."});
    QTRY_COMPARE(QApplication::focusWidget(), box(1));
    QVERIFY(m_f->programs.started.isEmpty());
    QCOMPARE(m_f->database.records(Table::Date), (QStringList{"2026-03-01", "2026-03-10"}));
    QVERIFY(notices().isEmpty());
}

void tst_CopyRun::lockedPairStartsWhateverItsBoxesHold()
{
    box(1)->setText(QStringLiteral("C:\\Data"));
    lock(3, {}, {});

    m_f->window().Command1_Click();

    QVERIFY(m_f->messages.shown.isEmpty());
    QCOMPARE(m_f->programs.started.size(), 1);
    QCOMPARE(m_f->programs.started[0].commandLine, QStringLiteral(R"(xcopy.exe "" "" /D /Y /S)"));
    QCOMPARE(m_f->programs.started[0].arguments.mid(0, 2), (QStringList{QString(), QString()}));
}

void tst_CopyRun::failedStartIsReportedAndTheRunGoesOn()
{
    for (int pair : {3, 1, 2})
        lock(pair, QStringLiteral("/f%1").arg(pair), QStringLiteral("/t%1").arg(pair));
    box(5)->setText(QStringLiteral("/f3 edited after the lock"));
    setAutomatic(true, {"2026-03-05"});
    m_f->programs.failure = [](const ProgramStart &start) {
        return start.arguments.value(0) == QLatin1String("/f2")
                   ? QStringLiteral("xcopy.exe was not found: No such file or directory")
                   : QString();
    };

    m_f->window().Command1_Click();

    QCOMPARE(m_f->messages.shown,
             QStringList{"Folder pair 2 was not copied: xcopy.exe was not found: No such file "
                         "or directory"});
    // The pairs start in their order, with the texts their boxes hold at the run.
    QStringList started;
    for (const ProgramStart &start : m_f->programs.started)
        started.append(start.arguments.mid(0, 2).join(QLatin1String(" > ")));
    QCOMPARE(started, (QStringList{"/f1 > /t1", "/f3 edited after the lock > /t3"}));
    QCOMPARE(m_f->database.records(Table::Date), QStringList{"2026-03-12"});
    QCOMPARE(notices().size(), 1);
}

void tst_CopyRun::newRunReplacesAnOpenNotice()
{
    lock(1, QStringLiteral("/from"), QStringLiteral("/to"));
    m_f->clock.set({QDate(2026, 12, 31), QTime(13, 5, 9)});
    QTest::mouseClick(m_f->find<QPushButton>(QStringLiteral("Command1")), Qt::LeftButton);
    QPointer<QWidget> first = notices().value(0);
    QVERIFY(first);
    QCOMPARE(texts(first), (QStringList{"XCopy Notify", "XCopy ran on your selected folders at:",
                                        "1:05:09 PM", "on", "12/31/2026"}));

    m_f->clock.advance(90 * 1000);
    m_f->window().findChild<QAction *>(QStringLiteral("mnuSync"))->trigger();

    const QWidgetList open = notices();
    QCOMPARE(open.size(), 1);
    QVERIFY(open[0] != first);
    QCOMPARE(texts(open[0]).value(2), QStringLiteral("1:06:39 PM"));
    QCOMPARE(m_f->programs.started.size(), 2);
    QTRY_VERIFY(first.isNull());
}

QTEST_MAIN(tst_CopyRun)
#include "tst_copyrun.moc"
