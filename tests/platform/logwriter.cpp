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
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 5)
        return 2;
    const RunLog log(arguments[1]);
    const int count = arguments[3].toInt();
    const QByteArray output(arguments[4].toInt(), 'x');
    for (int n = 1; n <= count; ++n) {
        const Outcome appended = log.append(
            {arguments[2] + ' ' + QString::number(n), {}, output + '\n', {}, "exit status 0."});
        if (!appended.ok()) {
            std::fprintf(stderr, "%s\n", qPrintable(appended.why()));
            return 1;
        }
        QThread::msleep(1);
    }
    return 0;
}
