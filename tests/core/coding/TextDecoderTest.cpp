#include "TextDecoder.h"
#include "CoreTest.h"

#include <iconv.h>

static QByteArray B(const char *s, qsizetype n = -1) { return n < 0 ? QByteArray(s) : QByteArray(s, n); }

struct Sample {
    const char *what;
    uint32_t encoding;
    QByteArray bytes;
    std::optional<QString> want; // nullopt: must be rejected
};

const uint32_t kEucKr = enc::fromCF(0x940), kCp949 = enc::fromCF(3), kEucCn = enc::fromCF(0x930);

// Each way a coding can go wrong, and each mapping that differs between converters.
static std::vector<Sample> samples()
{
    const QString a = QString::fromUtf16(u"\u3042"); // HIRAGANA A
    return {
        {"ascii", enc::ASCII, B("ab\0cd", 5), QString::fromLatin1("ab\0cd", 5)},
        {"ascii 8-bit", enc::ASCII, B("ab\x80"), std::nullopt},
        {"latin1", enc::ISOLatin1, B("caf\xe9\x80"), QString::fromUtf16(u"caf\u00e9\u0080")},
        {"utf8 max", enc::UTF8, B("\xf4\x8f\xbf\xbf\xef\xbf\xbf"), QString::fromUtf16(u"\U0010FFFF\uFFFF")},
        {"utf8 overlong", enc::UTF8, B("\xc0\xaf"), std::nullopt},
        {"utf8 surrogate", enc::UTF8, B("\xed\xa0\x80"), std::nullopt},
        {"utf8 truncated", enc::UTF8, B("abcdefgh\xe3\x81"), std::nullopt},
        {"sjis", enc::ShiftJIS, B("\x82\xa0\xb1\\~"), a + QString::fromUtf16(u"\uFF71\\~")},
        {"sjis NEC row 13", enc::ShiftJIS, B("\x87\x40"), QString::fromUtf16(u"\u2460")},
        {"sjis unassigned", enc::ShiftJIS, B("\x85\x40"), std::nullopt},
        {"euc-jp truncated", enc::JapaneseEUC, B("\xa4"), std::nullopt},
        {"jis kana", enc::ISO2022JP, B("\x1b(I12\x1b(B"), QString::fromUtf16(u"\uFF71\uFF72")},
        {"jis line end in kanji", enc::ISO2022JP, B("\x1b$B$\"\n$\"\x1b(B"), a + "\n" + a},
        {"jis no final reset", enc::ISO2022JP, B("\x1b$B$\""), a},
        {"jis gb2312", enc::ISO2022JP, B("\x1b$A\x30\x21\x1b(B"), QString::fromUtf16(u"\u554A")},
        {"jis truncated escape", enc::ISO2022JP, B("ab\x1b$"), std::nullopt},
        {"jis 8-bit", enc::ISO2022JP, B("a\xa4\xa2"), std::nullopt},
        {"euc-kr rejects uhc", kEucKr, B("\xb0\x41"), std::nullopt},
        {"cp949 uhc", kCp949, B("\x81\x41"), QString::fromUtf16(u"\uAC02")},
        {"euc-cn rejects gbk", kEucCn, B("\x81\x40"), std::nullopt},
        {"utf16 no bom is be", enc::Unicode, B("\x30\x42\x00\x41", 4), a + "A"},
        {"utf16 pair", enc::Unicode, B("\xd8\x3d\xde\x00", 4), QString::fromUtf16(u"\U0001F600")},
        {"utf16 odd", enc::Unicode, B("\x30\x42\x00", 3), std::nullopt},
        {"utf16 lone high", enc::Unicode, B("\xd8\x00\x00\x41", 4), std::nullopt},
        {"latin3 hole", enc::fromCF(0x203), B("\xa5"), std::nullopt},
        {"unknown encoding", 12345, B("abc"), std::nullopt},
    };
}

