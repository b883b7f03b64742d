#include "TextDecoder.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

using namespace wex;

namespace {

QByteArray B(const char *s, qsizetype n = -1) { return n < 0 ? QByteArray(s) : QByteArray(s, n); }

struct Sample {
    const char *what;
    uint32_t encoding;
    QByteArray bytes;
    std::optional<QString> want; // nullopt: must be rejected
};

const uint32_t kEucKr = enc::fromCF(0x940), kCp949 = enc::fromCF(3), kBig5 = enc::fromCF(0xA03),
               kGbk = enc::fromCF(25), kEucCn = enc::fromCF(0x930);

std::vector<Sample> samples()
{
    const QString a = QString::fromUtf16(u"\u3042"); // HIRAGANA A
    return {
        {"ascii", enc::ASCII, B("ab\0cd", 5), QString::fromLatin1("ab\0cd", 5)},
        {"ascii 8-bit", enc::ASCII, B("ab\x80"), std::nullopt},
        {"latin1", enc::ISOLatin1, B("caf\xe9\x80"), QString::fromUtf16(u"caf\u00e9\u0080")},
        {"utf8", enc::UTF8, B("\xe3\x81\x82 \xf0\x9f\x98\x80"), QString::fromUtf16(u"\u3042 \U0001F600")},
        {"utf8 max", enc::UTF8, B("\xf4\x8f\xbf\xbf\xef\xbf\xbf"), QString::fromUtf16(u"\U0010FFFF\uFFFF")},
        {"utf8 overlong 2", enc::UTF8, B("\xc0\xaf"), std::nullopt},
        {"utf8 overlong 4", enc::UTF8, B("\xf0\x80\x80\xaf"), std::nullopt},
        {"utf8 surrogate", enc::UTF8, B("\xed\xa0\x80"), std::nullopt},
        {"utf8 too big", enc::UTF8, B("\xf4\x90\x80\x80"), std::nullopt},
        {"utf8 truncated", enc::UTF8, B("abcdefgh\xe3\x81"), std::nullopt},
        {"utf8 lone continuation", enc::UTF8, B("abcdefghij\x80"), std::nullopt},
        {"utf8 bad continuation", enc::UTF8, B("\xe3\x41\x82"), std::nullopt},
        {"sjis", enc::ShiftJIS, B("\x82\xa0\xb1\\~"), a + QString::fromUtf16(u"\uFF71\\~")},
        {"sjis NEC row 13", enc::ShiftJIS, B("\x87\x40"), QString::fromUtf16(u"\u2460")},
        {"sjis nul is data", enc::ShiftJIS, B("a\0b", 3), QString::fromLatin1("a\0b", 3)},
        {"sjis truncated", enc::ShiftJIS, B("\x82\xa0\x82"), std::nullopt},
        {"sjis unassigned", enc::ShiftJIS, B("\x85\x40"), std::nullopt},
        {"sjis 0x80", enc::ShiftJIS, B("\x80"), std::nullopt},
        {"euc-jp", enc::JapaneseEUC, B("\xa4\xa2\x8e\xb1"), a + QString::fromUtf16(u"\uFF71")},
        {"euc-jp truncated", enc::JapaneseEUC, B("\xa4"), std::nullopt},
        {"euc-jp unassigned", enc::JapaneseEUC, B("\xa9\xa1"), std::nullopt},
        {"jis", enc::ISO2022JP, B("x\x1b$B$\"\x1b(By"), "x" + a + "y"},
        {"jis 1978", enc::ISO2022JP, B("\x1b$@$\"\x1b(B"), a},
        {"jis kana", enc::ISO2022JP, B("\x1b(I12\x1b(B"), QString::fromUtf16(u"\uFF71\uFF72")},
        {"jis NEC row 13", enc::ISO2022JP, B("\x1b$B\x2d\x21\x1b(B"), QString::fromUtf16(u"\u2460")},
        {"jis NEC-selected IBM row", enc::ISO2022JP, B("\x1b$B\x79\x21\x1b(B"), QString::fromUtf16(u"\u7E8A")},
        {"jis empty", enc::ISO2022JP, QByteArray(), QString()},
        {"jis line end in kanji", enc::ISO2022JP, B("\x1b$B$\"\n$\"\x1b(B"), a + "\n" + a},
        {"jis no final reset", enc::ISO2022JP, B("\x1b$B$\""), a},
        {"jis gb2312", enc::ISO2022JP, B("\x1b$A\x30\x21\x1b(B"), QString::fromUtf16(u"\u554A")},
        {"jis truncated char", enc::ISO2022JP, B("\x1b$B$"), std::nullopt},
        {"jis truncated escape", enc::ISO2022JP, B("ab\x1b$"), std::nullopt},
        {"jis 8-bit", enc::ISO2022JP, B("a\xa4\xa2"), std::nullopt},
        {"jis kana out of range", enc::ISO2022JP, B("\x1b(I\x60"), std::nullopt},
        {"jis unassigned row", enc::ISO2022JP, B("\x1b$B\x29\x21\x1b(B"), std::nullopt},
        {"big5", kBig5, B("\xa4\x40"), QString::fromUtf16(u"\u4E00")},
        {"big5 invalid", kBig5, B("\xff\xff"), std::nullopt},
        {"euc-kr", kEucKr, B("\xb0\xa1"), QString::fromUtf16(u"\uAC00")},
        {"euc-kr rejects uhc", kEucKr, B("\xb0\x41"), std::nullopt},
        {"cp949 uhc trail", kCp949, B("\xb0\x41"), QString::fromUtf16(u"\uCE9A")},
        {"cp949 uhc", kCp949, B("\x81\x41"), QString::fromUtf16(u"\uAC02")},
        {"gbk", kGbk, B("\x81\x40"), QString::fromUtf16(u"\u4E02")},
        {"euc-cn rejects gbk", kEucCn, B("\x81\x40"), std::nullopt},
        {"euc-cn", kEucCn, B("\xb0\xa1"), QString::fromUtf16(u"\u554A")},
        {"utf16 be bom", enc::Unicode, B("\xfe\xff\x30\x42", 4), a},
        {"utf16 le bom", enc::Unicode, B("\xff\xfe\x42\x30", 4), a},
        {"utf16 no bom is be", enc::Unicode, B("\x30\x42\x00\x41", 4), a + "A"},
        {"utf16 pair", enc::Unicode, B("\xd8\x3d\xde\x00", 4), QString::fromUtf16(u"\U0001F600")},
        {"utf16 empty", enc::Unicode, QByteArray(), QString()},
        {"utf16 odd", enc::Unicode, B("\x30\x42\x00", 3), std::nullopt},
        {"utf16 lone high", enc::Unicode, B("\xd8\x00\x00\x41", 4), std::nullopt},
        {"utf16 high at end", enc::Unicode, B("\x00\x41\xd8\x00", 4), std::nullopt},
        {"mac roman", enc::MacOSRoman, B("\x8e"), QString::fromUtf16(u"\u00e9")},
        {"latin2", enc::ISOLatin2, B("\xb1"), QString::fromUtf16(u"\u0105")},
        {"latin3 hole", enc::fromCF(0x203), B("\xa5"), std::nullopt},
        {"greek", enc::fromCF(0x207), B("\xe1"), QString::fromUtf16(u"\u03B1")},
        {"thai hole", enc::fromCF(0x20B), B("\xdb"), std::nullopt},
        {"latin9 euro", enc::fromCF(0x20F), B("\xa4"), QString::fromUtf16(u"\u20AC")},
        {"unknown encoding", 12345, B("abc"), std::nullopt},
    };
}

} // namespace

