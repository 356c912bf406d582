#include "windowfixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QScopeGuard>
#include <QTest>

class tst_Locking : public QObject
{
    Q_OBJECT

  private slots:
    void lockingSavesTheFilledBoxes_data();
    void lockingSavesTheFilledBoxes();
    void unlockingRestoresTheBoxesAndRelockingSavesAgain();
    void eachLockTouchesOnlyItsOwnPair_data();
    void eachLockTouchesOnlyItsOwnPair();
    void failedSaveIsReportedAndThePairStaysLocked();
};

namespace {

const QColor kGreen(0x00, 0x80, 0x00);

QLineEdit *box(const WindowFixture &f, int n)
{
    return f.find<QLineEdit>(QStringLiteral("Text%1").arg(n));
}

QCheckBox *lock(const WindowFixture &f, int pair)
{
    return f.find<QCheckBox>(QStringLiteral("Check%1").arg(pair));
}

QColor textColour(const WindowFixture &f, int n)
{
    return box(f, n)->palette().color(QPalette::Text);
}

QStringList saved(const QString &text)
{
    return text.isEmpty() ? QStringList{} : QStringList{text};
}

} // namespace

void tst_Locking::lockingSavesTheFilledBoxes_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");

    QTest::newRow("empty pair") << ""
                                << "";
    QTest::newRow("only From") << "/data/from"
                               << "";
    QTest::newRow("only To") << ""
                             << "/media/usb";
    QTest::newRow("both") << "/data/from"
                          << "/media/usb";
}

void tst_Locking::lockingSavesTheFilledBoxes()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    WindowFixture f;
    f.open();
    box(f, 5)->setText(from);
    box(f, 6)->setText(to);

    lock(f, 3)->setChecked(true);
    for (int n : {5, 6}) {
        QVERIFY(box(f, n)->isReadOnly());
        QCOMPARE(textColour(f, n), kGreen);
    }
    QCOMPARE(f.database.records(Table::Path5), saved(from));
    QCOMPARE(f.database.records(Table::Path6), saved(to));

    QTest::keyClicks(box(f, 5), QStringLiteral("xyz"));
    QTest::keyClick(box(f, 5), Qt::Key_Backspace);
    QCOMPARE(box(f, 5)->text(), from);
}

void tst_Locking::unlockingRestoresTheBoxesAndRelockingSavesAgain()
{
    // Button text unlike any other text, to tell the colours apart.
    const QPalette standard = QApplication::palette();
    QPalette distinct = standard;
    const QColor buttonText(0x12, 0x34, 0x56);
    distinct.setColor(QPalette::ButtonText, buttonText);
    QApplication::setPalette(distinct);
    const auto restore = qScopeGuard([&] { QApplication::setPalette(standard); });

    WindowFixture f;
    f.open();
    box(f, 1)->setText(QStringLiteral("/data/from"));
    box(f, 2)->setText(QStringLiteral("/media/usb"));
    lock(f, 1)->setChecked(true);
    lock(f, 1)->setChecked(false);
    for (int n : {1, 2}) {
        QVERIFY(!box(f, n)->isReadOnly());
        QCOMPARE(textColour(f, n), buttonText);
    }
    QCOMPARE(f.database.records(Table::Path1).size(), 1);

    lock(f, 1)->setChecked(true);
    QCOMPARE(f.database.records(Table::Path1), QStringList(2, QStringLiteral("/data/from")));
    QCOMPARE(f.database.records(Table::Path2), QStringList(2, QStringLiteral("/media/usb")));
}

void tst_Locking::eachLockTouchesOnlyItsOwnPair_data()
{
    QTest::addColumn<int>("pair");
    for (int pair = 1; pair <= 7; ++pair)
        QTest::addRow("pair %d", pair) << pair;
}

void tst_Locking::eachLockTouchesOnlyItsOwnPair()
{
    QFETCH(int, pair);
    WindowFixture f;
    f.open();
    const QColor untouched = textColour(f, 1);
    for (int n = 1; n <= 14; ++n)
        box(f, n)->setText(QStringLiteral("/folder%1").arg(n));

    lock(f, pair)->setChecked(true);
    for (int n = 1; n <= 14; ++n) {
        const bool own = (n + 1) / 2 == pair;
        QCOMPARE(box(f, n)->isReadOnly(), own);
        QCOMPARE(textColour(f, n), own ? kGreen : untouched);
        QCOMPARE(f.database.records(pathTable(n)),
                 saved(own ? QStringLiteral("/folder%1").arg(n) : QString()));
    }
}

void tst_Locking::failedSaveIsReportedAndThePairStaysLocked()
{
    WindowFixture f;
    f.open();
    box(f, 1)->setText(QStringLiteral("/data/from"));
    box(f, 2)->setText(QStringLiteral("/media/usb"));
    f.database.execute(QStringLiteral("DROP TABLE ") +
                       QLatin1String(definition(Table::Path1).name));

    lock(f, 1)->setChecked(true);
    QCOMPARE(f.messages.shown.size(), 1);
    QVERIFY(f.messages.shown.first().contains(QLatin1String(definition(Table::Path1).contents)));
    QVERIFY(lock(f, 1)->isChecked() && box(f, 1)->isReadOnly());
    QCOMPARE(textColour(f, 1), kGreen);
    QCOMPARE(f.database.records(Table::Path2), QStringList{QStringLiteral("/media/usb")});
}

QTEST_MAIN(tst_Locking)
#include "tst_locking.moc"
