#include "common/textforms.h"

#include <QLocale>
#include <QTest>

class tst_TextForms : public QObject
{
    Q_OBJECT

  private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    void times_data();
    void times();
    void dates_data();
    void dates();
    void notATime();
};

void tst_TextForms::times_data()
{
    QTest::addColumn<QTime>("time");
    QTest::addColumn<QString>("text");
    QTest::newRow("one past midnight") << QTime(0, 1, 0) << "12:01:00 AM";
    QTest::newRow("morning") << QTime(9, 5, 7) << "9:05:07 AM";
    QTest::newRow("one past noon") << QTime(12, 1, 0) << "12:01:00 PM";
    QTest::newRow("afternoon") << QTime(13, 0, 0) << "1:00:00 PM";
    QTest::newRow("last second") << QTime(23, 59, 59) << "11:59:59 PM";
}

void tst_TextForms::times()
{
    QFETCH(QTime, time);
    QFETCH(QString, text);
    QCOMPARE(timeText(time), text);
    QCOMPARE(timeFromText(text), time);
}

void tst_TextForms::dates_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("stored");
    QTest::newRow("short month and day") << QDate(2026, 3, 5) << "3/5/2026"
                                         << "2026-03-05";
    QTest::newRow("long month and day") << QDate(2026, 12, 31) << "12/31/2026"
                                        << "2026-12-31";
}

void tst_TextForms::dates()
{
    QFETCH(QDate, date);
    QFETCH(QString, text);
    QFETCH(QString, stored);
    QCOMPARE(dateText(date), text);
    QCOMPARE(storedDate(date), stored);
    QCOMPARE(dateFromStored(stored), date);
    QCOMPARE(dateFromText(text), date);
}

void tst_TextForms::notATime()
{
    QVERIFY(!timeFromText(QStringLiteral("22:00")).isValid());
    QVERIFY(!timeFromText(QString()).isValid());
    QVERIFY(!dateFromStored(QStringLiteral("3/5/2026")).isValid());
    QVERIFY(!dateFromText(QStringLiteral("2026-03-05")).isValid());
    QVERIFY(!dateFromText(QString()).isValid());
}

QTEST_GUILESS_MAIN(tst_TextForms)
#include "tst_textforms.moc"