TEST(TextDecoder, DecodesStrictlyPerCoding)
{
    TextDecoder decoder;
    for (const Sample &s : samples()) {
        SCOPED_TRACE(s.what);
        const std::optional<QString> got = decoder.decode(s.bytes, s.encoding);
        ASSERT_EQ(got.has_value(), s.want.has_value());
        if (got) {
            EXPECT_EQ(*got, *s.want);
        }
    }
}

TEST(TextDecoder, EveryKnownEncodingHasAConverter)
{
    TextDecoder decoder;
    const uint32_t encodings[] = {
        enc::ASCII, enc::JapaneseEUC, enc::UTF8, enc::ISOLatin1, enc::ShiftJIS, enc::ISOLatin2,
        enc::Unicode, enc::ISO2022JP, enc::MacOSRoman, kCp949, enc::fromCF(2), kGbk, kEucKr,
        kBig5, kEucCn, enc::fromCF(0x203), enc::fromCF(0x204), enc::fromCF(0x205),
        enc::fromCF(0x206), enc::fromCF(0x207), enc::fromCF(0x208), enc::fromCF(0x209),
        enc::fromCF(0x20A), enc::fromCF(0x20B), enc::fromCF(0x20D), enc::fromCF(0x20E),
        enc::fromCF(0x20F)};
    for (uint32_t e : encodings) {
        ASSERT_NE(ConverterNameForEncoding(e), nullptr) << e;
        if (e == enc::Unicode)
            continue; // these bytes are other characters in UTF-16
        const auto got = decoder.decode(QByteArrayView("Re: x\n"), e);
        ASSERT_TRUE(got.has_value()) << ConverterNameForEncoding(e);
        EXPECT_EQ(*got, QStringLiteral("Re: x\n"));
    }
    EXPECT_EQ(ConverterNameForEncoding(0), nullptr);
    EXPECT_EQ(ConverterNameForEncoding(enc::fromCF(0x20C)), nullptr);
}

