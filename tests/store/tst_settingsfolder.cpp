#include "testdatabase.h"

#include "platform/accounts.h"
#include "store/settingsfolder.h"
#include "store/settingsschema.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

#include <filesystem>

// The install's step that puts the settings in place: a data folder of the owner's, linked from
// the installation folder, and never a lost setting.
class tst_SettingsFolder : public QObject
{
    Q_OBJECT

  private slots:
    void settingsArePutInPlace_data();
    void settingsArePutInPlace();
    void settingsAreNotTakenFromTheirOwner_data();
    void settingsAreNotTakenFromTheirOwner();
    void twoDatabasesAreRefused();
};

namespace {

// A scratch installation folder (made) and data folder (not made).
struct Scratch
{
    QTemporaryDir top;
    SettingsLocation location{top.filePath(QStringLiteral("opt")),
                              top.filePath(QStringLiteral("data"))};
    Scratch() { QDir().mkdir(location.installFolder); }
    QString link() const { return settingsDatabasePath(location.installFolder); }
    QString database() const { return settingsDatabasePath(location.dataFolder); }
};

// A settings database holding one From folder.
void makeDatabase(const QString &path, const QString &fromFolder)
{
    QString error;
    if (createSettingsDatabase(path, &error) != CreateResult::Created)
        qFatal("cannot create %s: %s", qPrintable(path), qPrintable(error));
    SettingsStore::open(path, &error)->AppendRecord(Table::Path1, fromFolder);
}

int mode(const QString &path)
{
    const auto status = std::filesystem::status(QFile::encodeName(path).toStdString());
    return static_cast<int>(status.permissions()) & 07777;
}

QString fromFolder(const QString &path)
{
    QString error;
    const std::unique_ptr<SettingsStore> store = SettingsStore::open(path, &error);
    return store ? store->ReadField(Table::Path1).value_or(QString()) : error;
}

} // namespace

void tst_SettingsFolder::settingsArePutInPlace_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("kept"); // the From folder the settings hold afterwards
    QTest::newRow("first install") << "nothing"
                                   << "";
    QTest::newRow("reinstall") << "data folder"
                               << "/home/me";
    QTest::newRow("earlier version's database at the fixed path") << "old file"
                                                                  << "/home/old";
    QTest::newRow("link leading elsewhere") << "stale link"
                                            << "/home/me";
}

void tst_SettingsFolder::settingsArePutInPlace()
{
    QFETCH(QString, before);
    QFETCH(QString, kept);

    Scratch scratch;
    if (before == QLatin1String("old file")) {
        makeDatabase(scratch.link(), QStringLiteral("/home/old"));
        QFile journal(scratch.link() + QStringLiteral("-journal"));
        QVERIFY(journal.open(QIODevice::WriteOnly));
    } else if (before != QLatin1String("nothing")) {
        QVERIFY(QDir().mkdir(scratch.location.dataFolder));
        makeDatabase(scratch.database(), QStringLiteral("/home/me"));
        QVERIFY(QFile::setPermissions(scratch.database(),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther));
    }
    if (before == QLatin1String("stale link"))
        QVERIFY(QFile::link(scratch.top.filePath(QStringLiteral("gone")), scratch.link()));

    QStringList done;
    QCOMPARE(setUpSettings(scratch.location, {}, &done), QString());

    QCOMPARE(QFileInfo(scratch.link()).symLinkTarget(), scratch.database());
    QCOMPARE(mode(scratch.location.dataFolder), 0700);
    QCOMPARE(mode(scratch.database()), 0600);
    QCOMPARE(fromFolder(scratch.link()), kept);
    // A journal left by a crash goes along with its database.
    QCOMPARE(QFile::exists(scratch.database() + QStringLiteral("-journal")),
             before == QLatin1String("old file"));
    QVERIFY2(done.last().contains(currentAccount().name), qPrintable(done.join('\n')));
}

