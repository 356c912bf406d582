#include "platform/accounts.h"
#include "store/settingsfolder.h"
#include "store/settingsschema.h"
#include "store/settingsstore.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>

// The install's step that puts the settings in place: a data folder of the owner's alone, linked
// from the installation folder, and never a lost setting or another file taken from its owner.
class tst_SettingsFolder : public QObject
{
    Q_OBJECT

  private slots:
    void settingsArePutInPlace_data();
    void settingsArePutInPlace();
    void settingsAreNotMixedUp_data();
    void settingsAreNotMixedUp();
};

namespace {

// A scratch installation folder (made) and data folder (not made).
struct Scratch
{
    QTemporaryDir top;
    SettingsLocation location{top.filePath("opt"), top.filePath("data")};
    Scratch() { QDir().mkdir(location.installFolder); }
    QString link() const { return settingsDatabasePath(location.installFolder); }
    QString database() const { return settingsDatabasePath(location.dataFolder); }
};

void makeDatabase(const QString &path, const QString &fromFolder)
{
    QString error;
    QCOMPARE(createSettingsDatabase(path, &error), CreateResult::Created);
    SettingsStore::open(path, &error)->AppendRecord(Table::Path1, fromFolder);
}

// The From folder that the settings hold, or why they cannot be opened.
QString fromFolder(const QString &path)
{
    QString error;
    const std::unique_ptr<SettingsStore> store = SettingsStore::open(path, &error);
    return store ? store->ReadField(Table::Path1).value_or("") : error;
}

int mode(const QString &path)
{
    return int(std::filesystem::status(path.toStdString()).permissions()) & 07777;
}

} // namespace

void tst_SettingsFolder::settingsArePutInPlace_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("earlierOwner"); // of the settings there were; "" for the tester
    QTest::addColumn<QString>("handOverTo");
    QTest::addColumn<QString>("newOwner");
    QTest::addColumn<QString>("owner"); // of the settings afterwards; "" for the tester
    const auto row = [](const char *name, const char *before, const char *earlierOwner,
                        const char *handOverTo, const char *newOwner, const char *owner) {
        QTest::newRow(name) << QString(before) << QString(earlierOwner) << QString(handOverTo)
                            << QString(newOwner) << QString(owner);
    };
    row("first install", "nothing", "", "", "", "");
    row("first install for the installing user", "nothing", "", "", "nobody", "nobody");
    row("reinstall", "data folder", "", "", "", "");
    row("reinstall keeps the owner", "data folder", "nobody", "", "daemon", "nobody");
    row("an earlier version's database moves with its owner", "old file", "", "", "daemon", "");
    row("a link leading elsewhere", "stale link", "", "", "", "");
    row("handed over", "data folder", "", "nobody", "", "nobody");
    row("handed back", "data folder", "nobody", "root", "", "root");
}

void tst_SettingsFolder::settingsArePutInPlace()
{
    QFETCH(QString, before);
    QFETCH(QString, earlierOwner);
    QFETCH(QString, handOverTo);
    QFETCH(QString, newOwner);
    QFETCH(QString, owner);
    const Account me = currentAccount();
    if (me.userId != 0 && !(earlierOwner + handOverTo + owner).isEmpty())
        QSKIP("only root gives files to other users");
    owner = owner.isEmpty() ? me.name : owner;

    Scratch scratch;
    const QString &data = scratch.location.dataFolder;
    // A link to another file, or a second name of one, may have been put into the data folder
    // to have that file handed over too.
    const QStringList elsewhere{scratch.top.filePath("a"), scratch.top.filePath("b")};
    for (const QString &path : elsewhere)
        QVERIFY(QFile(path).open(QIODevice::WriteOnly));
    if (before == "old file") {
        makeDatabase(scratch.link(), "/home/me");
        QVERIFY(QFile(scratch.link() + "-journal").open(QIODevice::WriteOnly));
    } else if (before != "nothing") {
        QVERIFY(QDir().mkdir(data));
        makeDatabase(scratch.database(), "/home/me");
        QVERIFY(QFile::link(elsewhere[0], data + "/link"));
        std::filesystem::create_hard_link(elsewhere[1].toStdString(),
                                          (data + "/name").toStdString());
        for (const QString &path : {scratch.database(), data})
            QCOMPARE(giveTo(path, earlierOwner.isEmpty() ? me : *findAccount(earlierOwner)), "");
    }
    if (before == "stale link")
        QVERIFY(QFile::link(scratch.top.filePath("gone"), scratch.link()));

    QStringList done;
    const SettingsOwners owners{findAccount(handOverTo), findAccount(newOwner)};
    QCOMPARE(setUpSettings(scratch.location, owners, &done), "");

    QCOMPARE(QFileInfo(scratch.link()).symLinkTarget(), scratch.database());
    QCOMPARE(fromFolder(scratch.link()), before == "nothing" ? "" : "/home/me");
    // A journal left by a crash goes along with its database.
    QCOMPARE(QFile::exists(scratch.database() + "-journal"), before == "old file");
    for (const auto &[path, bits] : {std::pair(data, 0700), {scratch.database(), 0600}}) {
        QCOMPARE(mode(path), bits);
        QCOMPARE(ownerOf(path)->name, owner);
    }
    for (const QString &path : elsewhere)
        QVERIFY(mode(path) != 0600);
    QCOMPARE(
        done.last(),
        QString("%1 reaches the settings, which belong to %2 alone").arg(scratch.link(), owner));
}

void tst_SettingsFolder::settingsAreNotMixedUp_data()
{
    QTest::addColumn<bool>("dataFolderIsALink");
    QTest::addColumn<QString>("problem"); // {link}, {database} and {data} stand for their paths
    QTest::newRow("an earlier version's database and the data folder's")
        << false << "Both {link} and {database} hold settings; remove the one not to keep";
    QTest::newRow("the data folder a link") << true << "{data} is not a folder";
}

// An earlier version's database at the fixed path, and one in the data folder.
void tst_SettingsFolder::settingsAreNotMixedUp()
{
    QFETCH(bool, dataFolderIsALink);
    QFETCH(QString, problem);

    Scratch scratch;
    const QString &data = scratch.location.dataFolder;
    const QString folder = dataFolderIsALink ? scratch.top.filePath("elsewhere") : data;
    QVERIFY(QDir().mkdir(folder));
    QVERIFY(!dataFolderIsALink || QFile::link(folder, data));
    makeDatabase(scratch.database(), "/home/new");
    makeDatabase(scratch.link(), "/home/old");

    QStringList done;
    QCOMPARE(setUpSettings(scratch.location, {}, &done),
             problem.replace("{link}", scratch.link())
                 .replace("{database}", scratch.database())
                 .replace("{data}", data));
    QCOMPARE(fromFolder(scratch.link()), "/home/old");
    QCOMPARE(fromFolder(scratch.database()), "/home/new");
}

QTEST_GUILESS_MAIN(tst_SettingsFolder)
#include "tst_settingsfolder.moc"
