// The settings on Windows: the fixed path in the installation folder is the database itself, and
// the set-up makes the journal beside it, both for one user alone to change; SQLite then keeps
// that journal, so that the program never creates or deletes a file in the administrators'
// folder. Wine keeps no access lists on files: the list is checked as Windows reads it, and
// changes refused through the read-only mark.
#include "fakes.h"

#include "app/startup.h"
#include "platform/accounts.h"
#include "platform/windowsaccess.h"
#include "store/settingsfolder.h"
#include "store/settingsstore.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

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
    void settingsAtStart_data();
    void settingsAtStart();
};

namespace {

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files);
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
    QString error;
    QVERIFY(SettingsStore::open(database, &error)->AppendRecord(Table::Path1, u"C:\\docs"_s));
    QVERIFY(QFile::remove(journal));
    done.clear();
    QCOMPARE(setUpSettings({install.path(), {}}, {}, &done), QString());
    QCOMPARE(done, (QStringList{"Kept the existing settings database " + database,
                                "Created its journal " + journal}));
    QCOMPARE(SettingsStore::open(database, &error)->ReadField(Table::Path1), u"C:\\docs"_s);

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
    QString error;
    const auto store = SettingsStore::open(settingsDatabasePath(install.path()), &error);
    QVERIFY2(store, qPrintable(error));
    QCOMPARE(store->unsavedReason(), QString());
    QVERIFY(store->AppendRecord(Table::Days, u"7"_s));
    QVERIFY(store->ReplaceRecord(Table::Date, u"2026-03-05"_s));
    QVERIFY(store->DBDelete());
    QCOMPARE(filesIn(install.path()), files);
    QCOMPARE(QFileInfo(install.filePath(u"xcopy.mdb-journal"_s)).size(), 0);
    QCOMPARE(store->ReadField(Table::AutoSync), u"0"_s);
}

void tst_WindowsSettings::settingsAtStart_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("reason"); // {journal} is the journal's path
    QTest::addColumn<bool>("ended");
    QTest::newRow("own settings") << u""_s << u""_s << false;
    QTest::newRow("missing") << u"missing"_s << u"the file does not exist"_s << true;
    QTest::newRow("read-only database")
        << u"xcopy.mdb"_s << u"you are not allowed to change it"_s << false;
    QTest::newRow("read-only journal")
        << u"xcopy.mdb-journal"_s << u"you are not allowed to change its journal {journal}"_s
        << false;
}

// Settings that cannot be used end the program with one message, before any window; settings
// that cannot be changed are said once, and the program shows what it could read.
void tst_WindowsSettings::settingsAtStart()
{
    QFETCH(QString, setup);
    QFETCH(QString, reason);
    QFETCH(bool, ended);
    QTemporaryDir install;
    QStringList done;
    QCOMPARE(setUpSettings({install.path(), {}}, {}, &done), QString());
    const QString database = QDir::toNativeSeparators(settingsDatabasePath(install.path()));
    QString error;
    {
        const auto store = SettingsStore::open(database, &error);
        store->AppendRecord(Table::AutoSync, u"1"_s);
        store->AppendRecord(Table::Path1, u"C:\\docs"_s);
        store->AppendRecord(Table::Path2, u"D:\\backup"_s);
    }
    if (setup == "missing")
        QVERIFY(QFile::remove(database));
    else if (!setup.isEmpty())
        QVERIFY(QFile::setPermissions(install.filePath(setup), QFile::ReadOwner));

    QString shownFrom = u"no window"_s;
    QObject context; // drops the timer when no window came
    QTimer::singleShot(0, &context, [&] {
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (window->objectName() == "frmSelect")
                shownFrom = window->findChild<QLineEdit *>(u"Text1"_s)->text();
        }
        QApplication::closeAllWindows();
    });
    FakeMessageBoxes messages;
    const int status = runProgram(install.path(), messages);
    if (!setup.isEmpty() && setup != "missing")
        QFile::setPermissions(install.filePath(setup), QFile::ReadOwner | QFile::WriteOwner);

    QCOMPARE(status, ended ? 1 : 0);
    QCOMPARE(shownFrom, ended ? u"no window"_s : u"C:\\docs"_s);
    reason.replace(u"{journal}"_s, database + "-journal");
    if (reason.isEmpty())
        QCOMPARE(messages.shown, QStringList());
    else if (ended)
        QCOMPARE(messages.shown, QStringList{"The settings database " + database +
                                             " cannot be used: " + reason + '.'});
    else
        QVERIFY2(messages.shown.size() == 1 &&
                     messages.shown[0].startsWith("Your changes cannot be saved in the settings "
                                                  "database " +
                                                  database + ": " + reason + ".\n"),
                 qPrintable(messages.shown.join('\n')));
}

QTEST_MAIN(tst_WindowsSettings)
#include "tst_windowssettings.moc"
