#include "windowfixture.h"

#include "controls/captionlabel.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

class tst_MainWindow : public QObject
{
    Q_OBJECT

  private slots:
    void dropDownLists();
    void initialVisibility_data();
    void initialVisibility();
    void controlsStandInTheirPlaces_data();
    void controlsStandInTheirPlaces();
    void menuTree();
    void clockShowsTimeAndDate();
    void exitClosesTheWindowAndStopsTheClock();
    void anOpenDialogKeepsTheProgramRunning();
};

namespace {
QStringList entries(const QComboBox *list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts.append(list->itemText(i));
    return texts;
}
} // namespace

void tst_MainWindow::dropDownLists()
{
    WindowFixture f;
    f.open();
    QStringList times;
    for (int hour = 0; hour < 24; ++hour) {
        const int shown = hour % 12 == 0 ? 12 : hour % 12;
        const char *minute = hour % 12 == 0 ? "01" : "00"; // no entry at 12:00:00
        times.append(QStringLiteral("%1:%2:00 %3")
                         .arg(shown)
                         .arg(QLatin1String(minute))
                         .arg(QLatin1String(hour < 12 ? "AM" : "PM")));
    }
    QStringList days;
    for (int day = 1; day <= 30; ++day)
        days.append(QString::number(day)); // "10" follows "9"
    for (const auto &[name, expected] : {std::pair{"Combo1", times}, std::pair{"cmbDays", days}}) {
        const auto *list = f.find<QComboBox>(QLatin1String(name));
        QCOMPARE(entries(list), expected);
        QCOMPARE(list->currentIndex(), -1); // nothing selected at first
        QVERIFY(!list->isEditable());
    }
}

void tst_MainWindow::initialVisibility_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("shown");
    for (const char *name :
         {"Label12", "cmbDays", "Label16", "Label24", "Combo1", "cmdActivateAS", "CkStopAutoSync",
          "Label25", "lblNextSync", "lblNextDate", "lblSyncSet"})
        QTest::newRow(name) << QString::fromLatin1(name) << false;
    for (const char *name : {"ckUseTimer", "lblUseTimer", "Command1", "cmdCreateDir", "lblDate",
                             "lblTimer", "Drive1", "Dir1", "File1", "Drive2", "Dir2", "File2",
                             "Text1", "Text14", "Check1", "Check7", "Label23", "Line1"})
        QTest::newRow(name) << QString::fromLatin1(name) << true;
}

void tst_MainWindow::initialVisibility()
{
    QFETCH(QString, name);
    QFETCH(bool, shown);
    WindowFixture f;
    f.open().show();
    QCOMPARE(f.find<QWidget>(name)->isVisible(), shown);
}

void tst_MainWindow::controlsStandInTheirPlaces_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("pixels");
    QTest::newRow("Text1") << "Text1"
                           << "" << QRect(216, 32, 217, 19);
    QTest::newRow("Check7") << "Check7"
                            << "" << QRect(440, 376, 25, 25);
    QTest::newRow("Command1") << "Command1"
                              << "&XCopy" << QRect(216, 416, 217, 25);
    QTest::newRow("cmdCreateDir") << "cmdCreateDir"
                                  << "A&dd A Folder" << QRect(272, 448, 113, 25);
    QTest::newRow("cmdActivateAS") << "cmdActivateAS"
                                   << "A&ctivate Auto-XCopy" << QRect(264, 432, 113, 25);
    QTest::newRow("lblSyncSet") << "lblSyncSet"
                                << "Auto-XCopy is Actve" << QRect(16, 408, 137, 17);
    QTest::newRow("Label27") << "Label27"
                             << "CurrentTime" << QRect(472, 456, 81, 17);
    QTest::newRow("Dir2") << "Dir2"
                          << "" << QRect(472, 72, 153, 156);
}

void tst_MainWindow::controlsStandInTheirPlaces()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QRect, pixels);
    WindowFixture f;
    f.open();
    QWidget *control = f.find<QWidget>(name);
    QCOMPARE(control->geometry(), pixels);
    if (auto *button = qobject_cast<QAbstractButton *>(control))
        QCOMPARE(button->text(), caption);
    else if (auto *label = qobject_cast<QLabel *>(control))
        QCOMPARE(label->text(), caption);
}

void tst_MainWindow::menuTree()
{
    WindowFixture f;
    frmSelect &window = f.open();
    QStringList tree;
    for (QAction *menu : window.menuBar()->actions()) {
        tree.append(menu->menu()->objectName() + QLatin1Char('=') + menu->text());
        for (QAction *entry : menu->menu()->actions())
            tree.append(QStringLiteral("  ") + entry->objectName() + QLatin1Char('=') +
                        entry->text());
    }
    const QStringList expected{
        "mnuFile=&File",
        "  mnuSync=&XCopy",
        "  mnuCreateDir=A&dd Folder",
        "  mnuExit=&Exit",
        "mnuHelp=&Help",
        "  mnuSyncInstruct=XCopy Instructions (pdf)",
        "  mnuSyncInstructTxt=XCopy Instructions (txt)",
        "  mnuAbout=&About",
    };
    QCOMPARE(tree, expected);
    QCOMPARE(window.windowTitle(), QStringLiteral("Tolvan's XCopy"));
}

void tst_MainWindow::clockShowsTimeAndDate()
{
    WindowFixture f;
    frmSelect &window = f.open();
    const auto *time = f.find<QLabel>(QStringLiteral("lblTimer"));
    const auto *date = f.find<QLabel>(QStringLiteral("lblDate"));
    QCOMPARE(time->text(), QString());
    QCOMPARE(date->text(), QString());

    f.clock.set(QDateTime(QDate(2026, 12, 31), QTime(0, 1, 0)));
    window.Timer1_Timer();
    QCOMPARE(time->text(), QStringLiteral("12:01:00 AM"));
    QCOMPARE(date->text(), QStringLiteral("12/31/2026"));

    f.clock.set(QDateTime(QDate(2027, 1, 2), QTime(13, 0, 5, 400)));
    window.Timer1_Timer();
    QCOMPARE(time->text(), QStringLiteral("1:00:05 PM"));
    QCOMPARE(date->text(), QStringLiteral("1/2/2027"));
    // The next tick comes just after the next full second.
    const auto *timer = f.find<QTimer>(QStringLiteral("Timer1"));
    QVERIFY(timer->isActive());
    QVERIFY2(timer->interval() > 600 && timer->interval() < 620,
             qPrintable(QString::number(timer->interval())));
}

void tst_MainWindow::exitClosesTheWindowAndStopsTheClock()
{
    WindowFixture f;
    frmSelect &window = f.open();
    window.show();
    const QPointer<QTimer> clock = f.find<QTimer>(QStringLiteral("Timer1"));
    window.findChild<QAction *>(QStringLiteral("mnuExit"))->trigger();
    QTRY_VERIFY(!f.isOpen());
    QVERIFY(clock.isNull());
}

void tst_MainWindow::anOpenDialogKeepsTheProgramRunning()
{
    WindowFixture f;
    frmSelect &window = f.open();
    window.show();
    QWidget dialog;
    dialog.show();

    window.close(); // the close box does what Exit does
    QTRY_VERIFY(!f.isOpen());
    QVERIFY(dialog.isVisible());
    QVERIFY(QGuiApplication::quitOnLastWindowClosed()); // the program ends with its last window
}

QTEST_MAIN(tst_MainWindow)
#include "tst_mainwindow.moc"
