#include "ScanFixture.h"
#include "TextDecoder.h"

using TitleScannerTest = ScanFixture;

TEST_F(TitleScannerTest, NamesDecideWhatIsListedAndItsState)
{
    const char *const names[] = {
        "notes.txt", "upload001.txt", "error-mail-original5.txt", "error-mail-original5.rtxt",
        "x.rtxt", "upload.mail", "a.YGM", "b.rply", "c.rpry", "d.html", "e.wmail", "f.htm",
        "g.iygm", "h.imail", "i.mail", "uploadx.foo", ".hidden.ygm", "ygm", "j.mpart", "k.ygm~", "B.ygm",
    };
    for (const char *n : names)
        dir.write(n, "From: x\n\n");
    dir.mkdir(".hidden.mpart"); // were it examined, it would get a dummy main text
    // In byte order: capitals first.
    EXPECT_EQ(Names(scan()), "B.ygm:U b.rply:R c.rpry:R d.html:UH e.wmail:S error-mail-original5.rtxt:E "
                             "error-mail-original5.txt:UE f.htm:H g.iygm:UX h.imail:X i.mail: "
                             "upload.mail: upload001.txt:S uploadx.foo:");
    EXPECT_FALSE(Exists(dir.at(".hidden.mpart/.hidden.iygm")));
}

// Tags match without case but need their blank; a header line is read in pieces of 4095 bytes.
TEST_F(TitleScannerTest, HeaderLines)
{
    const QByteArray filler(4095 - 8, 'a'), longFrom(6000, 'f');
    static const char nul[] = "From: ab\0cd\n\0Subject: hidden\n\0\nSubject: seen\n\n";
    const struct { const char *what; QByteArray bytes; QString from, subject; } cases[] = {
        {"tags without case", "FROM: upper\nsUbJeCt: mixed\n\n", "upper", "mixed"},
        {"tags need their blank", "From:nobody\nSubject:none\n\n", "anonymous", "No Subject"},
        {"folded: the first line; repeated: the last", "Subject: first line\n\tsecond line\nFrom: a\nFrom: b\n\n", "b",
         "first line"},
        {"a value that does not decode is empty", "From: ok\nSubject: \xff\xfe bad\n\n", "ok", ""},
        {"outside send state To: is no sender", "To: you\n\n", "anonymous", "No Subject"},
        {"the rest of a long line is a piece of its own", "X-Long: " + filler + "From: piece\n\n", "piece", "No Subject"},
        {"a line of 4095 bytes leaves its newline as a piece: the header ends there",
         "X-Long: " + filler + "\nSubject: after\n\n", "anonymous", "No Subject"},
        {"a value longer than a piece keeps the piece", "From: " + longFrom + "\n\n", longFrom.left(4095 - 6), "No Subject"},
        {"a piece beginning with NUL neither ends the header nor matches", QByteArray(nul, sizeof nul - 1), "ab", "seen"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const Title t = one("1.ygm", c.bytes);
        EXPECT_EQ(t.from(), c.from);
        EXPECT_EQ(t.subject(), c.subject);
    }
    // The last Date line counts, even when it does not parse.
    EXPECT_TRUE(one("5.ygm", "Date: 5 Dec 2026 08:25 GMT\nDate: garbage\n\n").date().isEmpty());
}

TEST_F(TitleScannerTest, CharsetDeclarations)
{
    struct Case { const char *name; QByteArray body; uint32_t code; } cases[] = {
        {"known wex charset wins over an earlier content type",
         "Content-Type: text/plain; charset=iso-8859-1\nX-WEX-CharSet: SJIS\n", kShiftJis},
        {"first content type wins", "Content-Type: text/plain; charset=iso-8859-1\n"
                                    "Content-Type: text/plain; charset=shift_jis\n", kLatin1},
        {"unknown wex charset, then content type", "X-WEX-CharSet: nonsense\n"
                                                   "Content-Type: text/plain; charset=iso-8859-1\n", kLatin1},
        {"only the first wex line counts", "X-WEX-CharSet: nonsense\nX-WEX-CharSet: SJIS\n", kUtf8},
        {"wex line after a content type still wins", "Content-Type: text/plain; charset=us-ascii\n"
                                                     "X-WEX-CharSet: EUC; x\n", kEucJp},
        {"unknown content type charset gives the default", "Content-Type: text/plain; charset=koi8-r\n", kUtf8},
        {"folded with CR tab", "Content-Type: text/plain;\r\tcharset=iso-8859-1\n", kLatin1},
        {"tag without case", "Content-type: TEXT/PLAIN; charset=iso-8859-1\n", kLatin1},
        {"first byte is case-sensitive", "content-type: text/plain; charset=iso-8859-1\n"
                                         "x-wex-charset: SJIS\n", kUtf8},
        {"indented line passed over", " Content-Type: text/plain; charset=iso-8859-1\n", kUtf8},
        {"html part is no charset line", "Content-Type: text/html; charset=iso-8859-1\n", kUtf8},
        {"wex lookup in the wex table only", "X-WEX-CharSet: ISO-8859-1\n", kUtf8},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(one("1.ygm", "From: a\n\n" + c.body).code(), c.code);
    }
}

TEST_F(TitleScannerTest, ValuesDecodeInTheFinalCoding)
{
    const QByteArray sjis = EncodeText(QString::fromUtf8("日本"), "CP932"); // declared after the header
    const Title t = one("1.ygm", "From: " + sjis + "\nSubject: " + sjis + "\n\nX-WEX-CharSet: SJIS\n");
    EXPECT_EQ(t.from() + t.subject(), QString::fromUtf8("日本日本"));
}
