#include "CalendarFormat.h"

#include <QDate>

namespace wex {
namespace {

const char *const kWeekdays[] = {"Monday", "Tuesday", "Wednesday", "Thursday",
                                 "Friday", "Saturday", "Sunday"};
const char *const kMonths[] = {"January", "February", "March", "April", "May", "June", "July",
                               "August", "September", "October", "November", "December"};

qint64 floorDiv(qint64 a, qint64 b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

QString padded(qint64 value, int width)
{
    return QStringLiteral("%1").arg(value, width, 10, QLatin1Char('0'));
}

QString offsetText(int offset)
{
    const QChar sign = offset < 0 ? QLatin1Char('-') : QLatin1Char('+');
    const int a = offset < 0 ? -offset : offset;
    return sign + padded(a / 3600, 2) + padded((a % 3600) / 60, 2);
}

} // namespace

QString CalendarFormat::stringFor(const MailDate &date) const
{
    if (date.isEmpty())
        return QString();
    return stringFor(date.secondsSinceEpoch(), date.offsetSeconds());
}

QString CalendarFormat::stringFor(qint64 secondsSinceEpoch, int offsetSeconds) const
{
    const qint64 local = secondsSinceEpoch + offsetSeconds;
    const qint64 days = floorDiv(local, 86400);
    const qint64 secondOfDay = local - days * 86400;
    const QDate day = QDate(1970, 1, 1).addDays(days);
    const int hour = int(secondOfDay / 3600), minute = int(secondOfDay % 3600 / 60),
              second = int(secondOfDay % 60);
    const int hour12 = hour % 12 == 0 ? 12 : hour % 12;

    QString out;
    out.reserve(format_.size() + 16);
    for (qsizetype i = 0; i < format_.size(); ++i) {
        const QChar c = format_.at(i);
        if (c != QLatin1Char('%') || i + 1 >= format_.size()) {
            out += c;
            continue;
        }
        const QChar d = format_.at(++i);
        switch (d.unicode()) {
        case 'a': out += QLatin1String(kWeekdays[day.dayOfWeek() - 1], 3); break;
        case 'A': out += QLatin1String(kWeekdays[day.dayOfWeek() - 1]); break;
        case 'b': out += QLatin1String(kMonths[day.month() - 1], 3); break;
        case 'B': out += QLatin1String(kMonths[day.month() - 1]); break;
        case 'd': out += padded(day.day(), 2); break;
        case 'e': out += QString::number(day.day()); break;
        case 'F': out += QLatin1String("000"); break;
        case 'H': out += padded(hour, 2); break;
        case 'I': out += padded(hour12, 2); break;
        case 'j': out += padded(day.dayOfYear(), 3); break;
        case 'm': out += padded(day.month(), 2); break;
        case 'M': out += padded(minute, 2); break;
        case 'p': out += QLatin1String(hour < 12 ? "AM" : "PM"); break;
        case 'S': out += padded(second, 2); break;
        case 'w': out += QString::number(day.dayOfWeek() % 7); break;
        case 'y': out += padded(((day.year() % 100) + 100) % 100, 2); break;
        case 'Y': out += QString::number(day.year()); break;
        case 'Z': out += QLatin1String("GMT") + offsetText(offsetSeconds); break;
        case 'z': out += offsetText(offsetSeconds); break;
        case '%': out += QLatin1Char('%'); break;
        default:
            out += c;
            out += d;
            break;
        }
    }
    return out;
}

} // namespace wex