TEST(TextDecoder, DecodesStrictlyPerCodingAndLeaksNoStateBetweenCalls)
{
    TextDecoder decoder;
    for (const Sample &s : samples()) {
        SCOPED_TRACE(s.what);
        EXPECT_EQ(decoder.decode(s.bytes, s.encoding), s.want);
    }
    // Ends in the GB 2312 set without switching back, then an ASCII text.
    ASSERT_TRUE(decoder.decode(QByteArrayView("\x1b$A\x30\x21"), enc::ISO2022JP).has_value());
    EXPECT_EQ(decoder.decode(QByteArrayView("\x1b$(C0!"), enc::ISO2022JP), QString::fromUtf16(u"\uAC00"));
    EXPECT_EQ(decoder.decode(QByteArrayView("0!"), enc::ISO2022JP), QStringLiteral("0!"));
    // A failed conversion leaves nothing behind for the next one.
    EXPECT_FALSE(decoder.decode(QByteArrayView("\xa4"), enc::JapaneseEUC).has_value());
    EXPECT_EQ(decoder.decode(QByteArrayView("\xa4\xa2"), enc::JapaneseEUC), QString::fromUtf16(u"\u3042"));
}

QByteArray Pair(int a, int b) { return QByteArray(1, char(a)) + char(b); }

// Bytes to text with iconv alone: the reference the decoder is held against.
std::optional<QString> Iconv(const char *coding, QByteArray bytes)
{
    const iconv_t cd = iconv_open("UTF-16LE", coding);
    char16_t out[16];
    char *in = bytes.data(), *o = reinterpret_cast<char *>(out);
    size_t inLeft = size_t(bytes.size()), outLeft = sizeof out;
    const bool ok = iconv(cd, &in, &inLeft, &o, &outLeft) != size_t(-1);
    iconv_close(cd);
    return ok ? std::optional(QString::fromUtf16(out, qsizetype((sizeof out - outLeft) / 2))) : std::nullopt;
}

// JIS rows 0x21-0x74 read as EUC-JP-MS, 0x79-0x7C as CP932's NEC-selected IBM block; no others.
TEST(TextDecoder, Iso2022JpReadsEveryJisCellAsEucJpDoes)
{
    TextDecoder decoder;
    QString ibmRows;
    for (int row = 0x21; row <= 0x7E; ++row) {
        for (int cell = 0x21; cell <= 0x7E; ++cell) {
            const QByteArray jis = "\x1b$B" + Pair(row, cell) + "\x1b(B";
            const std::optional<QString> got = decoder.decode(jis, enc::ISO2022JP);
            if (row >= 0x79 && row <= 0x7C) {
                ibmRows += got.value_or(QString());
                continue;
            }
            const std::optional<QString> want =
                row <= 0x74 ? Iconv("EUC-JP-MS", Pair(row | 0x80, cell | 0x80)) : std::nullopt;
            EXPECT_EQ(got, want) << std::hex << row << " " << cell;
        }
    }
    QString ibmKanji, ibmOthers;
    for (int code = 0xFA40; code <= 0xFC4B; ++code) {
        const std::optional<QString> c = Iconv("CP932", Pair(code >> 8, code & 0xFF));
        if (c && code >= 0xFA5C)
            ibmKanji += *c;
        else if (c && (code <= 0xFA49 || (code >= 0xFA54 && code <= 0xFA57)))
            ibmOthers += *c;
    }
    ASSERT_EQ(ibmKanji.size(), 360);
    EXPECT_EQ(ibmRows, ibmKanji + ibmOthers);
}

TEST(EncodeText, UnrepresentableCharactersBecomeQuestionMarks)
{
    const QString text = QString::fromUtf16(u"\u3042abc\u2460\u00e9\U0001F600z") + QChar(0xD800) + "b";
    EXPECT_EQ(EncodeText(text, "CP932"), B("\x82\xa0" "abc\x87\x40??z?b"));
    // A stateful coding switches back before the "?" and at the end.
    EXPECT_EQ(EncodeText(QString::fromUtf16(u"a\u3042\u00e9"), "ISO-2022-JP"), B("a\x1b$B$\"\x1b(B?"));
    EXPECT_EQ(EncodeText(QString::fromUtf16(u"x\u3042"), "NO-SUCH-CODING"), B("x?"));
    const QString long1 = QString::fromUtf16(u"\u65E5\u672C\u8A9E\n").repeated(10000);
    EXPECT_EQ(TextDecoder().decode(EncodeText(long1, "CP932"), enc::ShiftJIS), long1);
}
