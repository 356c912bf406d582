#include "textforms.h"

#include <QLocale>

namespace {
const QString kTimeFormat = QStringLiteral("h:mm:ss AP");
const QString kDateFormat = QStringLiteral("M/d/yyyy");
} // namespace

QString timeText(const QTime &time)
{
    return QLocale::c().toString(time, kTimeFormat);
}

QString dateText(const QDate &date)
{
    return QLocale::c().toString(date, kDateFormat);
}

QTime timeFromText(const QString &text)
{
    return QLocale::c().toTime(text, kTimeFormat);
}

QDate dateFromText(const QString &text)
{
    return QLocale::c().toDate(text, kDateFormat);
}

QString storedDate(const QDate &date)
{
    return date.toString(Qt::ISODate);
}

QDate dateFromStored(const QString &text)
{
    return QDate::fromString(text, Qt::ISODate);
}
