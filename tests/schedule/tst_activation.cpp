#include "schedulesteps.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

class tst_Activation : public QObject
{
    Q_OBJECT

  private slots:
    void refusals_data();
    void refusals();
    void activationFreezesTheSchedule();
};

namespace {
const QString kNoDaysOrTime =
    QStringLiteral("Please make sure the Days Time fields are entered before proceeding.");
QString noPairs(const char *copy)
{
    return QStringLiteral("You cannot %1 unless at least 1 set of paths have been entered and "
                          "locked in by checking the box next to the paths.")
        .arg(QLatin1String(copy));
}
} // namespace

void tst_Activation::refusals_data()
{
    QTest::addColumn<QString>("pathBox"); // filled with a folder, or none
    QTest::addColumn<QString>("lockBox"); // checked, or none
    QTest::addColumn<QString>("days");
    QTest::addColumn<QString>("time");
    QTest::addColumn<bool>("automatic");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");

    QTest::newRow("no lock box") << "Text5"
                                 << ""
                                 << "7"
                                 << "1:00:00 AM" << true << noPairs("Xcopy") << "Text1";
    QTest::newRow("lock box on empty pairs") << ""
                                             << "Check2"
                                             << "7"
                                             << "1:00:00 AM" << true << noPairs("XCopy") << "Text1";
    QTest::newRow("no interval") << "Text1"
                                 << "Check1"
                                 << ""
                                 << "1:00:00 AM" << true << kNoDaysOrTime << "cmbDays";
    QTest::newRow("no time") << "Text1"
                             << "Check1"
                             << "7"
                             << "" << true << kNoDaysOrTime << "cmbDays";
    // The list is hidden then and cannot take the focus.
    QTest::newRow("automatic box unchecked")
        << "Text1"
        << "Check1"
        << "7"
        << "1:00:00 AM" << false << kNoDaysOrTime << "Command1";
}

void tst_Activation::refusals()
{
    QFETCH(QString, pathBox);
    QFETCH(QString, lockBox);
    QFETCH(QString, days);
    QFETCH(QString, time);
    QFETCH(bool, automatic);
    QFETCH(QString, message);
    QFETCH(QString, focus);

    WindowFixture f;
    f.open().show();
    QVERIFY(QTest::qWaitForWindowActive(&f.window()));
    if (!pathBox.isEmpty())
        f.find<QLineEdit>(pathBox)->setText(steps::kFrom);
    if (!lockBox.isEmpty())
        f.find<QCheckBox>(lockBox)->setChecked(true);
    f.find<QCheckBox>(QStringLiteral("ckUseTimer"))->setChecked(true);
    f.find<QComboBox>(QStringLiteral("cmbDays"))->setCurrentText(days);
    f.find<QComboBox>(QStringLiteral("Combo1"))->setCurrentText(time);
    f.find<QCheckBox>(QStringLiteral("ckUseTimer"))->setChecked(automatic);
    f.find<QPushButton>(QStringLiteral("Command1"))->setFocus();
    const QStringList dates = f.database.records(Table::Date);

    f.window().cmdActivateAS_Click();

    QCOMPARE(f.messages.shown, QStringList{message});
    QCOMPARE(QApplication::focusWidget(), f.find<QWidget>(focus));
    QCOMPARE(f.database.records(Table::Date), dates);
    QCOMPARE(f.database.records(Table::Days), QStringList{"1"}); // the start-up seed alone
    QVERIFY(!steps::listsLocked(f));
    QCOMPARE(f.find<QPushButton>(QStringLiteral("cmdActivateAS"))->isHidden(), !automatic);
}

void tst_Activation::activationFreezesTheSchedule()
{
    WindowFixture f;
    f.open().show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.window()));
    f.clock.set(QDateTime(QDate(2026, 3, 5), QTime(9, 0)));

    steps::activate(f, QStringLiteral("3"), QStringLiteral("1:00:00 AM"));

    QCOMPARE(f.messages.shown,
             QStringList{"Your Auto-XCopy settings have been recorded.  Your folders will XCopy "
                         "at the date and time you have set."});
    QCOMPARE(f.database.records(Table::Date), QStringList{"2026-03-08"});
    QCOMPARE(f.database.records(Table::Days), QStringList({"1", "3"}));
    QCOMPARE(f.database.records(Table::Time), QStringList({"12:01:00 AM", "1:00:00 AM"}));
    QCOMPARE(steps::shownNextDate(f), QStringLiteral("3/8/2026"));
    // Pair 1 passed through its lock handler once more.
    QCOMPARE(f.database.records(Table::Path1), QStringList({steps::kFrom, steps::kFrom}));
    for (const char *name : {"ckUseTimer", "lblUseTimer", "cmdActivateAS", "cmdCreateDir"})
        QVERIFY2(f.find<QWidget>(QLatin1String(name))->isHidden(), name);
    QVERIFY(!f.find<QWidget>(QStringLiteral("lblSyncSet"))->isHidden());

    // Locked, yet readable in green rather than greyed out.
    auto *list = f.find<QComboBox>(QStringLiteral("Combo1"));
    QCOMPARE(list->palette().color(QPalette::Text), QColor(0x008000));
    QVERIFY(list->isEnabled());
    list->setFocus();
    for (Qt::Key key : {Qt::Key_Down, Qt::Key_End, Qt::Key_1})
        QTest::keyClick(list, key);
    QTest::mouseClick(list, Qt::LeftButton);
    QWheelEvent wheel(QPointF(5, 5), list->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(list, &wheel);
    QCOMPARE(list->currentText(), QStringLiteral("1:00:00 AM"));
    QVERIFY(!list->view()->isVisible());
    QTest::keyClick(list, Qt::Key_Tab);
    QVERIFY(!list->hasFocus()); // the focus can still leave it
}

QTEST_MAIN(tst_Activation)
#include "tst_activation.moc"