void tst_SettingsFolder::settingsAreNotTakenFromTheirOwner_data()
{
    QTest::addColumn<QString>("earlierOwner"); // of the data folder or the old file; "" for none
    QTest::addColumn<bool>("oldLayout");
    QTest::addColumn<QString>("handOverTo");
    QTest::addColumn<QString>("newOwner");
    QTest::addColumn<QString>("expectedOwner");
    const auto row = [](const char *name, const char *earlierOwner, bool oldLayout,
                        const char *handOverTo, const char *newOwner, const char *expectedOwner) {
        QTest::newRow(name) << QString::fromLatin1(earlierOwner) << oldLayout
                            << QString::fromLatin1(handOverTo) << QString::fromLatin1(newOwner)
                            << QString::fromLatin1(expectedOwner);
    };
    row("new settings go to the installing user", "", false, "", "nobody", "nobody");
    row("new settings from a root shell stay root's", "", false, "", "", "root");
    row("a reinstall keeps the owner", "nobody", false, "", "daemon", "nobody");
    row("a moved database keeps its owner", "nobody", true, "", "daemon", "nobody");
    row("handed over", "root", false, "nobody", "", "nobody");
    row("handed back", "nobody", false, "root", "", "root");
}

void tst_SettingsFolder::settingsAreNotTakenFromTheirOwner()
{
    QFETCH(QString, earlierOwner);
    QFETCH(bool, oldLayout);
    QFETCH(QString, handOverTo);
    QFETCH(QString, newOwner);
    QFETCH(QString, expectedOwner);
    if (currentAccount().userId != 0)
        QSKIP("only root gives files to other users");
    if (!findAccount(QStringLiteral("nobody")) || !findAccount(QStringLiteral("daemon")))
        QSKIP("the users nobody and daemon are needed");

    Scratch scratch;
    const QString folder = oldLayout ? scratch.location.installFolder : scratch.location.dataFolder;
    // Only the owner's own files are handed over: a link to another file, or a second name of
    // one, may have been put into the folder to have that file handed over too.
    const QStringList elsewhere{scratch.top.filePath(QStringLiteral("a")),
                                scratch.top.filePath(QStringLiteral("b"))};
    for (const QString &path : elsewhere)
        QVERIFY(QFile(path).open(QIODevice::WriteOnly));
    if (!earlierOwner.isEmpty()) {
        QVERIFY(oldLayout || QDir().mkdir(folder));
        makeDatabase(settingsDatabasePath(folder), QStringLiteral("/home/me"));
        for (const QString &path : {settingsDatabasePath(folder), folder})
            QCOMPARE(giveTo(path, *findAccount(earlierOwner)), QString());
        QVERIFY(QFile::link(elsewhere[0], folder + QStringLiteral("/link")));
        std::filesystem::create_hard_link(QFileInfo(elsewhere[1]).filesystemFilePath(),
                                          QFileInfo(folder + "/name").filesystemFilePath());
    }

    const SettingsOwners owners{findAccount(handOverTo), findAccount(newOwner)};
    QStringList done;
    QCOMPARE(setUpSettings(scratch.location, owners, &done), QString());

    for (const QString &path : {scratch.location.dataFolder, scratch.database()})
        QCOMPARE(ownerOf(path)->name, expectedOwner);
    for (const QString &path : elsewhere) {
        QCOMPARE(ownerOf(path)->name, QStringLiteral("root"));
        QVERIFY(mode(path) != 0600);
    }
    QVERIFY2(done.last().contains(expectedOwner), qPrintable(done.last()));
}

void tst_SettingsFolder::twoDatabasesAreRefused()
{
    Scratch scratch;
    QVERIFY(QDir().mkdir(scratch.location.dataFolder));
    makeDatabase(scratch.database(), QStringLiteral("/home/new"));
    makeDatabase(scratch.link(), QStringLiteral("/home/old"));

    QStringList done;
    const QString problem = setUpSettings(scratch.location, {}, &done);
    QVERIFY2(problem.contains(scratch.link()) && problem.contains(scratch.database()),
             qPrintable(problem));
    QCOMPARE(fromFolder(scratch.link()), QStringLiteral("/home/old"));
    QCOMPARE(fromFolder(scratch.database()), QStringLiteral("/home/new"));
}

QTEST_GUILESS_MAIN(tst_SettingsFolder)
#include "tst_settingsfolder.moc"
