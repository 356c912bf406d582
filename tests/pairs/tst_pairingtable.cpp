#include "pairs/pairingtable.h"

#include <QTest>

class tst_PairingTable : public QObject
{
    Q_OBJECT

  private slots:
    void everyPatternFollowsTheRule();
};

// The first free pair behind leading locked pairs, or the only free pair; nothing otherwise.
// Pairs 1 to 6 locked fits both, and two tests name pair 7.
void tst_PairingTable::everyPatternFollowsTheRule()
{
    for (int bits = 0; bits < 128; ++bits) {
        LockPattern locks{};
        for (int i = 0; i < 7; ++i)
            locks[i] = (bits >> i) & 1;
        const auto firstFree = int(std::find(locks.begin(), locks.end(), 0) - locks.begin());
        QList<int> expected;
        if (firstFree < 7 && std::count(locks.begin() + firstFree, locks.end(), 1) == 0)
            expected.append(firstFree + 1);
        if (std::count(locks.begin(), locks.end(), 0) == 1)
            expected.append(firstFree + 1);
        QVERIFY2(pairsMatching(locks) == expected, qPrintable(QString::number(bits, 2)));
    }
    QVERIFY(pairsMatching({2, 0, 0, 0, 0, 0, 0}).isEmpty()); // a greyed box matches no test
}

QTEST_APPLESS_MAIN(tst_PairingTable)
#include "tst_pairingtable.moc"
