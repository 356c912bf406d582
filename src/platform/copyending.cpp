#include "copyending.h"

#ifndef Q_OS_WIN
#include <cstring>
#endif

namespace {

enum ExitStatus { done = 0, nothingFound = 1, interrupted = 2, refused = 4, fileFailed = 5 };

QString refusal(const QString &firstFailure)
{
    if (firstFailure.startsWith(QLatin1String("Cannot perform a cyclic copy")))
        return QStringLiteral("The copy was refused: the destination lies inside the source.");
    if (firstFailure.isEmpty())
        return QStringLiteral("The copy was refused.");
    return QStringLiteral("The copy was refused: %1").arg(firstFailure);
}

#ifdef Q_OS_WIN
// Windows has no signals: a copy ended from outside, or by a fault, ends with a status of the
// system's, such as 0xC0000005.
QString systemStatus(int code)
{
    return QStringLiteral("0x%1").arg(uint(code), 8, 16, QLatin1Char('0'));
}
#endif

} // namespace

bool endedWell(const CopyEnding &ending)
{
    return !ending.bySignal && (ending.code == done || ending.code == nothingFound);
}

QString endingStatus(const CopyEnding &ending)
{
    if (!ending.bySignal)
        return QStringLiteral("exit status %1").arg(ending.code);
#ifdef Q_OS_WIN
    return QStringLiteral("stopped with status %1").arg(systemStatus(ending.code));
#else
    return QStringLiteral("signal %1").arg(ending.code);
#endif
}

QString endingWords(const CopyEnding &ending)
{
#ifdef Q_OS_WIN
    if (ending.bySignal)
        return QStringLiteral("The copy was stopped (status %1).").arg(systemStatus(ending.code));
#else
    if (ending.bySignal)
        return QStringLiteral("The copy was stopped by signal %1 (%2).")
            .arg(ending.code)
            .arg(QString::fromLocal8Bit(strsignal(ending.code)));
#endif
    switch (ending.code) {
    case done:
        return QStringLiteral("The copy is done.");
    case nothingFound:
        return QStringLiteral("The copy found no file to copy.");
    case interrupted:
        return QStringLiteral("The copy was interrupted.");
    case refused:
        return refusal(ending.firstFailure);
    case fileFailed:
        return ending.failureLines == 1
                   ? QStringLiteral("The copy ended with errors: 1 file could not be copied.")
                   : QStringLiteral("The copy ended with errors: %1 files could not be copied.")
                         .arg(ending.failureLines);
    default:
        return QStringLiteral("The copy ended with the unknown exit status %1.").arg(ending.code);
    }
}
