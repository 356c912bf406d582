// Appends 1000 entries titled "LABEL n", each with 3000 bytes of output, to the run log at PATH, a
// millisecond apart, as copies end one after another: one of two programs writing the log at the
// same time. Says why an entry could not be written, and ends with status 1.
#include "platform/runlog.h"

#include <QCoreApplication>
#include <QThread>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments(); // PATH LABEL
    const RunLog log(arguments.value(1));
    for (int n = 1; n <= 1000; ++n) {
        const QString title = arguments.value(2) + ' ' + QString::number(n);
        const Outcome appended =
            log.append({title, {}, QByteArray(3000, 'x') + '\n', {}, "exit status 0."});
        if (!appended.ok()) {
            std::fprintf(stderr, "%s\n", qPrintable(appended.why()));
            return 1;
        }
        QThread::msleep(1);
    }
    return 0;
}
