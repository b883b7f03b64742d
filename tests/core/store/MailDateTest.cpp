#include "MailDate.h"
#include "CoreTest.h"

#include <limits>

struct Parsed { const char *text; qint64 year, month, day, hour, minute, second, offset; };

const Parsed kValid[] = {
    {"Mon, 5 Dec 2026 08:25:02 +0900", 2026, 12, 5, 8, 25, 2, 32400}, {"5 Dec 2026 08:25:02 GMT", 2026, 12, 5, 8, 25, 2, 0},
    {"5 dec 26 08:25 PST", 2026, 12, 5, 8, 25, 0, -28800}, {"31 Dec 99 23:59:59", 1999, 12, 31, 23, 59, 59, 32400},
    {"1 Jan 89 00:00:00", 2089, 1, 1, 0, 0, 0, 32400}, {"1 Jan 100 00:00:00", 100, 1, 1, 0, 0, 0, 32400},
    {"5-Dec-2026 08:25:02 Z", 2026, 12, 5, 8, 25, 2, 0},
    {"5-Dec-2026 08:25:02 J", 2026, 12, 5, 8, 25, 2, 32400},    // there is no J
    {"5-Dec-2026 08:25:02 z", 2026, 12, 5, 8, 25, 2, 32400},    // letters are case-sensitive
    {"5 Dec 2026 08:25:02", 2026, 12, 5, 8, 25, 2, 32400}, {"5 Dec 2026 08:25:02 GMT\r", 2026, 12, 5, 8, 25, 2, 32400},
    {"5 Dec 2026 08:25:02 +0530", 2026, 12, 5, 8, 25, 2, 19800},
    // Only ':' brings seconds; the rest is then no zone.
    {"5 Dec 2026 8.25.02 +0100", 2026, 12, 5, 8, 25, 0, 32400},
    {"5 Dec 2026 08:25:  +0100", 2026, 12, 5, 8, 25, 0, 3600}, // no digit after ':' is second 0
    {"  Tue,\t05 NOV 2002 1:2:3 -0000", 2002, 11, 5, 1, 2, 3, 0},
    // Out-of-range values pass through unchanged.
    {"40 Feb 2026 25:61:99 +0000", 2026, 2, 40, 25, 61, 99, 0},
    // Numbers saturate instead of overflowing.
    {"99999999999999999999 Jan 99999999999999 1:2", 2147483647, 1, 2147483647, 1, 2, 0, 32400},
    // Short or malformed numeric zones are never read past the text's end.
    {"5 Dec 2026 08:25:02 +", 2026, 12, 5, 8, 25, 2, 32400},
    {"5 Dec 2026 08:25:02 +09x0", 2026, 12, 5, 8, 25, 2, 32400},
};

const char *const kInvalid[] = {
    "", "5 \xc3\xa9 2026 08:25",
    "Dec 5 2026 08:25",   // month first
    "5 Dec 2026",         // no time
    "00 Dec 2026 08:25",  // day 0
    "5 Foo 2026 08:25",   // no month name
    "5 Dec 2026 08:25:",  // ends right after ':'
};

// The text in a buffer of exactly its length, so the sanitizers catch a read past the end.
static std::unique_ptr<char[]> exact(const char *text)
{
    const size_t n = std::strlen(text) + 1;
    auto buf = std::make_unique<char[]>(n);
    std::memcpy(buf.get(), text, n);
    return buf;
}

TEST(ParseDateString, ValidAndInvalidTexts)
{
    for (const Parsed &p : kValid) {
        SCOPED_TRACE(p.text);
        qint64 f[7] = {};
        ASSERT_EQ(ParseDateString(exact(p.text).get(), f), 0);
        EXPECT_EQ(std::vector<qint64>(f, f + 7),
                  (std::vector<qint64>{p.year, p.month, p.day, p.hour, p.minute, p.second, p.offset}));
    }
    for (const char *text : kInvalid) {
        qint64 f[7] = {};
        EXPECT_EQ(ParseDateString(exact(text).get(), f), -1) << text;
    }
    qint64 f[7];
    EXPECT_EQ(ParseDateString(nullptr, f), -1);
}

TEST(MailDate, NormalisesOutOfRangeFieldsEmptyDistantPastAndOrder)
{
    struct Case { qint64 y, mo, d, h, mi, s, off; const char *want; } cases[] = {
        {2026, 13, 1, 0, 0, 0, 0, "2027-01-01 00:00:00 +0000"},
        {2026, 2, 40, 25, 61, 99, 0, "2026-03-13 02:02:39 +0000"},
        {2026, 1, 1, 0, 0, -1, 0, "2025-12-31 23:59:59 +0000"},
        {2026, 12, 5, 8, 25, 2, 19800, "2026-12-05 08:25:02 +0530"},
        {-1, 1, 1, 0, 0, 0, 0, "-0001-01-01 00:00:00 +0000"},
        {12345, 6, 7, 8, 9, 10, 0, "12345-06-07 08:09:10 +0000"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(MailDate::fromFields(c.y, c.mo, c.d, c.h, c.mi, c.s, c.off).toListString(), QString::fromLatin1(c.want));
    // The parser's largest fields and the ends of the 64-bit range do not overflow either.
    const qint64 big = std::numeric_limits<qint64>::max(), small = std::numeric_limits<qint64>::min();
    for (qint64 v : {qint64(2147483647), big, small})
        EXPECT_FALSE(MailDate::fromFields(v, v, v, v, v, v, 0).toListString().isEmpty()) << v;
    const MailDate empty, past = MailDate::distantPast();
    EXPECT_EQ(empty.toListString(), QString());
    EXPECT_FALSE(empty.toDateTime().isValid());
    EXPECT_EQ(past.toDateTime(), QDateTime(QDate(1, 1, 1), QTime(0, 0), Qt::UTC));

    const MailDate a = *CString2Date("5 Dec 2026 08:25:02 +0900");
    const MailDate b = *CString2Date("5 Dec 2026 08:25:02 +0000");
    EXPECT_EQ(a.compare(*CString2Date("4 Dec 2026 23:25:02 GMT")), 0); // one instant, two zones
    EXPECT_EQ(a.toDateTime().offsetFromUtc(), 32400);
    EXPECT_EQ(empty.compare(MailDate()), 0);
    EXPECT_EQ(empty.compare(past), -1); // the empty date sorts first
    EXPECT_EQ(past.compare(a), -1);
    EXPECT_EQ(a.compare(b), -1); // 08:25 in Tokyo is earlier than 08:25 in London
    EXPECT_EQ(b.compare(a), 1);
}
