// The text forms of times and dates, the same in every locale: the clock's labels, the list of
// times and the stored dates must agree character for character.
#pragma once

#include <QDate>
#include <QString>
#include <QTime>

QString timeText(const QTime &time);     // "1:00:00 PM", "12:01:00 AM"
QString dateText(const QDate &date);     // "3/5/2026"
QTime timeFromText(const QString &text); // invalid when the text is not a time text
QDate dateFromText(const QString &text); // invalid when the text is not a date text

QString storedDate(const QDate &date);     // "2026-03-05"
QDate dateFromStored(const QString &text); // invalid when the text is not a stored date
