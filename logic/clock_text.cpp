#include "logic/clock_text.h"

namespace
{

// The locale's time separator, read from its short time format ("HH:mm", "H.mm"...). A literal
// there is quoted ("HH 'h' mm"), and the quotes are the format's, not the separator's.
QString timeSeparator(const QLocale &locale)
{
    const QString format = locale.timeFormat(QLocale::ShortFormat);
    qsizetype hour = 0;
    while (hour < format.size() && format[hour] != u'h' && format[hour] != u'H')
        ++hour;
    qsizetype start = hour;
    while (start < format.size() && (format[start] == u'h' || format[start] == u'H'))
        ++start;
    const auto minute = format.indexOf(u'm', start);
    return start > hour && minute > start ? format.mid(start, minute - start).remove(u'\'')
                                          : QStringLiteral(":");
}

QString twoDigits(int value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

} // namespace

QString clockText(const QDateTime &moment, const QLocale &locale)
{
    const QDate date = moment.date();
    const QTime time = moment.time();
    const QString separator = timeSeparator(locale);
    return locale.dayName(date.dayOfWeek(), QLocale::LongFormat) + u' ' + twoDigits(date.day()) +
           u' ' + locale.monthName(date.month(), QLocale::LongFormat) + u' ' +
           QStringLiteral("%1").arg(date.year(), 4, 10, QLatin1Char('0')) + QStringLiteral("  ") +
           twoDigits(time.hour()) + separator + twoDigits(time.minute()) + separator +
           twoDigits(time.second());
}

QString mediumTimeText(const QTime &time, const QLocale &locale)
{
    const int hour12 = time.hour() % 12 == 0 ? 12 : time.hour() % 12;
    return twoDigits(hour12) + timeSeparator(locale) + twoDigits(time.minute()) + u' ' +
           (time.hour() < 12 ? locale.amText() : locale.pmText());
}
