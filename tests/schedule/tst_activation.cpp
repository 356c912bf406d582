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
    QTest::addColumn<QStringList>("filled"); // path boxes given a folder, lock boxes checked
    QTest::addColumn<QString>("days");
    QTest::addColumn<bool>("automatic");
    QTest::addColumn<QString>("time");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    const QStringList pair1{"Text1", "Check1"};
    QTest::newRow("no lock box") << QStringList{"Text5"} << "7" << true << "1:00:00 AM"
                                 << noPairs("Xcopy") << "Text1";
    QTest::newRow("lock box on empty pairs")
        << QStringList{"Check2"} << "7" << true << "1:00:00 AM" << noPairs("XCopy") << "Text1";
    QTest::newRow("no interval") << pair1 << "" << true << "1:00:00 AM" << kNoDaysOrTime
                                 << "cmbDays";
    QTest::newRow("no time") << pair1 << "7" << true << "" << kNoDaysOrTime << "cmbDays";
    // The list is hidden then and cannot take the focus.
    QTest::newRow("automatic box unchecked")
        << pair1 << "7" << false << "1:00:00 AM" << kNoDaysOrTime << "Command1";
}

void tst_Activation::refusals()
{
    QFETCH(QStringList, filled);
    QFETCH(QString, days);
    QFETCH(bool, automatic);
    QFETCH(QString, time);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    WindowFixture f;
    f.open().show();
    QVERIFY(QTest::qWaitForWindowActive(&f.window()));
    for (const QString &name : filled) {
        if (auto *path = qobject_cast<QLineEdit *>(f.find<QWidget>(name)))
            path->setText(steps::kFrom);
        else
            f.find<QCheckBox>(name)->setChecked(true);
    }
    f.find<QCheckBox>(QStringLiteral("ckUseTimer"))->setChecked(true);
    f.find<QComboBox>(QStringLiteral("cmbDays"))->setCurrentText(days);
    f.find<QComboBox>(QStringLiteral("Combo1"))->setCurrentText(time);
    f.find<QCheckBox>(QStringLiteral("ckUseTimer"))->setChecked(automatic);
    f.find<QPushButton>(QStringLiteral("Command1"))->setFocus();

    f.window().cmdActivateAS_Click();

    QCOMPARE(f.messages.shown, QStringList{message});
    QCOMPARE(QApplication::focusWidget(), f.find<QWidget>(focus));
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
    QCOMPARE(steps::shownNextDate(f), QStringLiteral("3/8/2026"));
    QCOMPARE(
        (QList<QStringList>{f.database.records(Table::Date), f.database.records(Table::Days),
                            f.database.records(Table::Time), f.database.records(Table::Path1)}),
        (QList<QStringList>{{"2026-03-08"},
                            {"1", "3"},
                            {"12:01:00 AM", "1:00:00 AM"},
                            {steps::kFrom, steps::kFrom}})); // pair 1 locked once more
    for (const char *name : {"ckUseTimer", "lblUseTimer", "cmdActivateAS", "cmdCreateDir"})
        QVERIFY2(f.find<QWidget>(QLatin1String(name))->isHidden(), name);
    QVERIFY(!f.find<QWidget>(QStringLiteral("lblSyncSet"))->isHidden());

    // Locked, yet readable in green rather than greyed out; a click opens nothing.
    auto *list = f.find<QComboBox>(QStringLiteral("Combo1"));
    QCOMPARE(list->palette().color(QPalette::Text), QColor(0x008000));
    QVERIFY(steps::listsLocked(f));
    QTest::mouseClick(list, Qt::LeftButton);
    QVERIFY(!list->view()->isVisible());
}

QTEST_MAIN(tst_Activation)
#include "tst_activation.moc"
