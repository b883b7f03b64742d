// Single mails come from their folder's cache as a scan gives them, never under an old name.
#include "CacheFixture.h"
#include "CachedEntries.h"

class CachedEntriesTest : public CacheFixture {
protected:
    // Titles of the named entries, one by one, through a scanner with the cache when withCache.
    QByteArray titlesOf(const QList<QByteArray> &names, bool withCache, size_t *hits = nullptr)
    {
        TitleScanner single(coding);
        CachedEntries cache(single, withCache, cacheDir);
        TitleArray titles;
        for (const QByteArray &name : names)
            single.addTitleOf(folder + '/' + name, titles);
        if (hits)
            *hits = cache.hits();
        return Dump(titles);
    }
};

TEST_F(CachedEntriesTest, SingleMailsComeFromTheirFoldersCache)
{
    mail("1.ygm", "From: a\nSubject: one\nDate: 5 Dec 2026 08:25:02 +0900\n\n");
    mail("2.mail", "From: \x93\xfa\x96\x7b\n\nX-WEX-CharSet: SJIS\n");
    mail("x.mpart/x.ygm", "From: parts\n\n");
    mail("y.mpart/part.pdf", "%PDF");
    ASSERT_EQ(::symlink(dir.at("InBox/2.mail").constData(), dir.at("InBox/link.ygm").constData()), 0);
    scanner.loadTitleArray(folder); // writes y.mpart's dummy main text
    settleClock();
    cachedScan();
    ASSERT_EQ(last.cacheEntries, 5u); // the link is listed as the mail it leads to
    const QList<QByteArray> names = {"2.mail", "x.mpart", "1.ygm", "y.mpart"};

    size_t hits = 0;
    const QByteArray fresh = titlesOf(names, false);
    EXPECT_EQ(titlesOf(names, true, &hits), fresh);
    EXPECT_EQ(hits, 4u);

    // Not followed: a link is left to the caller, with the cache as without; a mail comes from the cache.
    {
        TitleScanner single(coding);
        CachedEntries cache(single, true, cacheDir);
        TitleArray titles;
        EXPECT_FALSE(single.addTitleOf(folder + "/link.ygm", TitleScanner::kEntryNotFollowed, -1, titles));
        EXPECT_TRUE(titles.empty());
        EXPECT_TRUE(single.addTitleOf(folder + "/y.mpart", TitleScanner::kEntryNotFollowed, -1, titles));
        EXPECT_EQ(cache.hits(), 1u);
        EXPECT_EQ(Dump(titles), titlesOf({"y.mpart"}, false));
    }

    settleClock();
    mail("x.mpart/x.ygm", "From: changed\n\n");
    mail("2.mail", "From: changed too\n\n");
    ASSERT_EQ(::rename(dir.at("InBox/1.ygm").constData(), dir.at("InBox/1.mail").constData()), 0);
    EXPECT_EQ(titlesOf({"2.mail", "x.mpart", "1.mail", "y.mpart"}, true, &hits),
              titlesOf({"2.mail", "x.mpart", "1.mail", "y.mpart"}, false));
    EXPECT_EQ(hits, 1u);
    EXPECT_TRUE(titlesOf({"1.ygm"}, true).isEmpty()) << "a renamed mail is not found under its old name";

    ScopedEnv off("WEX_NO_CACHE", "1");
    titlesOf(names, true, &hits);
    EXPECT_EQ(hits, 0u);
}

