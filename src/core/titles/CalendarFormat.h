#pragma once
// The date column's formatter: an old-style calendar format of strftime-like
// directives, applied to a mail date in the UTC offset it was written in.
//
// Directives: %a %A (weekday), %b %B (month name), %d (day, 2 digits), %e (day),
// %F (milliseconds, always 000 here), %H %I (hour 24/12), %j (day of year),
// %m (month), %M (minute), %p (AM/PM), %S (second), %w (weekday number, Sunday
// 0), %y %Y (year), %Z (zone, "GMT+0900"), %z (offset, "+0900"), %% (percent).
// Any other directive is copied as written, so a format never fails.
// Years are proleptic Gregorian with a year 0 (the year before 1), printed
// with all their digits. Names are English: the format is a stored
// preference, not a locale.
#include "MailDate.h"
#include <QString>

namespace wex {

class CalendarFormat {
public:
    // The default format of the mail table's date column.
    static QString defaultFormat() { return QStringLiteral("%Y/%m/%d %H:%M"); }

    explicit CalendarFormat(const QString &format = defaultFormat(), bool allowNaturalLanguage = false)
        : format_(format), naturalLanguage_(allowNaturalLanguage) {}

    const QString &format() const { return format_; }
    // Kept and stored with the format; it only concerns parsing, never display.
    bool allowsNaturalLanguage() const { return naturalLanguage_; }

    // "" for the empty date. Defined for every date a MailDate can hold.
    QString stringFor(const MailDate &date) const;

private:
    QString format_;
    bool naturalLanguage_ = false;
};

} // namespace wex
