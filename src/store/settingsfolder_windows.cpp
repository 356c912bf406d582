// Built on Windows only: the fixed path in the installation folder is the settings database
// itself, with no link. The folder is the administrators'; the database and the journal SQLite
// keeps beside it (made here, so that SQLite never needs to create or delete a file in the
// folder) are the one user's to change, through their access lists.
#include "settingsfolder.h"

#include "platform/windowsaccess.h"
#include "settingsschema.h"

#include <QDir>
#include <QFile>

namespace {

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

QString makeJournal(const QString &journal)
{
    QFile file(journal);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        return QStringLiteral("Could not create the settings database's journal %1: %2")
            .arg(native(journal), file.errorString());
    }
    return {};
}

QString handOver(const QStringList &files, const Account &account)
{
    for (const QString &file : files) {
        if (QString problem = giveTo(file, account); !problem.isEmpty())
            return QStringLiteral("Could not give %1 to %2: %3")
                .arg(native(file), account.name, problem);
    }
    return {};
}

} // namespace

QString settingsDatabasePath(const QString &installFolder)
{
    return QDir(installFolder).filePath(QStringLiteral("xcopy.mdb"));
}

QString setUpSettings(const SettingsLocation &location, const SettingsOwners &owners,
                      QStringList *done)
{
    const QString database = settingsDatabasePath(location.installFolder);
    const QString journal = database + QStringLiteral("-journal");

    QString error;
    const CreateResult created = createSettingsDatabase(database, &error);
    if (created == CreateResult::Failed) {
        return QStringLiteral("Could not create the settings database %1: %2")
            .arg(native(database), error);
    }
    *done << (created == CreateResult::Created ? QStringLiteral("Created the settings database %1")
                                               : QStringLiteral("Kept the existing settings "
                                                                "database %1"))
                 .arg(native(database));
    if (!QFile::exists(journal)) {
        if (QString problem = makeJournal(journal); !problem.isEmpty())
            return problem;
        *done << QStringLiteral("Created its journal %1").arg(native(journal));
        // Kept settings keep their owner, whose the journal becomes too.
        if (created == CreateResult::AlreadyPresent && !owners.handOverTo) {
            if (QString problem = copyAccessList(database, journal); !problem.isEmpty())
                return QStringLiteral("Could not give %1 the access of %2: %3")
                    .arg(native(journal), native(database), problem);
        }
    }

    // New settings are the installing user's; kept ones stay whose they are unless handed over.
    std::optional<Account> owner = owners.handOverTo;
    if (!owner && created == CreateResult::Created)
        owner = owners.newOwner.value_or(currentAccount());
    if (!owner)
        return {};
    if (QString problem = handOver({database, journal}, *owner); !problem.isEmpty())
        return problem;
    *done << QStringLiteral("%1 and its journal may be changed by %2 alone")
                 .arg(native(database), owner->name);
    return {};
}
