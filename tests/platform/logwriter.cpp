// Appends COUNT entries titled "LABEL n", each with SIZE bytes of output, to the run log at PATH,
// a millisecond apart, as copies end one after another: one of two programs writing the log at
// the same time.
#include "platform/runlog.h"

#include <QCoreApplication>
#include <QThread>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments(); // PATH LABEL COUNT SIZE
    const RunLog log(arguments.value(1));
    const QByteArray output = QByteArray(arguments.value(4).toInt(), 'x') + '\n';
    for (int n = 1; n <= arguments.value(3).toInt(); ++n) {
        const QString title = arguments[2] + ' ' + QString::number(n);
        const Outcome appended = log.append({title, {}, output, {}, "exit status 0."});
        if (!appended.ok()) {
            std::fprintf(stderr, "%s\n", qPrintable(appended.why()));
            return 1;
        }
        QThread::msleep(1);
    }
    return 0;
}
