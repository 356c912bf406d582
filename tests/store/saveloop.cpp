// Saves without end through the settings store, printing the number of each round once all of
// its saves are final: a program to be killed in the middle of saving. Each start goes on from
// the last round saved.
#include "store/settingsstore.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QString error;
    const auto store = SettingsStore::open(QCoreApplication::arguments().value(1), &error);
    if (!store)
        qFatal("%s", qPrintable(error));
    QTextStream out(stdout);
    for (int round = store->ReadNewestField(Table::Path1).value().value_or("").toInt() + 1;;
         ++round) {
        const QString value = QString::number(round);
        const Outcome saved = store->ReplaceRecord(Table::Date, value).andThen([&] {
            return store->AppendRecord(Table::Path1, value);
        });
        if (!saved.ok())
            qFatal("%s", qPrintable(saved.why()));
        out << round << Qt::endl;
    }
}
