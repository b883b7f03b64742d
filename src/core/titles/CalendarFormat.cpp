#include "CalendarFormat.h"

namespace wex {
namespace {

// Indexed by LocalFields::dayOfWeek - 1 (Monday first) and month - 1.
const char *const kWeekdays[7] = {"Monday", "Tuesday", "Wednesday", "Thursday",
                                  "Friday", "Saturday", "Sunday"};
const char *const kMonths[12] = {"January", "February", "March", "April", "May", "June", "July",
                                 "August", "September", "October", "November", "December"};

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
    // Calendar fields of our own: every date a MailDate holds has them, far
    // beyond the years other calendar types can represent.
    const MailDate::LocalFields f = date.localFields();
    const int hour12 = f.hour % 12 == 0 ? 12 : f.hour % 12;
    const char *const weekday = kWeekdays[f.dayOfWeek - 1];
    const char *const month = kMonths[f.month - 1];

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
        case 'a': out += QLatin1String(weekday, 3); break;
        case 'A': out += QLatin1String(weekday); break;
        case 'b': out += QLatin1String(month, 3); break;
        case 'B': out += QLatin1String(month); break;
        case 'd': out += padded(f.day, 2); break;
        case 'e': out += QString::number(f.day); break;
        case 'F': out += QLatin1String("000"); break;
        case 'H': out += padded(f.hour, 2); break;
        case 'I': out += padded(hour12, 2); break;
        case 'j': out += padded(f.dayOfYear, 3); break;
        case 'm': out += padded(f.month, 2); break;
        case 'M': out += padded(f.minute, 2); break;
        case 'p': out += QLatin1String(f.hour < 12 ? "AM" : "PM"); break;
        case 'S': out += padded(f.second, 2); break;
        case 'w': out += QString::number(f.dayOfWeek % 7); break;
        case 'y': out += padded(((f.year % 100) + 100) % 100, 2); break;
        case 'Y': out += QString::number(f.year); break;
        case 'Z': out += QLatin1String("GMT") + offsetText(date.offsetSeconds()); break;
        case 'z': out += offsetText(date.offsetSeconds()); break;
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
