// Fuzzes the "Date:" parser, the list text of what it builds and the date
// column's formatter over every date it can give.
#include "CalendarFormat.h"
#include "MailDate.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

// Every directive, each once, and a percent at the very end.
const wex::CalendarFormat &AllDirectives()
{
    static const wex::CalendarFormat format(QStringLiteral("%a %A %b %B %d %e %F %H %I %j %m %M %p %S %w %y %Y %Z %z %% %q %"));
    return format;
}

void Format(const wex::MailDate &d)
{
    static const wex::CalendarFormat standard;
    if (standard.stringFor(d).isEmpty() || AllDirectives().stringFor(d).isEmpty())
        __builtin_trap(); // a date always shows something
    const wex::MailDate::LocalFields f = d.localFields();
    if (f.month < 1 || f.month > 12 || f.day < 1 || f.day > 31 || f.dayOfWeek < 1 || f.dayOfWeek > 7
        || f.dayOfYear < 1 || f.dayOfYear > 366 || f.hour < 0 || f.hour > 23 || f.minute < 0 || f.minute > 59
        || f.second < 0 || f.second > 59)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // A byte string ends at its first NUL; an exact-size copy lets the
    // sanitizer catch any read past it.
    const std::string text(reinterpret_cast<const char *>(data), size);
    qint64 fields[7];
    if (wex::ParseDateString(text.c_str(), fields) == 0) {
        const wex::MailDate d = wex::MailDate::fromFields(fields[0], fields[1], fields[2], fields[3],
                                                          fields[4], fields[5], fields[6]);
        (void)d.toListString();
        Format(d);
    }
    if (const auto d = wex::CString2Date(text.c_str())) {
        const QString s = d->toListString();
        if (s.isEmpty() || d->compare(*d) != 0 || d->compare(wex::MailDate()) != 1)
            __builtin_trap();
        Format(*d);
    }
    return 0;
}
