// Store-wide search queries: what parses, what each word matches.
#include "FindQuery.h"
#include "CoreTest.h"

static Title Mail(const QString &from, const QString &subject, const MailDate &date, bool unread = false, bool replied = false)
{
    Title t;
    t.setFrom(from);
    t.setSubject(subject);
    t.setDate(date);
    t.setUnreadState(unread);
    t.setReplyState(replied);
    return t;
}

static bool Matches(const QString &query, const Title &title)
{
    QString why;
    const std::optional<FindQuery> q = FindQuery::parse(query, &why);
    EXPECT_TRUE(q.has_value()) << query.toStdString() << ": " << why.toStdString();
    return q && q->matchesTitle(title);
}

TEST(FindQuery, BadQueriesSayWhyAndEveryWordMustMatchIgnoringCaseAndWidth)
{
    for (const char *bad : {"", "   ", "to:someone", "from:", "date:2026-13-01", "date:2026-12-01..2026-11-01",
                            "date:..", "date:yesterday", "state:lost", "wex state:"}) {
        QString why;
        EXPECT_FALSE(FindQuery::parse(QString::fromUtf8(bad), &why)) << bad;
        EXPECT_FALSE(why.isEmpty()) << bad;
    }
    const Title wex = Mail(QStringLiteral("WEX Team <team@wex.example>"), QStringLiteral("テスト report"),
                           MailDate::fromFields(2026, 12, 1, 23, 30, 0, 9 * 3600), true);
    EXPECT_TRUE(Matches(QStringLiteral("ｗｅｘ"), wex));
    EXPECT_TRUE(Matches(QStringLiteral("ﾃｽﾄ REPORT"), wex));
    EXPECT_FALSE(Matches(QStringLiteral("wex missing"), wex));
    EXPECT_TRUE(Matches(QStringLiteral("from:team subject:report"), wex));
    EXPECT_FALSE(Matches(QStringLiteral("subject:team"), wex));
    // The date as the mail wrote it: 1 December in its own zone, though 30 November in UTC.
    EXPECT_TRUE(Matches(QStringLiteral("date:2026-12-01..2026-12-01"), wex));
    EXPECT_TRUE(Matches(QStringLiteral("date:..2026-12-01"), wex));
    EXPECT_FALSE(Matches(QStringLiteral("date:2026-12-02.."), wex));
    EXPECT_FALSE(Matches(QStringLiteral("date:2026-11-30"), wex));
    EXPECT_FALSE(Matches(QStringLiteral("date:2026-01-01.."), Mail({}, {}, MailDate())));
    EXPECT_TRUE(Matches(QStringLiteral("state:unread"), wex));
    EXPECT_FALSE(Matches(QStringLiteral("state:read"), wex));
    EXPECT_FALSE(Matches(QStringLiteral("state:unread state:replied"), wex));
    EXPECT_TRUE(Matches(QStringLiteral("state:read state:replied"), Mail({}, {}, MailDate(), false, true)));

    QString why;
    const std::optional<FindQuery> body = FindQuery::parse(QStringLiteral("body:ＭＥＥＴＩＮＧ"), &why);
    ASSERT_TRUE(body && body->needsBody());
    EXPECT_TRUE(body->matchesTitle(wex));
    EXPECT_TRUE(body->matchesBody(QStringLiteral("the meeting is at ten")));
    EXPECT_FALSE(body->matchesBody(QStringLiteral("no such word")));
}
