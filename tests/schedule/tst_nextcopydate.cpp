#include "schedule/nextcopydate.h"

#include <QTest>

class tst_NextCopyDate : public QObject
{
    Q_OBJECT

  private slots:
    void activation_data();
    void activation();
    void missedRuns_data();
    void missedRuns();
    void interval_data();
    void interval();
};

void tst_NextCopyDate::activation_data()
{
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<QTime>("chosen");
    QTest::addColumn<int>("days");
    QTest::addColumn<QDate>("next");

    const QDate march5(2026, 3, 5);
    const QDateTime twoPm(march5, QTime(14, 0));
    QTest::newRow("time still to come") << twoPm << QTime(15, 0) << 7 << march5;
    QTest::newRow("same second counts as past") << twoPm << QTime(14, 0) << 7 << QDate(2026, 3, 12);
    QTest::newRow("time gone by") << twoPm << QTime(13, 0) << 7 << QDate(2026, 3, 12);
    QTest::newRow("one past midnight is gone by after it")
        << QDateTime(march5, QTime(0, 1, 1)) << QTime(0, 1) << 1 << QDate(2026, 3, 6);
    QTest::newRow("one past noon is still to come in the morning")
        << QDateTime(march5, QTime(11, 59)) << QTime(12, 1) << 1 << march5;
    QTest::newRow("thirty days across a month end")
        << QDateTime(QDate(2026, 1, 15), QTime(9, 0)) << QTime(1, 0) << 30 << QDate(2026, 2, 14);
    QTest::newRow("across a year end")
        << QDateTime(QDate(2026, 12, 30), QTime(23, 30)) << QTime(22, 0) << 3 << QDate(2027, 1, 2);
}

void tst_NextCopyDate::activation()
{
    QFETCH(QDateTime, now);
    QFETCH(QTime, chosen);
    QFETCH(int, days);
    QFETCH(QDate, next);
    QCOMPARE(activationDate(now, chosen, days), next);
}

void tst_NextCopyDate::missedRuns_data()
{
    QTest::addColumn<QDate>("next");
    QTest::addColumn<QDate>("today");
    QTest::addColumn<int>("days");
    QTest::addColumn<QDate>("moved");

    const QDate march5(2026, 3, 5);
    QTest::newRow("due today stays") << march5 << march5 << 7 << march5;
    QTest::newRow("still ahead stays") << QDate(2026, 3, 9) << march5 << 7 << QDate(2026, 3, 9);
    QTest::newRow("missed yesterday, weekly")
        << QDate(2026, 3, 4) << march5 << 7 << QDate(2026, 3, 11);
    QTest::newRow("asleep three days, daily") << QDate(2026, 3, 2) << march5 << 1 << march5;
    QTest::newRow("lands on today") << QDate(2026, 2, 19) << march5 << 7 << march5;
    QTest::newRow("two intervals behind") << QDate(2026, 2, 20) << march5 << 7 << QDate(2026, 3, 6);
    QTest::newRow("across a year end")
        << QDate(2026, 12, 20) << QDate(2027, 1, 3) << 10 << QDate(2027, 1, 9);
}

void tst_NextCopyDate::missedRuns()
{
    QFETCH(QDate, next);
    QFETCH(QDate, today);
    QFETCH(int, days);
    QFETCH(QDate, moved);
    QCOMPARE(dateAfterMissedRuns(next, today, days), moved);
}

void tst_NextCopyDate::interval_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("days"); // 0: not an interval

    QTest::newRow("first entry") << "1" << 1;
    QTest::newRow("last entry") << "30" << 30;
    QTest::newRow("nothing picked") << "" << 0;
    QTest::newRow("not a number") << "seven" << 0;
    QTest::newRow("zero") << "0" << 0;
    QTest::newRow("negative") << "-7" << 0;
}

void tst_NextCopyDate::interval()
{
    QFETCH(QString, text);
    QFETCH(int, days);
    QCOMPARE(intervalDays(text).value_or(0), days);
}

QTEST_APPLESS_MAIN(tst_NextCopyDate)
#include "tst_nextcopydate.moc"
