#include "MailDate.h"

#include <climits>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace wex {

namespace {

using Wide = __int128; // calendar arithmetic on arbitrary 64-bit fields never overflows

// Instants are kept within about +-3 billion years so that every later sum
// (instant + offset, days -> civil date) fits comfortably in 64 bits.
constexpr qint64 kMaxSeconds = 100'000'000'000'000'000LL;
// A zone offset is at most 99 hours 59 minutes either way ("+HHMM").
constexpr qint64 kMaxOffset = (99 * 60 + 59) * 60;

Wide floorDiv(Wide a, Wide b)
{
    Wide q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

// Days since 1970-01-01 of a proleptic Gregorian date (month 1..12).
Wide daysFromCivil(Wide y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const Wide era = floorDiv(y, 400);
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<Wide>(doe) - 719468;
}

struct Civil {
    qint64 year;
    unsigned month, day;
};

Civil civilFromDays(qint64 z)
{
    z += 719468;
    const qint64 era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    const qint64 y = static_cast<qint64>(yoe) + era * 400 + (m <= 2);
    return {y, m, d};
}

qint64 clampSeconds(Wide s)
{
    if (s > kMaxSeconds)
        return kMaxSeconds;
    if (s < -kMaxSeconds)
        return -kMaxSeconds;
    return static_cast<qint64>(s);
}

} // namespace

MailDate MailDate::distantPast()
{
    return fromFields(1, 1, 1, 0, 0, 0, 0);
}

MailDate MailDate::fromFields(qint64 year, qint64 month, qint64 day, qint64 hour, qint64 minute,
                              qint64 second, qint64 offsetSeconds)
{
    if (offsetSeconds > kMaxOffset)
        offsetSeconds = kMaxOffset;
    if (offsetSeconds < -kMaxOffset)
        offsetSeconds = -kMaxOffset;
    const Wide m0 = static_cast<Wide>(month) - 1;
    const Wide y = static_cast<Wide>(year) + floorDiv(m0, 12);
    const unsigned m = static_cast<unsigned>(m0 - floorDiv(m0, 12) * 12) + 1;
    const Wide days = daysFromCivil(y, m, 1) + static_cast<Wide>(day) - 1;
    const Wide total = days * 86400 + static_cast<Wide>(hour) * 3600 + static_cast<Wide>(minute) * 60
                       + static_cast<Wide>(second) - offsetSeconds;
    MailDate d;
    d.empty_ = false;
    d.seconds_ = clampSeconds(total);
    d.offset_ = static_cast<int>(offsetSeconds);
    return d;
}

MailDate MailDate::fromUnixTimeLocal(qint64 secondsSinceEpoch)
{
    const qint64 s = clampSeconds(secondsSinceEpoch);
    long offset = 0;
    const time_t t = static_cast<time_t>(s);
    struct tm tmv;
    if (localtime_r(&t, &tmv))
        offset = tmv.tm_gmtoff;
    if (offset > kMaxOffset || offset < -kMaxOffset)
        offset = 0;
    MailDate d;
    d.empty_ = false;
    d.seconds_ = s;
    d.offset_ = static_cast<int>(offset);
    return d;
}

int MailDate::compare(const MailDate &other) const
{
    if (empty_ || other.empty_)
        return empty_ == other.empty_ ? 0 : (empty_ ? -1 : 1);
    if (seconds_ != other.seconds_)
        return seconds_ < other.seconds_ ? -1 : 1;
    return 0;
}

MailDate::LocalFields MailDate::localFields() const
{
    LocalFields f;
    if (empty_)
        return f;
    const qint64 local = seconds_ + offset_;
    const qint64 days = static_cast<qint64>(floorDiv(local, 86400));
    const qint64 secOfDay = local - days * 86400;
    const Civil c = civilFromDays(days);
    f.year = c.year;
    f.month = static_cast<int>(c.month);
    f.day = static_cast<int>(c.day);
    f.hour = static_cast<int>(secOfDay / 3600);
    f.minute = static_cast<int>(secOfDay / 60 % 60);
    f.second = static_cast<int>(secOfDay % 60);
    const qint64 fromMonday = days + 3; // day 0, 1970-01-01, was a Thursday
    f.dayOfWeek = static_cast<int>(fromMonday - static_cast<qint64>(floorDiv(fromMonday, 7)) * 7) + 1;
    f.dayOfYear = static_cast<int>(days - daysFromCivil(c.year, 1, 1)) + 1;
    return f;
}

QString MailDate::toListString() const
{
    if (empty_)
        return QString();
    const LocalFields f = localFields();
    const int off = offset_ < 0 ? -offset_ : offset_;
    char buf[96];
    // Years before 1 print with their sign ("-0001"), years past 9999 with all
    // their digits: the text grows instead of wrapping.
    std::snprintf(buf, sizeof buf, "%s%04lld-%02d-%02d %02d:%02d:%02d %c%02d%02d",
                  f.year < 0 ? "-" : "", static_cast<long long>(f.year < 0 ? -f.year : f.year),
                  f.month, f.day, f.hour, f.minute, f.second,
                  offset_ < 0 ? '-' : '+', off / 3600, off / 60 % 60);
    return QString::fromLatin1(buf);
}

QDateTime MailDate::toDateTime() const
{
    if (empty_)
        return QDateTime();
    return QDateTime::fromSecsSinceEpoch(seconds_, Qt::OffsetFromUTC, offset_);
}

// ---------------------------------------------------------------------------
// The "Date:" grammar.

namespace {

const char *const kMonthNames[13] = {"DMY", "Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

struct ZoneName {
    const char *name;
    int hours;
};
const ZoneName kZoneNames[] = {{"JST", 9},  {"UT", 0},   {"GMT", 0},  {"EST", -5},
                               {"EDT", -4}, {"CST", -6}, {"CDT", -5}, {"MST", -7},
                               {"MDT", -6}, {"PST", -8}, {"PDT", -7}};

// A..M west, N..Y east; there is no J.
const ZoneName kMilitaryZones[] = {
    {"Z", 0},   {"A", -1},  {"B", -2},  {"C", -3},  {"D", -4},  {"E", -5},  {"F", -6},
    {"G", -7},  {"H", -8},  {"I", -9},  {"K", -10}, {"L", -11}, {"M", -12}, {"N", 1},
    {"O", 2},   {"P", 3},   {"Q", 4},   {"R", 5},   {"S", 6},   {"T", 7},   {"U", 8},
    {"V", 9},   {"W", 10},  {"X", 11},  {"Y", 12}};

// Byte classes on single bytes; bytes 128..255 belong to none.
bool isDigit(unsigned char c) { return c >= '0' && c <= '9'; }
bool isLetter(unsigned char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isSpace(unsigned char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
unsigned char lower(unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c; }

// The cursor over the NUL-terminated text; it never steps past the NUL.
struct Cursor {
    const unsigned char *p;

    bool atEnd() const { return *p == 0; }
    void skipToDigit()
    {
        while (*p && !isDigit(*p))
            ++p;
    }
    void skipDigits()
    {
        while (isDigit(*p))
            ++p;
    }
    void skipToLetter()
    {
        while (*p && !isLetter(*p))
            ++p;
    }
    // Decimal digits from the position; saturates at INT_MAX instead of
    // overflowing. The position does not move.
    qint64 number() const
    {
        qint64 v = 0;
        for (const unsigned char *q = p; isDigit(*q); ++q) {
            v = v * 10 + (*q - '0');
            if (v > INT_MAX)
                v = INT_MAX;
        }
        return v;
    }
    bool startsWithNoCase(const char *head) const
    {
        const unsigned char *q = p;
        for (; *head; ++head, ++q) {
            if (*q == 0 || lower(*q) != lower(static_cast<unsigned char>(*head)))
                return false;
        }
        return true;
    }
};

// The zone after the time: a signed "HHMM", one military letter, or a zone
// name that must make up the whole rest of the text. Anything else is the
// default zone.
qint64 parseZone(Cursor c)
{
    while (isSpace(*c.p))
        ++c.p;
    const unsigned char *p = c.p;
    if (*p == '+' || *p == '-') {
        // Only a complete group of four digits counts; a short or malformed
        // group (which may be the last bytes of the text) gives the default.
        for (int i = 1; i <= 4; ++i) {
            if (!isDigit(p[i]))
                return kDefaultZoneOffset;
        }
        const int hours = (p[1] - '0') * 10 + (p[2] - '0');
        const int minutes = (p[3] - '0') * 10 + (p[4] - '0');
        const qint64 offset = (static_cast<qint64>(hours) * 60 + minutes) * 60;
        return *p == '-' ? -offset : offset;
    }
    const char *rest = reinterpret_cast<const char *>(p);
    if (p[0] != 0 && p[1] == 0) {
        for (const ZoneName &z : kMilitaryZones) {
            if (z.name[0] == rest[0])
                return static_cast<qint64>(z.hours) * 3600;
        }
        return kDefaultZoneOffset;
    }
    for (const ZoneName &z : kZoneNames) {
        if (std::strcmp(z.name, rest) == 0)
            return static_cast<qint64>(z.hours) * 3600;
    }
    return kDefaultZoneOffset;
}

} // namespace

int ParseDateString(const char *text, qint64 fields[7])
{
    if (!text)
        return -1;
    Cursor c{reinterpret_cast<const unsigned char *>(text)};

    c.skipToDigit();
    const qint64 day = c.number();
    if (day == 0)
        return -1;
    fields[2] = day;

    c.skipDigits();
    c.skipToLetter();
    int month = 0;
    for (int m = 1; m <= 12; ++m) {
        if (c.startsWithNoCase(kMonthNames[m])) {
            month = m;
            break;
        }
    }
    if (month == 0)
        return -1;
    fields[1] = month;

    c.skipToDigit();
    if (c.atEnd())
        return -1;
    qint64 year = c.number();
    if (year < 90)
        year += 2000;
    else if (year < 100)
        year += 1900;
    fields[0] = year;

    c.skipDigits();
    c.skipToDigit();
    if (c.atEnd())
        return -1;
    fields[3] = c.number();

    c.skipDigits();
    c.skipToDigit();
    if (c.atEnd())
        return -1;
    fields[4] = c.number();

    c.skipDigits();
    fields[5] = 0;
    if (*c.p == ':') {
        ++c.p;
        if (c.atEnd())
            return -1;
        fields[5] = c.number();
        c.skipDigits();
    }

    fields[6] = parseZone(c);
    return 0;
}

std::optional<MailDate> CString2Date(const char *text)
{
    qint64 f[7];
    if (ParseDateString(text, f) != 0)
        return std::nullopt;
    return MailDate::fromFields(f[0], f[1], f[2], f[3], f[4], f[5], f[6]);
}

} // namespace wex
