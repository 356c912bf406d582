// Creates the settings database at the given path unless a file of that name exists. Run by the
// install; never overwrites the user's settings.
#include "store/settingsschema.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QTextStream err(stderr);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 2) {
        err << "usage: revuredaveze-initdb PATH-OF-xcopy.mdb\n";
        return 2;
    }
    QString error;
    switch (createSettingsDatabase(arguments[1], &error)) {
    case CreateResult::Created:
        QTextStream(stdout) << "Created the settings database " << arguments[1] << "\n";
        return 0;
    case CreateResult::AlreadyPresent:
        QTextStream(stdout) << "Kept the existing settings database " << arguments[1] << "\n";
        return 0;
    case CreateResult::Failed:
        break;
    }
    err << "Could not create the settings database " << arguments[1] << ": " << error << "\n";
    return 1;
}
