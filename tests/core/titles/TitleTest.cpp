#include "Title.h"
#include "CoreTest.h"

#include <QRandomGenerator>
#include <sys/xattr.h>

static bool XattrsWork(const QByteArray &path) { return ::setxattr(path.constData(), "user.wex.probe", "x", 1, 0) == 0; }

// One of the four-byte codes the suite keeps as extended attributes; empty when absent.
static QByteArray Code(const QByteArray &path, const char *name)
{
    char buf[4];
    return ::getxattr(path.constData(), name, buf, sizeof buf) == 4 ? QByteArray(buf, 4) : QByteArray();
}

TEST(Title, MakeReadChoosesTheReadExtension)
{
    struct Case { const char *name; bool html, noMain, error; const char *readName; } cases[] = {
        {"123.ygm", false, false, false, "123.mail"}, {"123.iygm", false, true, false, "123.imail"},
        {"x.ygm.html", true, false, false, "x.ygm.htm"}, {"both.html", true, true, false, "both.htm"},
        {"error-mail-original1.txt", false, false, true, "error-mail-original1.rtxt"},
        {"x", false, false, false, "x.mail"}, // an attachment folder's main text
        {"a.b.c", false, false, false, "a.b.mail"},
        // Inside attachment folders whose names hold dots: the name changes inside the folder.
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
        EXPECT_FALSE(Exists(dir.at(c.name)));
        EXPECT_EQ(ReadAll(dir.at(c.readName)), "From: a\n");
        if (!xattrs)
            continue;
        // Only non-HTML mails get the suite's text type and creator.
        EXPECT_EQ(Code(t.path(), "user.mac.type") + Code(t.path(), "user.mac.creator"), c.html ? "" : "TEXTwex1");
    }
    if (!xattrs)
        GTEST_SKIP() << "extended attributes are not kept here; type/creator not checked";
}

TEST(Title, MakeReadNeverReplacesAndLeavesTheTitleUnreadWhenItFails)
{
    TestDir dir;
    dir.write("7.mail", "older mail of the same name");
    for (const QByteArray &path : {dir.write("7.ygm", "new mail"), dir.at("missing.ygm")}) {
        Title t;
        t.setPath(path);
        t.setUnreadState(true);
        EXPECT_FALSE(t.makeRead().ok());
        EXPECT_EQ(t.unreadState(), 1);
        EXPECT_EQ(t.path(), path);
    }
    EXPECT_EQ(ReadAll(dir.at("7.ygm")), "new mail");
    EXPECT_EQ(ReadAll(dir.at("7.mail")), "older mail of the same name");
    EXPECT_FALSE(Exists(dir.at("missing.mail")));
}

// The index sort gives exactly what a stable sort by the comparison gives, for every key and direction.
TEST(Title, SortMatchesAStableSortByTheComparison)
{
    const MailDate dates[] = {
        MailDate(), MailDate::distantPast(), MailDate::fromFields(1969, 12, 31, 23, 59, 59, 0),
        MailDate::fromFields(1970, 1, 1, 0, 0, 0, 0),
        MailDate::fromFields(1970, 1, 1, 9, 0, 0, 32400), // the same instant, another zone
        MailDate::fromFields(2026, 12, 5, 8, 25, 2, 32400), MailDate::fromFields(2026, 12, 5, 8, 25, 3, 32400),
        MailDate::fromFields(-5000000, 1, 1, 0, 0, 0, 0), MailDate::fromFields(900000000, 1, 1, 0, 0, 0, 0),
    };
    const QString texts[] = {"", "a", "B", "b", QString::fromUtf8("\xe3\x81\x82"), QString::fromUtf8("\xf0\x9f\x98\x80")};
    TitleArray titles;
    QRandomGenerator gen(12345);
    const auto next = [&gen](size_t bound) { return gen.bounded(quint32(bound)); };
    for (int i = 0; i < 3000; ++i) {
        Title t;
        t.setFrom(texts[next(std::size(texts))]);
        t.setSubject(texts[next(std::size(texts))]);
        t.setDate(dates[next(std::size(dates))]);
        t.setPath(QByteArray::number(i)); // records the input order
        t.setUnreadState(next(5) == 0);
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
            SCOPED_TRACE(std::to_string(int(key)) + (reverse ? " reverse" : ""));
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
