// The settings on Windows: the fixed path in the installation folder is the database itself, and
// the set-up makes the journal beside it, both for one user alone to change; SQLite then keeps
// that journal, so that the program never creates or deletes a file in the administrators'
// folder. Wine keeps no access lists on files: the list is checked as Windows reads it, and
// changes refused through the read-only mark.
#include "platform/accounts.h"
#include "platform/windowsaccess.h"
#include "store/settingsfolder.h"
#include "store/settingsstore.h"

#include <QDir>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>

#include <windows.h>

#include <sddl.h>

using namespace Qt::StringLiterals;

class tst_WindowsSettings : public QObject
{
    Q_OBJECT

  private slots:
    void setUpKeepsSettingsAndTheirUser();
    void accessListLetsTheUserAloneChange();
    void savesKeepTheJournal();
    void settingsThatCannotBeChanged_data();
    void settingsThatCannotBeChanged();
};

namespace {

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files);
}

// Runs a statement on the settings through a connection of the test's own, which keeps the
// journal as the program does; returns the first value of its result, if any.
QString sql(const QString &database, const QString &statement)
{
    const QString name = QUuid::createUuid().toString();
    QString value;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, name);
        db.setDatabaseName(database);
        QSqlQuery query(db);
        if (db.open() && query.exec(u"PRAGMA journal_mode = TRUNCATE"_s) && query.exec(statement) &&
            query.next())
            value = query.value(0).toString();
    }
    QSqlDatabase::removeDatabase(name);
    return value;
}

// The entries of an access list as "who:rights", and whether it is protected.
QStringList entries(const QString &accessList, bool *isProtected)
{
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(
            accessList.toStdWString().c_str(), SDDL_REVISION_1, &descriptor, nullptr))
        return {u"unreadable"_s};
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    GetSecurityDescriptorControl(descriptor, &control, &revision);
    *isProtected = control & SE_DACL_PROTECTED;
    BOOL present = FALSE;
    BOOL defaulted = FALSE;
    PACL dacl = nullptr;
    GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted);
    QStringList found;
    for (DWORD i = 0; dacl && i < dacl->AceCount; ++i) {
        ACCESS_ALLOWED_ACE *entry = nullptr;
        GetAce(dacl, i, reinterpret_cast<void **>(&entry));
        wchar_t *sid = nullptr;
        ConvertSidToStringSidW(&entry->SidStart, &sid);
        const bool allows = entry->Header.AceType == ACCESS_ALLOWED_ACE_TYPE;
        found.append(QString::fromWCharArray(sid) + (allows ? u":"_s : u":denied "_s) +
                     QString::number(entry->Mask, 16));
        LocalFree(sid);
    }
    LocalFree(descriptor);
    return found;
}

} // namespace

// A first install makes the database and its journal in the installation folder and gives them
// to the installing user; a reinstall keeps them; they are handed over only to an account that
// exists.
void tst_WindowsSettings::setUpKeepsSettingsAndTheirUser()
{
    QTemporaryDir install;
    const QString database = QDir::toNativeSeparators(install.filePath(u"xcopy.mdb"_s));
    const QString journal = database + "-journal";
    const QString me = currentAccount().name;
    QStringList done;
    QCOMPARE(setUpSettings({install.path(), u"C:/unused"_s}, {}, &done), QString());
    QCOMPARE(done, (QStringList{"Created the settings database " + database,
                                "Created its journal " + journal,
                                database + " and its journal may be changed by " + me + " alone"}));
    QCOMPARE(filesIn(install.path()), (QStringList{u"xcopy.mdb"_s, u"xcopy.mdb-journal"_s}));
    QCOMPARE(QFileInfo(journal).size(), 0);

    // Settings saved, and the journal lost: the settings stay as they are.
    sql(database, u"INSERT INTO tblPath1 (Path1) VALUES ('C:\\docs')"_s);
    QVERIFY(QFile::remove(journal));
    done.clear();
    QCOMPARE(setUpSettings({install.path(), {}}, {}, &done), QString());
    QCOMPARE(done, (QStringList{"Kept the existing settings database " + database,
                                "Created its journal " + journal}));
    QCOMPARE(sql(database, u"SELECT Path1 FROM tblPath1"_s), u"C:\\docs"_s);

    done.clear();
    QCOMPARE(setUpSettings({install.path(), {}}, {findAccount(me), {}}, &done), QString());
    QCOMPARE(done.last(), database + " and its journal may be changed by " + me + " alone");
    QCOMPARE(findAccount(u"no such user here"_s), std::nullopt);
    QCOMPARE(giveTo(database, {u"no such user here"_s}),
             u"there is no account no such user here"_s);
}

