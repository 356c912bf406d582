#include "time_compare.h"

#include <QTest>

Q_DECLARE_METATYPE(timespec)

// The comparison behind /D and the reading of a destination's time step, for file systems that the
// test machine cannot mount: each step has cases that only it decides.
class TimeCompare : public QObject
{
    Q_OBJECT

  private slots:
    void destinationIsOlderOnlyBeyondResolution_data()
    {
        QTest::addColumn<timespec>("source");
        QTest::addColumn<timespec>("destination");
        QTest::addColumn<long>("fileSystem");
        QTest::addColumn<bool>("older");
        const long fat = 0x4d44, exfat = 0x2011BAB0, ntfs = 0x5346544e, ext4 = 0xEF53;
        const auto row = [](const char *name, timespec source, timespec destination,
                            long fileSystem, bool older) {
            QTest::newRow(name) << source << destination << fileSystem << older;
        };
        row("FAT two seconds exactly", {1002, 0}, {1000, 0}, fat, false);
        row("FAT older by 2.5 s", {1002, 500000000}, {1000, 0}, fat, true);
        row("FAT within two seconds", {1002, 500000000}, {1000, 600000000}, fat, false);
        row("exFAT within two seconds", {1002, 500000000}, {1000, 600000000}, exfat, false);
        row("NTFS within a step", {1000, 150}, {1000, 100}, ntfs, false);
        row("NTFS two steps", {1000, 300}, {1000, 100}, ntfs, true);
        row("ext4 same", {1000, 5}, {1000, 5}, ext4, false);
        row("ext4 older", {1000, 7}, {1000, 5}, ext4, true);
        row("ext4 newer", {1000, 5}, {1000, 7}, ext4, false);
        row("cut to a whole second", {1001, 999999999}, {1001, 0}, ext4, true);
        row("decades older", {2000000000, 0}, {5, 500}, ext4, true);
        row("decades newer", {5, 500}, {2000000000, 0}, fat, false);
    }

    void destinationIsOlderOnlyBeyondResolution()
    {
        QFETCH(timespec, source);
        QFETCH(timespec, destination);
        QFETCH(long, fileSystem);
        QFETCH(bool, older);
        QCOMPARE(destinationIsOlder(source, destination, timeResolutionOfFileSystem(fileSystem)),
                 older);
    }

    void probeTimeTellsTheStep_data()
    {
        QTest::addColumn<timespec>("kept");
        QTest::addColumn<long long>("step"); // 0: no step explains it
        const auto row = [](const char *name, timespec kept, long long step) {
            QTest::newRow(name) << kept << step;
        };
        row("nanoseconds", {1000000001, 123456789}, 1);
        row("100 ns", {1000000001, 123456700}, 100);
        row("microseconds", {1000000001, 123456000}, 1000);
        row("10 ms", {1000000001, 120000000}, 10000000);
        row("seconds", {1000000001, 0}, 1000000000);
        row("100 ms", {1000000001, 100000000}, 100000000);
        row("2 s cut down", {1000000000, 0}, 2000000000);
        row("2 s rounded up", {1000000002, 0}, 2000000000);
        row("a time of its own", {1796609228, 0}, 0);
        row("4 s too far", {999999998, 0}, 0);
    }

    void probeTimeTellsTheStep()
    {
        QFETCH(timespec, kept);
        QFETCH(long long, step);
        QCOMPARE(timeResolutionFromProbe(kept).value_or(0), step);
    }
};

QTEST_GUILESS_MAIN(TimeCompare)
#include "tst_xcopy_time_compare.moc"
