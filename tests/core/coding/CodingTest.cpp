#include "Coding.h"
#include "CoreTest.h"
#include "TextDecoder.h"

const QByteArray kList = "# test list\ndefault ISO2022JP\nmultipart ShiftJIS\nsend\tJapaneseEUC\n"
                         "encode ShiftJIS Shift_JIS sjis\nencode EUC_JP EUC-JP\nencode UTF8Japanese utf-8\n"
                         "wexCharCode ShiftJIS ShiftJIS\nencode NoSuchCode X-NOWHERE\nwexCharCode shiftjis X-LOWER\n"
                         " encode ShiftJIS X-INDENTED\n\n";

TEST(Coding, EveryCodeHasAConverterAndALanguage)
{
    const Coding c{QByteArray()}, withDefault{"default ShiftJIS\n"};
    TextDecoder decoder;
    for (uint32_t code = 1; code <= kCodeCount; ++code) {
        const uint32_t encoding = c.fileCodeFromCode(code);
        if (encoding != enc::Unicode) { // these bytes are other characters in UTF-16
            EXPECT_EQ(decoder.decode(QByteArrayView("Re: x\n"), encoding), QStringLiteral("Re: x\n")) << code;
        }
        EXPECT_FALSE(c.languageName(c.languageOfCode(code)).isEmpty()) << code;
    }
    // Outside 1..61: without a default 0; with one, the default's coding.
    for (uint32_t code : {0u, 62u, kCodeNotFound}) {
        EXPECT_EQ(c.fileCodeFromCode(code) + c.languageOfCode(code), 0u);
        EXPECT_EQ(withDefault.fileCodeFromCode(code), enc::ShiftJIS);
    }
}

TEST(Coding, CharsetLookup)
{
    const Coding c{kList};
    EXPECT_EQ(c.defaultCode(), 2u);
    EXPECT_EQ(c.multipartFileCoding(), 7u);
    EXPECT_EQ(c.sendFileCoding(), 5u);
    struct Case { const char *charset; bool wex; uint32_t want; } cases[] = {
        {"\"Shift_JIS\"", false, 7}, {"Shift_JIS; format=flowed", false, 7}, {"Shift_JIS (Japanese)", false, 7},
        {"Shift_JIS\r", false, 2}, {"Shift_JIS\t", false, 2}, // CR and tab do not end the name
        {" Shift_JIS", false, 2},                            // leading space is not skipped
        {"utf-8", false, 46}, {"KOI8-R", false, 2},
        {"X-NOWHERE", false, 2},  // its line named an unknown code
        {"X-INDENTED", false, 2}, // keyword not in the first column
        {"\"ShiftJIS\"", true, 7},
        {"X-LOWER", true, kCodeNotFound},   // "shiftjis" is no code name
        {"Shift_JIS", true, kCodeNotFound}, // encode-only
        {"ShiftJIS", false, 2},             // wexCharCode-only
    };
    for (const Case &k : cases)
        EXPECT_EQ(c.codeFromCharset(QByteArrayView(k.charset), k.wex), k.want)
            << k.charset << (k.wex ? " (WEX)" : "");
    // A NUL ends the name as it ends a byte string.
    EXPECT_EQ(c.codeFromCharset(QByteArrayView("SJIS\0junk", 9), false), 7u);
}

TEST(Coding, CodingListParsing)
{
    // Later lines override earlier ones, for keywords and charsets alike.
    const Coding over{"default ShiftJIS\ndefault UTF8\nencode ShiftJIS X\nencode UTF8 x\n"
                      "send Nope\nmultipart\n"};
    EXPECT_EQ(over.defaultCode(), 8u);
    EXPECT_EQ(over.codeFromCharset("X", false), 8u);
    EXPECT_EQ(over.sendFileCoding(), 0u);       // unknown code name
    EXPECT_EQ(over.multipartFileCoding(), 0u);  // no code name

    // CR LF line ends, runs of separators, trailing separators.
    const Coding crlf{"default\tShiftJIS\r\nencode  UTF8\tA \t B \r\n"};
    EXPECT_EQ(crlf.defaultCode(), 7u);
    EXPECT_EQ(crlf.codeFromCharset("A", false), 8u);
    EXPECT_EQ(crlf.codeFromCharset("B", false), 8u);
    EXPECT_FALSE(crlf.charsetCodeDict().contains(""));
    EXPECT_EQ(crlf.charsetCodeDict().size(), 4); // A, "A", B, "B"

    // A field longer than 63 bytes is ignored; 63 bytes is still a name.
    const QByteArray n63(63, 'Q'), n64(64, 'R');
    const Coding lengths{"encode UTF8 " + n63 + " " + n64 + " C\n" + "default " + n64 + "\n"};
    EXPECT_EQ(lengths.codeFromCharset(n63, false), 8u);
    EXPECT_EQ(lengths.codeFromCharset("C", false), 8u);
    EXPECT_FALSE(lengths.charsetCodeDict().contains(n64.first(63)));
    EXPECT_FALSE(lengths.charsetCodeDict().contains(n64));
    EXPECT_EQ(lengths.defaultCode(), 0u);

    // A line longer than 1023 bytes is read in pieces of 1023 bytes, each a line.
    const QByteArray filler = "encode UTF8 " + QByteArray("F ").repeated(505) + ' '; // 1023 bytes
    const Coding pieces{filler + "default ShiftJIS\n" + filler + "#x\nsend UTF8\n"};
    EXPECT_EQ(pieces.codeFromCharset("F", false), 8u);
    EXPECT_EQ(pieces.defaultCode(), 7u);   // the second piece starts with the keyword
    EXPECT_EQ(pieces.sendFileCoding(), 8u);

    // Missing resource, empty text, binary junk: nothing set, nothing crashes.
    for (const QByteArray &text : {QByteArray(), QByteArray("\0\0\xff\n\n", 5)}) {
        const Coding c{text};
        EXPECT_TRUE(c.charsetCodeDict().isEmpty() && c.wexCharsetCodeDict().isEmpty());
        EXPECT_EQ(c.defaultCode() + c.multipartFileCoding() + c.sendFileCoding(), 0u);
    }
}
