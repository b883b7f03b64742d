#include "Title.h"
#include "TestStore.h"
#include "TypeCreator.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <sys/xattr.h>

using namespace wex;
using wex::test::TestDir;

namespace {

bool XattrsWork(const QByteArray &path)
{
    return ::setxattr(path.constData(), "user.wex.probe", "x", 1, 0) == 0;
}

Title TitleFrom(const QString &from, const QString &subject = QString(), MailDate date = MailDate())
{
    Title t;
    t.setFrom(from);
    t.setSubject(subject);
    t.setDate(date);
    return t;
}

} // namespace

TEST(Title, MakeReadChoosesTheReadExtension)
{
    struct Case {
        const char *name;
        bool html, noMain, error;
        const char *readName;
    } cases[] = {
        {"123.ygm", false, false, false, "123.mail"},
        {"123.iygm", false, true, false, "123.imail"},
        {"x.ygm.html", true, false, false, "x.ygm.htm"},
        {"both.html", true, true, false, "both.htm"},
        {"error-mail-original1.txt", false, false, true, "error-mail-original1.rtxt"},
        {"x", false, false, false, "x.mail"}, // an attachment folder's main text
        {"a.b.c", false, false, false, "a.b.mail"},
        // Inside attachment folders whose names hold dots: the name changes
        // inside the folder.
        {"S|T.mpart/S|T", false, false, false, "S|T.mpart/S|T.mail"},
        {"a.b|c.d.mpart/a.b|c.d.iygm", false, true, false, "a.b|c.d.mpart/a.b|c.d.imail"},
    };
    TestDir dir;
    const bool xattrs = XattrsWork(dir.write("probe", "p"));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Title t;
        t.setPath(dir.write(c.name, "From: a\n"));
        t.setUnreadState(true);
        t.setHtmlState(c.html);
        t.setNoMainState(c.noMain);
        t.setErrorState(c.error);
        EXPECT_EQ(t.readPath(), dir.at(c.readName));
        const MoveOutcome outcome = t.makeRead();
        ASSERT_TRUE(outcome.ok()) << outcome.message.toStdString();
        EXPECT_EQ(t.unreadState(), 0);
        EXPECT_EQ(t.path(), dir.at(c.readName));
        EXPECT_FALSE(wex::test::Exists(dir.at(c.name)));
        EXPECT_EQ(wex::test::ReadAll(dir.at(c.readName)), "From: a\n");
        if (!xattrs)
            continue;
        // Only non-HTML mails get the suite's text type and creator.
        EXPECT_EQ(ReadTypeCode(t.path()), c.html ? QByteArray() : QByteArray("TEXT"));
        EXPECT_EQ(ReadCreatorCode(t.path()), c.html ? QByteArray() : QByteArray("wex1"));
    }
    if (!xattrs)
        GTEST_SKIP() << "extended attributes are not kept here; type/creator not checked";
}

TEST(Title, MakeReadOnAReadTitleChangesNothing)
{
    TestDir dir;
    Title t;
    t.setPath(dir.write("5.mail", "x"));
    EXPECT_TRUE(t.makeRead().ok());
    EXPECT_EQ(t.path(), dir.at("5.mail"));
    EXPECT_TRUE(wex::test::Exists(dir.at("5.mail")));
    EXPECT_EQ(ReadTypeCode(t.path()), QByteArray());
}

TEST(Title, MakeReadNeverReplacesAndLeavesTheTitleUnreadWhenItFails)
{
    TestDir dir;
    Title t;
    t.setPath(dir.write("7.ygm", "new mail"));
    dir.write("7.mail", "older mail of the same name");
    t.setUnreadState(true);
    const MoveOutcome outcome = t.makeRead();
    EXPECT_FALSE(outcome.ok());
    EXPECT_EQ(outcome.status, MoveOutcome::DestinationExists);
    EXPECT_EQ(t.unreadState(), 1);
    EXPECT_EQ(t.path(), dir.at("7.ygm"));
    EXPECT_EQ(wex::test::ReadAll(dir.at("7.ygm")), "new mail");
    EXPECT_EQ(wex::test::ReadAll(dir.at("7.mail")), "older mail of the same name");

    Title gone;
    gone.setPath(dir.at("missing.ygm"));
    gone.setUnreadState(true);
    EXPECT_FALSE(gone.makeRead().ok());
    EXPECT_EQ(gone.unreadState(), 1);
    EXPECT_EQ(gone.path(), dir.at("missing.ygm"));
    EXPECT_FALSE(wex::test::Exists(dir.at("missing.mail")));
}

