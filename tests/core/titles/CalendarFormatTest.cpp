// The date column's calendar format at the edges of the calendar and far outside it.
#include "CalendarFormat.h"
#include "CoreTest.h"

// Dates that once formatted wrongly or crashed.
TEST(CalendarFormatTest, EdgesOfTheCalendarAndDatesFarOutsideIt)
{
    const CalendarFormat hours(QStringLiteral("%Y-%m-%d %H %I %p %z"));
    const std::pair<MailDate, QString> cases[] = {
        {MailDate::fromFields(2026, 1, 1, 0, 30, 0, -5 * 3600 - 1800), "2026-01-01 00 12 AM -0530"},
        {MailDate::fromFields(1969, 12, 31, 23, 0, 0, 0), "1969-12-31 23 11 PM +0000"},
        {MailDate::distantPast(), "1-01-01 00 12 AM +0000"},
        {MailDate(), ""}, // the empty date shows nothing
    };
    for (const auto &[date, expected] : cases)
        EXPECT_EQ(hours.stringFor(date), expected);
    // Year 2147483647 lies 47 years into a 400-year cycle, as 2047 does: the same weekdays.
    const CalendarFormat all(QStringLiteral("%a %A %b %B %d %e %j %m %w %y %Y %H:%M:%S %p %z"));
    EXPECT_EQ(all.stringFor(MailDate::fromFields(2147483647, 12, 31, 23, 59, 59, 0)),
              QStringLiteral("Tue Tuesday Dec December 31 31 365 12 2 47 2147483647 23:59:59 PM +0000"));
    // The parser's largest fields, either way of the zone: past every 32-bit year, still a whole day.
    for (const char *text : {"2147483647 Dec 2147483647 2147483647:2147483647:2147483647 -9959",
                             "2147483647 Dec 2147483647 2147483647:2147483647:2147483647 +9959"}) {
        const std::optional<MailDate> far = CString2Date(text);
        ASSERT_TRUE(far) << text;
        const QStringList fields = all.stringFor(*far).split(QLatin1Char(' '));
        ASSERT_EQ(fields.size(), 14) << text;
        EXPECT_TRUE(QStringList({"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"}).contains(fields[0])) << text;
        EXPECT_GT(fields[10].toLongLong(), 2147483647LL) << text;
    }
}

