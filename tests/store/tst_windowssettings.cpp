// The settings on Windows: the fixed path in the installation folder is the database itself, and
// the set-up makes the journal beside it, both for one user alone to change; SQLite then keeps
// that journal, so that the program never creates or deletes a file in the administrators'
// folder. Wine keeps no access lists on files: the list is checked in the system's text form
// (which the set-up applies, and fails on when it is not valid), and changes refused through the
// read-only mark.
#include "platform/accounts.h"
#include "platform/windowsaccess.h"
#include "store/settingsfolder.h"
#include "store/settingsstore.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class tst_WindowsSettings : public QObject
{
    Q_OBJECT

  private slots:
    // A first install makes the database and its empty journal in the installation folder and
    // gives them to the installing user; saves leave the folder's files as they are. A reinstall
    // keeps the settings and their owner, making a lost journal anew; they are handed over only
    // to an account that exists.
    void setUpKeepsSettingsAndTheirUser()
    {
        QTemporaryDir install;
        const QString database = QDir::toNativeSeparators(settingsDatabasePath(install.path()));
        const QString journal = database + "-journal";
        const QString mine =
            database + " and its journal may be changed by " + currentAccount().name + " alone";
        QStringList done;
        QCOMPARE(setUpSettings({install.path(), {}}, {}, &done), QString());
        QCOMPARE(done, (QStringList{"Created the settings database " + database,
                                    "Created its journal " + journal, mine}));
        const QStringList files = QDir(install.path()).entryList(QDir::Files);
        QCOMPARE(files, (QStringList{u"xcopy.mdb"_s, u"xcopy.mdb-journal"_s}));
        QString error;
        auto store = SettingsStore::open(database, &error);
        QVERIFY2(store, qPrintable(error));
        QCOMPARE(store->unsavedReason(), QString());
        QVERIFY(store->AppendRecord(Table::Path1, u"C:\\docs"_s).ok());
        QCOMPARE(QDir(install.path()).entryList(QDir::Files), files);
        QCOMPARE(QFileInfo(journal).size(), 0);
        store.reset();

        QVERIFY(QFile::remove(journal));
        done.clear();
        QCOMPARE(setUpSettings({install.path(), {}}, {}, &done), QString());
        QCOMPARE(done, (QStringList{"Kept the existing settings database " + database,
                                    "Created its journal " + journal}));
        store = SettingsStore::open(database, &error);
        QVERIFY2(store, qPrintable(error));
        QCOMPARE(store->ReadField(Table::Path1).value(), std::optional(u"C:\\docs"_s));
        store.reset();
        QCOMPARE(
            setUpSettings({install.path(), {}}, {findAccount(currentAccount().name), {}}, &done),
            QString());
        QCOMPARE(done.last(), mine);
        QCOMPARE(findAccount(u"no such user here"_s), std::nullopt);
        QCOMPARE(giveTo(database, {u"no such user here"_s}),
                 u"there is no account no such user here"_s);

        // Settings the user may not change are opened all the same, unsaved, saying why.
        const QString reasons[][2] = {
            {u"xcopy.mdb"_s, u"you are not allowed to change it"_s},
            {u"xcopy.mdb-journal"_s, "you are not allowed to change its journal " + journal}};
        for (const auto &[readOnly, reason] : reasons) {
            QVERIFY(QFile::setPermissions(install.filePath(readOnly), QFile::ReadOwner));
            store = SettingsStore::open(database, &error);
            QFile::setPermissions(install.filePath(readOnly), QFile::ReadOwner | QFile::WriteOwner);
            QVERIFY2(store, qPrintable(error));
            QCOMPARE(store->unsavedReason(), reason);
            store.reset();
        }
    }

    // The user may read, change and delete the settings ("Modify", 0x1301bf) but not their
    // access list; the system and the administrators have full control; nobody else has any
    // entry, and the folder's entries do not reach the file (P).
    void accessListLetsTheUserAloneChange()
    {
        const QString user = accountSid(currentAccount().name);
        QVERIFY(user.startsWith(u"S-1-5-"_s));
        QCOMPARE(privateAccessList(user),
                 "D:P(A;;FA;;;SY)(A;;FA;;;BA)(A;;0x1301bf;;;" + user + ')');
    }
};

QTEST_GUILESS_MAIN(tst_WindowsSettings)
#include "tst_windowssettings.moc"
