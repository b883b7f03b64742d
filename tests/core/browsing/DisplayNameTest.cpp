// How names that are not valid UTF-8 or hold control characters show.
#include "DisplayName.h"
#include "CoreTest.h"

TEST(DisplayNameTest, WellFormedUtf8ShowsAsTextAndEveryOtherByteEscaped)
{
    const struct { QByteArray bytes; QString shown; } cases[] = {
        {"InBox", QStringLiteral("InBox")},
        {"", QString()},
        {"\xc3\xa9t\xc3\xa9 \xe3\x83\xa1\xe3\x83\xbc\xe3\x83\xab", QString::fromUtf8("\xc3\xa9t\xc3\xa9 \xe3\x83\xa1\xe3\x83\xbc\xe3\x83\xab")},
        {"\xf0\x9f\x93\xa7", QString::fromUtf8("\xf0\x9f\x93\xa7")}, // four bytes, past the BMP
        {"caf\xe9", QStringLiteral("caf\\xE9")},                     // Latin-1
        {"\xe9t\xe9", QStringLiteral("\\xE9t\\xE9")},
        {"a\xe3\x81", QStringLiteral("a\\xE3\\x81")},                // cut short at the end
        {"\xe3\x81z", QStringLiteral("\\xE3\\x81z")},                // cut short inside
        {"\xc0\xaf", QStringLiteral("\\xC0\\xAF")},                  // overlong "/"
        {"\xed\xa0\x80", QStringLiteral("\\xED\\xA0\\x80")},         // a surrogate
        {"\xf4\x90\x80\x80", QStringLiteral("\\xF4\\x90\\x80\\x80")}, // past U+10FFFF
        {"a\nb\tc\x7f", QStringLiteral("a\\x0Ab\\x09c\\x7F")},       // controls never reach a title
        {"\xc2\x85|\xc2\xa0", QStringLiteral("\\xC2\\x85|") + QChar(0xA0)}, // C1 control, then NBSP
    };
    for (const auto &c : cases)
        EXPECT_EQ(DisplayName(c.bytes), c.shown) << c.bytes.toHex().constData();
}
