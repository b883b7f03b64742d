// The date column's calendar format: every directive, in the date's own offset.
#include "CalendarFormat.h"

#include <gtest/gtest.h>

namespace wex::test {
namespace {

TEST(CalendarFormatTest, DirectivesOffsetsAndTheEdgesOfTheCalendar)
{
    // 2026-12-06 07:05:09 at +0900, a Sunday, day 340 of the year.
    const MailDate date = MailDate::fromFields(2026, 12, 6, 7, 5, 9, 9 * 3600);
    const QString hours = QStringLiteral("%Y-%m-%d %H %I %p %z");
    const struct {
        MailDate date;
        QString format, expected;
    } cases[] = {
        {date, "%Y/%m/%d %H:%M", "2026/12/06 07:05"},
        {date, "%a %A %b %B", "Sun Sunday Dec December"},
        {date, "%e|%d|%j|%w", "6|06|340|0"},
        {date, "%I:%M:%S %p", "07:05:09 AM"},
        {date, "%y %Z %z %F", "26 GMT+0900 +0900 000"},
        {date, "100%% %q %", "100% %q %"}, // unknown directives and a trailing % stay as written
        {MailDate::fromFields(2026, 1, 1, 0, 30, 0, -5 * 3600 - 1800), hours, "2026-01-01 00 12 AM -0530"},
        {MailDate::fromFields(2024, 2, 29, 12, 0, 0, 0), hours, "2024-02-29 12 12 PM +0000"},
        {MailDate::fromFields(1969, 12, 31, 23, 0, 0, 0), hours, "1969-12-31 23 11 PM +0000"},
        {MailDate::distantPast(), hours, "1-01-01 00 12 AM +0000"},
        {MailDate(), hours, ""}, // the empty date shows nothing
    };
    for (const auto &c : cases)
        EXPECT_EQ(CalendarFormat(c.format).stringFor(c.date), c.expected) << c.format.toStdString();
}

TEST(CalendarFormatTest, DatesFarOutsideTheUsualCalendarFormatInFull)
{
    // Year 2147483647 lies 47 years into a 400-year cycle, as 2047 does: the
    // same weekdays.
    const CalendarFormat all(QStringLiteral("%a %A %b %B %d %e %j %m %w %y %Y %H:%M:%S %p %z"));
    EXPECT_EQ(all.stringFor(MailDate::fromFields(2147483647, 12, 31, 23, 59, 59, 0)),
              QStringLiteral("Tue Tuesday Dec December 31 31 365 12 2 47 2147483647 23:59:59 PM +0000"));
    // The largest fields the parser gives, either way of the zone: a year
    // past every 32-bit year, still a whole calendar day.
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

} // namespace
} // namespace wex::test
