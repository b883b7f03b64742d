// Fuzzes the "Date:" parser and the list text of what it builds.
#include "MailDate.h"

#include <cstddef>
#include <cstdint>
#include <string>

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
    }
    if (const auto d = wex::CString2Date(text.c_str())) {
        const QString s = d->toListString();
        if (s.isEmpty() || d->compare(*d) != 0 || d->compare(wex::MailDate()) != 1)
            __builtin_trap();
    }
    return 0;
}
