// Puts the settings database in place: run by the install, and by an administrator to hand the
// settings to a user. Never overwrites the user's settings.
#include "platform/accounts.h"
#include "store/settingsfolder.h"

#include <QCoreApplication>
#include <QTextStream>

namespace {

// The desktop user who installs through sudo or pkexec; nobody from a root shell, whose install
// leaves new settings with root until they are handed over.
std::optional<Account> installingUser()
{
    if (currentAccount().userId != 0)
        return std::nullopt;
    if (const QString name = qEnvironmentVariable("SUDO_USER"); !name.isEmpty())
        return findAccount(name);
    bool isNumber = false;
    const unsigned int userId = qEnvironmentVariable("PKEXEC_UID").toUInt(&isNumber);
    return isNumber ? findAccount(userId) : std::nullopt;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList arguments = QCoreApplication::arguments();

    SettingsOwners owners;
    if (arguments.size() == 1) {
        owners.newOwner = installingUser();
    } else if (arguments.size() == 3 && arguments[1] == QLatin1String("--owner")) {
        owners.handOverTo = findAccount(arguments[2]);
        if (!owners.handOverTo) {
            err << "There is no user " << arguments[2] << "\n";
            return 2;
        }
    } else {
        err << "usage: revuredaveze-initdb [--owner USER]\n"
               "Creates the settings where there are none; with --owner, run as root (on "
               "Windows as an administrator), hands them to USER.\n";
        return 2;
    }

    QStringList done;
    const QString problem =
        setUpSettings({QStringLiteral(INSTALL_FOLDER), QStringLiteral(DATA_FOLDER)}, owners, &done);
    for (const QString &step : done)
        out << step << "\n";
    if (!problem.isEmpty()) {
        err << problem << "\n";
        return 1;
    }
    return 0;
}
