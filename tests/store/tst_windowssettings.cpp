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
#include <QTemporaryDir>
#include <QTest>

#include <windows.h>

#include <sddl.h>

using namespace Qt::StringLiterals;

namespace {

// The oldest value of a table, read through a store of its own, or why it could not be opened.
QString oldest(const QString &database, Table table)
{
    QString error;
    const auto store = SettingsStore::open(database, &error);
    return store ? store->ReadField(table).value().value_or(QString()) : error;
}

} // namespace

class tst_WindowsSettings : public QObject
{
    Q_OBJECT

  private slots:
    // A first install makes the database and its journal in the installation folder and gives
    // them to the installing user; a reinstall keeps them; they are handed over only to an
    // account that exists.
    void setUpKeepsSettingsAndTheirUser()
    {
        QTemporaryDir install;
        const QString database = QDir::toNativeSeparators(install.filePath(u"xcopy.mdb"_s));
        const QString journal = database + "-journal";
        const QString me = currentAccount().name;
        QStringList done;
        QCOMPARE(setUpSettings({install.path(), u"C:/unused"_s}, {}, &done), QString());
        QCOMPARE(done,
                 (QStringList{"Created the settings database " + database,
                              "Created its journal " + journal,
                              database + " and its journal may be changed by " + me + " alone"}));
        QCOMPARE(QDir(install.path()).entryList(QDir::Files),
                 (QStringList{u"xcopy.mdb"_s, u"xcopy.mdb-journal"_s}));
        QCOMPARE(QFileInfo(journal).size(), 0);

        // Settings saved, and the journal lost: the settings stay as they are.
        {
            QString error;
            const auto store = SettingsStore::open(database, &error);
            QVERIFY(store && store->AppendRecord(Table::Path1, u"C:\\docs"_s).ok());
        }
        QVERIFY(QFile::remove(journal));
        done.clear();
        QCOMPARE(setUpSettings({install.path(), {}}, {}, &done), QString());
        QCOMPARE(done, (QStringList{"Kept the existing settings database " + database,
                                    "Created its journal " + journal}));
        QCOMPARE(oldest(database, Table::Path1), u"C:\\docs"_s);

        done.clear();
        QCOMPARE(setUpSettings({install.path(), {}}, {findAccount(me), {}}, &done), QString());
        QCOMPARE(done.last(), database + " and its journal may be changed by " + me + " alone");
        QCOMPARE(findAccount(u"no such user here"_s), std::nullopt);
        QCOMPARE(giveTo(database, {u"no such user here"_s}),
                 u"there is no account no such user here"_s);
    }

    // The user may read, change and delete the settings (0x1301bf, "Modify"), but not their
    // access list; the system and the administrators have full control; nobody else has any
    // entry, and the folder's entries do not reach the file.
    void accessListLetsTheUserAloneChange()
    {
        const QString user = accountSid(currentAccount().name);
        QVERIFY(user.startsWith(u"S-1-5-"_s));
        PSECURITY_DESCRIPTOR descriptor = nullptr;
        QVERIFY(ConvertStringSecurityDescriptorToSecurityDescriptorW(
            privateAccessList(user).toStdWString().c_str(), SDDL_REVISION_1, &descriptor, nullptr));
        SECURITY_DESCRIPTOR_CONTROL control = 0;
        DWORD revision = 0;
        GetSecurityDescriptorControl(descriptor, &control, &revision);
        QVERIFY(control & SE_DACL_PROTECTED);
        BOOL present = FALSE, defaulted = FALSE;
        PACL dacl = nullptr;
        QVERIFY(GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted) && dacl);
        QStringList found; // "who:rights"
        for (DWORD i = 0; i < dacl->AceCount; ++i) {
            ACCESS_ALLOWED_ACE *entry = nullptr;
            wchar_t *sid = nullptr;
            GetAce(dacl, i, reinterpret_cast<void **>(&entry));
            ConvertSidToStringSidW(&entry->SidStart, &sid);
            const bool allows = entry->Header.AceType == ACCESS_ALLOWED_ACE_TYPE;
            found.append(QString::fromWCharArray(sid) + (allows ? ":" : ":denied ") +
                         QString::number(entry->Mask, 16));
            LocalFree(sid);
        }
        LocalFree(descriptor);
        const QString fullControl = QString::number(FILE_ALL_ACCESS, 16);
        QCOMPARE(found, (QStringList{"S-1-5-18:" + fullControl, "S-1-5-32-544:" + fullControl,
                                     user + ":1301bf"}));
    }

    // Saves and their journal leave the folder's files as the set-up made them. Settings the
    // user may not change are opened all the same, unsaved, saying why.
    void savesKeepTheJournalOrSayWhyNot()
    {
        QTemporaryDir install;
        QStringList done;
        QCOMPARE(setUpSettings({install.path(), {}}, {}, &done), QString());
        const QStringList files = QDir(install.path()).entryList(QDir::Files);
        const QString database = QDir::toNativeSeparators(settingsDatabasePath(install.path()));
        QString error;
        {
            const auto store = SettingsStore::open(database, &error);
            QVERIFY2(store, qPrintable(error));
            QCOMPARE(store->unsavedReason(), QString());
            QVERIFY(store->AppendRecord(Table::Days, u"7"_s).ok());
            QVERIFY(store->ReplaceRecord(Table::Date, u"2026-03-05"_s).ok());
            QCOMPARE(QDir(install.path()).entryList(QDir::Files), files);
            QCOMPARE(QFileInfo(database + "-journal").size(), 0);
        }
        QCOMPARE(oldest(database, Table::Days), u"7"_s);
        QCOMPARE(oldest(database, Table::Date), u"2026-03-05"_s);

        const QString reasons[][2] = {
            {u"xcopy.mdb"_s, u"you are not allowed to change it"_s},
            {u"xcopy.mdb-journal"_s,
             "you are not allowed to change its journal " + database + "-journal"}};
        for (const auto &[readOnly, reason] : reasons) {
            QVERIFY(QFile::setPermissions(install.filePath(readOnly), QFile::ReadOwner));
            const auto store = SettingsStore::open(database, &error);
            QFile::setPermissions(install.filePath(readOnly), QFile::ReadOwner | QFile::WriteOwner);
            QVERIFY2(store, qPrintable(error));
            QCOMPARE(store->unsavedReason(), reason);
        }
    }
};

QTEST_GUILESS_MAIN(tst_WindowsSettings)
#include "tst_windowssettings.moc"
