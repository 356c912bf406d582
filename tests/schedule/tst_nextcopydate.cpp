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
    QTest::newRow("one past midnight, gone by after it")
        << QDateTime(march5, QTime(0, 1, 1)) << QTime(0, 1) << 1 << QDate(2026, 3, 6);
    QTest::newRow("thirty days across a month end")
        << QDateTime(QDate(2026, 1, 15), QTime(9, 0)) << QTime(1, 0) << 30 << QDate(2026, 2, 14);
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
    QTest::addColumn<int>("days");
    QTest::addColumn<QDate>("moved"); // today is 5 March 2026

    const QDate march5(2026, 3, 5);
    QTest::newRow("due today stays") << march5 << 7 << march5;
    QTest::newRow("missed yesterday, weekly") << QDate(2026, 3, 4) << 7 << QDate(2026, 3, 11);
    QTest::newRow("asleep three days, daily") << QDate(2026, 3, 2) << 1 << march5;
    QTest::newRow("lands on today") << QDate(2026, 2, 19) << 7 << march5;
    QTest::newRow("two intervals behind") << QDate(2026, 2, 20) << 7 << QDate(2026, 3, 6);
}

void tst_NextCopyDate::missedRuns()
{
    QFETCH(QDate, next);
    QFETCH(int, days);
    QFETCH(QDate, moved);
    QCOMPARE(dateAfterMissedRuns(next, QDate(2026, 3, 5), days), moved);
}

QTEST_APPLESS_MAIN(tst_NextCopyDate)
#include "tst_nextcopydate.moc"
