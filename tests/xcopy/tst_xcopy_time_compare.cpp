#include "time_compare.h"

#include <QTest>

Q_DECLARE_METATYPE(timespec)

// The comparison behind /D, for file systems that the test machine cannot mount.
class TimeCompare : public QObject
{
    Q_OBJECT

  private slots:
    void resolutionFollowsFileSystem_data()
    {
        QTest::addColumn<long>("type");
        QTest::addColumn<long long>("resolution");
        QTest::newRow("FAT") << 0x4d44L << 2'000'000'000LL;
        QTest::newRow("exFAT") << 0x2011BAB0L << 2'000'000'000LL;
        QTest::newRow("NTFS") << 0x5346544eL << 100LL;
        QTest::newRow("ntfs-3g") << 0x65735546L << 100LL;
        QTest::newRow("ext4") << 0xEF53L << 1LL;
    }

    void resolutionFollowsFileSystem()
    {
        QFETCH(long, type);
        QFETCH(long long, resolution);
        QCOMPARE(timeResolutionOfFileSystem(type), resolution);
    }

    void destinationIsOlderOnlyBeyondResolution_data()
    {
        QTest::addColumn<timespec>("source");
        QTest::addColumn<timespec>("destination");
        QTest::addColumn<long long>("resolution");
        QTest::addColumn<bool>("older");
        const long long fat = 2'000'000'000;
        QTest::newRow("FAT cut to even seconds")
            << timespec{1001, 900000000} << timespec{1000, 0} << fat << false;
        QTest::newRow("FAT rounded up")
            << timespec{1000, 500000000} << timespec{1002, 0} << fat << false;
        QTest::newRow("FAT two seconds exactly")
            << timespec{1002, 0} << timespec{1000, 0} << fat << false;
        QTest::newRow("FAT older by 2.5 s")
            << timespec{1002, 500000000} << timespec{1000, 0} << fat << true;
        QTest::newRow("NTFS within a step")
            << timespec{1000, 150} << timespec{1000, 100} << 100LL << false;
        QTest::newRow("NTFS two steps")
            << timespec{1000, 300} << timespec{1000, 100} << 100LL << true;
        QTest::newRow("ext4 same") << timespec{1000, 5} << timespec{1000, 5} << 1LL << false;
        QTest::newRow("ext4 older") << timespec{1000, 7} << timespec{1000, 5} << 1LL << true;
        QTest::newRow("ext4 newer") << timespec{1000, 5} << timespec{1000, 7} << 1LL << false;
        QTest::newRow("cut to a whole odd second")
            << timespec{1001, 999999999} << timespec{1001, 0} << 1LL << false;
        QTest::newRow("odd whole second, older")
            << timespec{1002, 500000000} << timespec{1001, 0} << 1LL << true;
        QTest::newRow("decades older")
            << timespec{2000000000, 0} << timespec{5, 500} << 1LL << true;
        QTest::newRow("decades newer")
            << timespec{5, 500} << timespec{2000000000, 0} << fat << false;
    }

    void destinationIsOlderOnlyBeyondResolution()
    {
        QFETCH(timespec, source);
        QFETCH(timespec, destination);
        QFETCH(long long, resolution);
        QFETCH(bool, older);
        QCOMPARE(destinationIsOlder(source, destination, resolution), older);
    }
};

QTEST_GUILESS_MAIN(TimeCompare)
#include "tst_xcopy_time_compare.moc"
