#pragma once
// The clock texts: the status bar's date and time and the title of a minimised window.

#include <QDateTime>
#include <QLocale>
#include <QString>

// "dddd dd mmmm yyyy  hh:mm:ss": full weekday, two-digit day, full month, four-digit year, two
// spaces, then the time on the 24-hour clock with the locale's time separator.
QString clockText(const QDateTime &moment, const QLocale &locale);

// The "Medium Time" form: two-digit hour on the 12-hour clock, minutes, a space and the
// locale's AM/PM designator.
QString mediumTimeText(const QTime &time, const QLocale &locale);
