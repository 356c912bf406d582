// The copy run from the window: its checks, the pairs it starts and the notice it leaves.
#include "windowfixture.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

namespace {

// The open run notices' texts in reading order.
QList<QStringList> notices()
{
    QList<QStringList> open;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window->objectName() != QLatin1String("frmXcopyNotify") || !window->isVisible())
            continue;
        QStringList texts{window->windowTitle()};
        for (const char *name : {"Label1", "Label3", "Label4", "Label2"})
            texts.append(window->findChild<QLabel *>(QLatin1String(name))->text());
        open.append(texts);
    }
    return open;
}

} // namespace

class tst_CopyRun : public QObject
{
    Q_OBJECT

    std::unique_ptr<WindowFixture> m_f;

    QLineEdit *box(int n) { return m_f->find<QLineEdit>(QStringLiteral("Text%1").arg(n)); }
    void lock(int pair, const QString &from, const QString &to)
    {
        box(2 * pair - 1)->setText(from);
        box(2 * pair)->setText(to);
        m_f->find<QCheckBox>(QStringLiteral("Check%1").arg(pair))->setChecked(true);
    }

  private slots:
    void init()
    {
        m_f = std::make_unique<WindowFixture>();
        m_f->open();
        // The automatic mode every 7 days, with a stored next copy date.
        m_f->find<QCheckBox>(QStringLiteral("ckUseTimer"))->setChecked(true);
        m_f->find<QComboBox>(QStringLiteral("cmbDays"))->setCurrentText(QStringLiteral("7"));
        m_f->database.execute(QStringLiteral("DELETE FROM tblDate"));
        m_f->database.add(Table::Date, {"2026-03-05", "2026-03-10"});
    }
    void cleanup()
    {
        // Notices are windows of their own, which would outlive the main window.
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (window->objectName() == QLatin1String("frmXcopyNotify"))
                delete window;
        }
        m_f.reset();
    }

    void refusedWithoutLockOrPath_data()
    {
        QTest::addColumn<bool>("locked");
        QTest::newRow("every path filled, nothing locked") << false;
        QTest::newRow("pairs locked, every path empty") << true;
    }

    void refusedWithoutLockOrPath()
    {
        QFETCH(bool, locked);
        for (int pair = 1; pair <= 7; ++pair) {
            if (locked)
                lock(pair, {}, {});
            else
                box(2 * pair)->setText(QStringLiteral("/data"));
        }
        m_f->window().show();
        QVERIFY(QTest::qWaitForWindowActive(&m_f->window()));
        box(4)->setFocus();

        m_f->window().Command1_Click();

        QCOMPARE(m_f->messages.shown,
                 QStringList{"You cannot Xcopy unless at least 1 set of paths have been entered "
                             "and locked in by checking the box next to the paths."});
        QTRY_COMPARE(QApplication::focusWidget(), box(1));
        QVERIFY(m_f->programs.started.isEmpty());
        QCOMPARE(m_f->database.records(Table::Date), (QStringList{"2026-03-05", "2026-03-10"}));
        QVERIFY(notices().isEmpty());
    }

    // Locked pairs start in their order with the texts their boxes hold now, empty ones too; a
    // pair that cannot start is reported and the run goes on to its end.
    void runStartsTheLockedPairs()
    {
        for (int pair : {3, 1, 2})
            lock(pair, QStringLiteral("/f%1").arg(pair), QStringLiteral("/t%1").arg(pair));
        lock(6, {}, {});
        box(5)->setText(QStringLiteral("/f3 edited after the lock"));
        m_f->programs.failure = [](const ProgramStart &start) {
            return start.arguments.value(0) == QLatin1String("/f2") ? QStringLiteral("gone")
                                                                    : QString();
        };
        m_f->clock.set({QDate(2026, 12, 31), QTime(13, 5, 9)});

        m_f->find<QAction>(QStringLiteral("mnuSync"))->trigger();

        QCOMPARE(m_f->messages.shown, QStringList{"Folder pair 2 was not copied: gone"});
        QStringList started;
        for (const ProgramStart &start : m_f->programs.started)
            started.append(start.commandLine);
        QCOMPARE(started, (QStringList{R"(xcopy.exe "/f1" "/t1" /D /Y /S)",
                                       R"(xcopy.exe "/f3 edited after the lock" "/t3" /D /Y /S)",
                                       R"(xcopy.exe "" "" /D /Y /S)"}));
        QCOMPARE(m_f->database.records(Table::Date), QStringList{"2026-03-12"});
        QCOMPARE(m_f->find<QLabel>(QStringLiteral("lblNextDate"))->text(),
                 QStringLiteral("3/12/2026"));
        QCOMPARE(notices(),
                 QList<QStringList>({{"XCopy Notify", "XCopy ran on your selected folders at:",
                                      "1:05:09 PM", "on", "12/31/2026"}}));

        // A second run replaces the notice with one of its own time.
        m_f->clock.advance(90 * 1000);
        m_f->window().Command1_Click();
        QTRY_COMPARE(notices().size(), 1);
        QCOMPARE(notices()[0].value(2), QStringLiteral("1:06:39 PM"));
    }
};

QTEST_MAIN(tst_CopyRun)
#include "tst_copyrun.moc"