TEST(TextDecoder, ConverterStateDoesNotLeakBetweenCalls)
{
    TextDecoder decoder;
    // Ends in the GB 2312 set without switching back, then an ASCII text.
    ASSERT_TRUE(decoder.decode(QByteArrayView("\x1b$A\x30\x21"), enc::ISO2022JP).has_value());
    EXPECT_EQ(decoder.decode(QByteArrayView("\x1b$(C0!"), enc::ISO2022JP).value_or(QString()),
              QString::fromUtf16(u"\uAC00"));
    EXPECT_EQ(decoder.decode(QByteArrayView("0!"), enc::ISO2022JP), QStringLiteral("0!"));
    // A failed conversion leaves nothing behind for the next one.
    EXPECT_FALSE(decoder.decode(QByteArrayView("\xa4"), enc::JapaneseEUC).has_value());
    EXPECT_EQ(decoder.decode(QByteArrayView("\xa4\xa2"), enc::JapaneseEUC),
              QString::fromUtf16(u"\u3042"));
}

TEST(TextDecoder, DecodesAFiveMegabyteMailQuickly)
{
    QByteArray line = QByteArray("Subject: test\n") + QByteArray("\x82\xa0\x82\xa2 abc \x88\x9f", 12);
    QByteArray big;
    while (big.size() < 5 * 1024 * 1024)
        big += line;
    TextDecoder decoder;
    QElapsedTimer t;
    t.start();
    const auto text = decoder.decode(big, enc::ShiftJIS);
    const qint64 ms = t.elapsed();
    ASSERT_TRUE(text.has_value());
    EXPECT_TRUE(text->startsWith(QStringLiteral("Subject: test\n")));
    RecordProperty("milliseconds", QString::number(ms).toStdString());
    EXPECT_LT(ms, 2000); // a few ms in a release build; generous for sanitizer builds

    QByteArray utf8;
    while (utf8.size() < 5 * 1024 * 1024)
        utf8 += "Subject: test \xe3\x81\x82\n";
    t.restart();
    ASSERT_TRUE(decoder.decode(utf8, enc::UTF8).has_value());
    EXPECT_LT(t.elapsed(), 2000);
}

TEST(EncodeText, UnrepresentableCharactersBecomeQuestionMarks)
{
    const QString text = QString::fromUtf16(u"\u3042abc\u2460\u00e9\U0001F600z");
    EXPECT_EQ(EncodeText(text, "CP932"), B("\x82\xa0" "abc\x87\x40??z"));
    QString lone = QStringLiteral("a");
    lone.append(QChar(0xD800));
    EXPECT_EQ(EncodeText(lone, "CP932"), B("a?"));
    lone.append(QLatin1Char('b'));
    EXPECT_EQ(EncodeText(lone, "CP932"), B("a?b"));
    // A stateful coding switches back before the "?" and at the end.
    EXPECT_EQ(EncodeText(QString::fromUtf16(u"a\u3042\u00e9"), "ISO-2022-JP"),
              B("a\x1b$B$\"\x1b(B?"));
    EXPECT_EQ(EncodeText(QString::fromUtf16(u"\u3042"), "ISO-2022-JP"), B("\x1b$B$\"\x1b(B"));
    EXPECT_EQ(EncodeText(QString::fromUtf16(u"x\u3042"), "NO-SUCH-CODING"), B("x?"));
    EXPECT_EQ(EncodeText(QString(), "CP932"), QByteArray());
    // Round trip through the decoder.
    const QString long1 = QString::fromUtf16(u"\u65E5\u672C\u8A9E\n").repeated(10000);
    TextDecoder decoder;
    EXPECT_EQ(decoder.decode(EncodeText(long1, "CP932"), enc::ShiftJIS), long1);
}
