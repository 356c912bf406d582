#include "pairs/pairingtable.h"

#include <QTest>

class tst_PairingTable : public QObject
{
    Q_OBJECT

  private slots:
    void patterns_data();
    void patterns();
    void everyPatternFollowsTheRule();
};

namespace {
// "1100000": pairs 1 and 2 locked.
LockPattern pattern(const char *values)
{
    LockPattern locks{};
    for (std::size_t i = 0; i < locks.size(); ++i)
        locks[i] = values[i] - '0';
    return locks;
}
} // namespace

void tst_PairingTable::patterns_data()
{
    QTest::addColumn<QByteArray>("locked");
    QTest::addColumn<QList<int>>("pairs");

    QTest::newRow("nothing locked") << QByteArray("0000000") << QList<int>{1};
    QTest::newRow("pair 1 locked") << QByteArray("1000000") << QList<int>{2};
    QTest::newRow("1 and 2 locked") << QByteArray("1100000") << QList<int>{3};
    QTest::newRow("all but pair 1") << QByteArray("0111111") << QList<int>{1};
    QTest::newRow("all but pair 4") << QByteArray("1110111") << QList<int>{4};
    QTest::newRow("1 to 6 locked, named by two tests") << QByteArray("1111110") << QList<int>{7, 7};
    QTest::newRow("1 and 3 locked") << QByteArray("1010000") << QList<int>{};
    QTest::newRow("only pair 7 locked") << QByteArray("0000001") << QList<int>{};
    QTest::newRow("all seven locked") << QByteArray("1111111") << QList<int>{};
    QTest::newRow("a greyed box matches no test") << QByteArray("2000000") << QList<int>{};
}

void tst_PairingTable::patterns()
{
    QFETCH(QByteArray, locked);
    QFETCH(QList<int>, pairs);
    QCOMPARE(pairsMatching(pattern(locked.constData())), pairs);
}

// The first free pair behind leading locked pairs, or the only free pair; nothing otherwise.
void tst_PairingTable::everyPatternFollowsTheRule()
{
    for (int bits = 0; bits < 128; ++bits) {
        LockPattern locks{};
        for (int i = 0; i < 7; ++i)
            locks[i] = (bits >> i) & 1;
        const auto firstFree = int(std::find(locks.begin(), locks.end(), 0) - locks.begin());
        const bool restFree = std::count(locks.begin() + firstFree, locks.end(), 1) == 0;
        const bool onlyOneFree = std::count(locks.begin(), locks.end(), 0) == 1;

        QList<int> expected;
        if (firstFree < 7 && restFree)
            expected.append(firstFree + 1);
        if (onlyOneFree)
            expected.append(firstFree + 1);
        QVERIFY2(pairsMatching(locks) == expected, qPrintable(QString::number(bits, 2)));
    }
}

QTEST_APPLESS_MAIN(tst_PairingTable)
#include "tst_pairingtable.moc"