// The user may read, change and delete the settings, but not their access list; the system and
// the administrators have full control; nobody else has any entry, and the folder's entries do not
// reach the file.
void tst_WindowsSettings::accessListLetsTheUserAloneChange()
{
    const QString user = accountSid(currentAccount().name);
    QVERIFY(user.startsWith(u"S-1-5-"_s));
    bool isProtected = false;
    const QStringList found = entries(privateAccessList(user), &isProtected);
    QVERIFY(isProtected);
    const QString fullControl = QString::number(FILE_ALL_ACCESS, 16);
    QCOMPARE(found, (QStringList{"S-1-5-18:" + fullControl, "S-1-5-32-544:" + fullControl,
                                 user + ':' + QString::number(0x1301bf, 16)}));
    const DWORD userRights = found.last().section(':', 1).toUInt(nullptr, 16);
    QCOMPARE(userRights & (FILE_WRITE_DATA | FILE_APPEND_DATA | DELETE),
             DWORD(FILE_WRITE_DATA | FILE_APPEND_DATA | DELETE));
    QCOMPARE(userRights & (WRITE_DAC | WRITE_OWNER), DWORD(0));
}

// Saves and their journal leave the folder's files as the set-up made them.
void tst_WindowsSettings::savesKeepTheJournal()
{
    QTemporaryDir install;
    QStringList done;
    QCOMPARE(setUpSettings({install.path(), {}}, {}, &done), QString());
    const QStringList files = filesIn(install.path());
    const QString database = settingsDatabasePath(install.path());
    QString error;
    {
        const auto store = SettingsStore::open(database, &error);
        QVERIFY2(store, qPrintable(error));
        QCOMPARE(store->unsavedReason(), QString());
        // What each save says is the store's own tests' business; here what it leaves.
        static_cast<void>(store->AppendRecord(Table::Days, u"7"_s));
        static_cast<void>(store->ReplaceRecord(Table::Date, u"2026-03-05"_s));
        QCOMPARE(filesIn(install.path()), files);
        QCOMPARE(QFileInfo(install.filePath(u"xcopy.mdb-journal"_s)).size(), 0);
    }
    QCOMPARE(sql(database, u"SELECT group_concat(Days) FROM tblDays"_s), u"7"_s);
    QCOMPARE(sql(database, u"SELECT group_concat(Date) FROM tblDate"_s), u"2026-03-05"_s);
}

void tst_WindowsSettings::settingsThatCannotBeChanged_data()
{
    QTest::addColumn<QString>("readOnly"); // the file marked read-only
    QTest::addColumn<QString>("reason");   // {journal} is the journal's path
    QTest::newRow("own settings") << u""_s << u""_s;
    QTest::newRow("read-only database") << u"xcopy.mdb"_s << u"you are not allowed to change it"_s;
    QTest::newRow("read-only journal")
        << u"xcopy.mdb-journal"_s << u"you are not allowed to change its journal {journal}"_s;
}

// Settings the user may not change are opened all the same, unsaved, saying why; the program
// says it once at start.
void tst_WindowsSettings::settingsThatCannotBeChanged()
{
    QFETCH(QString, readOnly);
    QFETCH(QString, reason);
    QTemporaryDir install;
    QStringList done;
    QCOMPARE(setUpSettings({install.path(), {}}, {}, &done), QString());
    const QString database = QDir::toNativeSeparators(settingsDatabasePath(install.path()));
    if (!readOnly.isEmpty())
        QVERIFY(QFile::setPermissions(install.filePath(readOnly), QFile::ReadOwner));
    QString error;
    const auto store = SettingsStore::open(database, &error);
    if (!readOnly.isEmpty())
        QFile::setPermissions(install.filePath(readOnly), QFile::ReadOwner | QFile::WriteOwner);
    QVERIFY2(store, qPrintable(error));
    QCOMPARE(store->unsavedReason(), reason.replace(u"{journal}"_s, database + "-journal"));
}

QTEST_GUILESS_MAIN(tst_WindowsSettings)
#include "tst_windowssettings.moc"
