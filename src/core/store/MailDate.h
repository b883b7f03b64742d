#pragma once
// Mail dates: the "Date:" header grammar and the date value a title carries.
#include <QDateTime>
#include <QString>
#include <cstdint>
#include <optional>

namespace wex {

// An instant with the fixed UTC offset it was written in, or the empty date
// (a "Date:" line that did not parse). Cheap to copy and compare: a folder of
// 100,000 mails holds 100,000 of these.
class MailDate {
public:
    MailDate() = default; // the empty date
    static MailDate distantPast(); // 0001-01-01 00:00:00 UTC, a title's default
    // Builds a date from calendar fields taken as written in the given offset.
    // Out-of-range fields are normalised arithmetically (month 13 is January of
    // the next year, hour 25 is 01:00 of the next day) and never fail.
    static MailDate fromFields(qint64 year, qint64 month, qint64 day, qint64 hour,
                               qint64 minute, qint64 second, qint64 offsetSeconds);
    // A file-system time, shown in the process's local zone at that instant.
    static MailDate fromUnixTimeLocal(qint64 secondsSinceEpoch);

    bool isEmpty() const { return empty_; }
    qint64 secondsSinceEpoch() const { return seconds_; }
    int offsetSeconds() const { return offset_; }

    // Empty sorts before every date; dates compare by instant. -1, 0 or 1.
    int compare(const MailDate &other) const;
    bool operator==(const MailDate &other) const { return compare(other) == 0; }

    // The calendar fields of the date in its own offset: proleptic Gregorian
    // with a year 0 (the year before 1), defined for every date a MailDate
    // holds; all 0 for the empty date.
    struct LocalFields {
        qint64 year = 0;
        int month = 0, day = 0; // 1..12, 1..31
        int hour = 0, minute = 0, second = 0;
        int dayOfWeek = 0; // 1 Monday .. 7 Sunday
        int dayOfYear = 0; // 1..366
    };
    LocalFields localFields() const;

    // "YYYY-MM-DD HH:MM:SS +HHMM" in the date's own offset; "" when empty.
    QString toListString() const;
    // The same instant for display; invalid when empty.
    QDateTime toDateTime() const;

private:
    bool empty_ = true;
    qint64 seconds_ = 0; // since 1970-01-01 00:00:00 UTC
    int offset_ = 0;     // seconds east of UTC
};

// Zone offset used when a date names none: the suite's home zone, UTC+9.
inline constexpr int kDefaultZoneOffset = 32400;

// Parses a "Date:" value into year, month, day, hour, minute, second and zone
// offset (seconds east). 0 on success, -1 on failure. Never reads past the
// text's NUL; numbers saturate instead of overflowing.
int ParseDateString(const char *text, qint64 fields[7]);
// The parsed date, or nullopt when ParseDateString fails.
std::optional<MailDate> CString2Date(const char *text);

} // namespace wex