TEST(Title, StringsCompareByUtf16CodeUnitsCaseSensitively)
{
    struct Case {
        QString a, b;
        int expected;
    } cases[] = {
        {"a", "B", 1},                                  // 'B' (0x42) < 'a' (0x61)
        {"same", "same", 0},
        {QString::fromUtf8("\xF0\x9F\x98\x80"), QString::fromUtf8("\xEF\xBC\xA1"), -1}, // U+1F600 is 0xD83D...
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.a.toStdString() + " vs " + c.b.toStdString());
        EXPECT_EQ(compareTitle(TitleFrom(c.a), TitleFrom(c.b), TitleKey::From), c.expected);
        EXPECT_EQ(reverseCompareTitle(TitleFrom(c.a), TitleFrom(c.b), TitleKey::From), -c.expected);
        EXPECT_EQ(compareTitle(TitleFrom("", c.a), TitleFrom("", c.b), TitleKey::Subject), c.expected);
    }
}

TEST(Title, SortIsStableInBothDirections)
{
    const MailDate d1 = MailDate::fromFields(2020, 1, 1, 0, 0, 0, 0);
    const MailDate d2 = MailDate::fromFields(2022, 1, 1, 0, 0, 0, 0);
    TitleArray titles;
    // subjects record the original order; dates hold ties
    const struct { const char *s; MailDate d; } input[] = {
        {"0", d2}, {"1", d1}, {"2", MailDate()}, {"3", d2}, {"4", d1}, {"5", MailDate()}, {"6", d2},
    };
    for (const auto &i : input)
        titles.push_back(TitleFrom("f", i.s, i.d));
    auto order = [&titles] {
        QString s;
        for (const Title &t : titles)
            s += t.subject();
        return s;
    };
    TitleArray copy = titles;
    SortTitles(titles, TitleKey::Date, false);
    EXPECT_EQ(order(), "2514036");
    titles = copy;
    SortTitles(titles, TitleKey::Date, true);
    EXPECT_EQ(order(), "0361425");
    titles = copy;
    SortTitles(titles, TitleKey::From, true); // all equal: input order stays
    EXPECT_EQ(order(), "0123456");
}

// The sort moves indices, not titles, and ranks dates by one integer: it must
// give exactly what a stable sort by the comparison gives, ties included,
// for every key and direction.
TEST(Title, SortMatchesAStableSortByTheComparison)
{
    const MailDate dates[] = {
        MailDate(),
        MailDate::distantPast(),
        MailDate::fromFields(1969, 12, 31, 23, 59, 59, 0),
        MailDate::fromFields(1970, 1, 1, 0, 0, 0, 0),
        MailDate::fromFields(1970, 1, 1, 9, 0, 0, 32400), // the same instant, another zone
        MailDate::fromFields(2026, 12, 5, 8, 25, 2, 32400),
        MailDate::fromFields(2026, 12, 5, 8, 25, 3, 32400),
        MailDate::fromFields(-5000000, 1, 1, 0, 0, 0, 0),
        MailDate::fromFields(900000000, 1, 1, 0, 0, 0, 0),
    };
    const QString texts[] = {"", "a", "B", "b", QString::fromUtf8("\xe3\x81\x82"), QString::fromUtf8("\xf0\x9f\x98\x80")};
    TitleArray titles;
    uint32_t seed = 12345;
    const auto next = [&seed](uint32_t bound) {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) % bound;
    };
    for (int i = 0; i < 3000; ++i) {
        Title t = TitleFrom(texts[next(std::size(texts))], texts[next(std::size(texts))], dates[next(std::size(dates))]);
        t.setPath(QByteArray::number(i)); // records the input order
        if (next(5) == 0)
            t.setUnreadState(true);
        titles.push_back(t);
    }
    const auto paths = [](const TitleArray &a) {
        QByteArray all;
        for (const Title &t : a)
            all += t.path() + ' ';
        return all;
    };
    for (const TitleKey key : {TitleKey::Date, TitleKey::From, TitleKey::Subject, TitleKey::State}) {
        for (const bool reverse : {false, true}) {
            SCOPED_TRACE(IdentifierOfTitleKey(key).toStdString() + (reverse ? " reverse" : ""));
            TitleArray expected = titles;
            std::stable_sort(expected.begin(), expected.end(), [key, reverse](const Title &a, const Title &b) {
                return (reverse ? reverseCompareTitle(a, b, key) : compareTitle(a, b, key)) < 0;
            });
            TitleArray sorted = titles;
            SortTitles(sorted, key, reverse);
            EXPECT_EQ(paths(sorted), paths(expected));
        }
    }
}
