#include "time_compare.h"

#include <QTest>

Q_DECLARE_METATYPE(timespec)

// The comparison behind /D, for file systems that the test machine cannot mount: each file system
// type has cases that only its own time resolution decides.
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
        row("FAT cut to even seconds", {1001, 900000000}, {1000, 0}, fat, false);
        row("FAT rounded up", {1000, 500000000}, {1002, 0}, fat, false);
        row("FAT two seconds exactly", {1002, 0}, {1000, 0}, fat, false);
        row("FAT older by 2.5 s", {1002, 500000000}, {1000, 0}, fat, true);
        row("FAT within two seconds", {1002, 500000000}, {1000, 600000000}, fat, false);
        row("exFAT within two seconds", {1002, 500000000}, {1000, 600000000}, exfat, false);
        row("exFAT older by 2.5 s", {1002, 500000000}, {1000, 0}, exfat, true);
        row("NTFS within a step", {1000, 150}, {1000, 100}, ntfs, false);
        row("NTFS two steps", {1000, 300}, {1000, 100}, ntfs, true);
        row("ext4 same", {1000, 5}, {1000, 5}, ext4, false);
        row("ext4 older", {1000, 7}, {1000, 5}, ext4, true);
        row("ext4 newer", {1000, 5}, {1000, 7}, ext4, false);
        row("cut to a whole odd second", {1001, 999999999}, {1001, 0}, ext4, false);
        row("odd whole second, older", {1002, 500000000}, {1001, 0}, ext4, true);
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
};

QTEST_GUILESS_MAIN(TimeCompare)
#include "tst_xcopy_time_compare.moc"
