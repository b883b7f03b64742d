// After every kind of change to mails or cache file, a cached listing equals a plain scan.
#include "CacheFixture.h"

#include <QtEndian>

class TitleCacheTest : public CacheFixture {
protected:
    // Nine mails that exercise every field a title holds.
    void fillFolder()
    {
        mail("1.ygm", "From: Alice <a@example.org>\nSubject: first\nDate: Mon, 5 Dec 2026 08:25:02 +0900\n\nbody\n");
        mail("2.mail", "From: Bob\nSubject: aaaa\nDate: 6 Dec 2026 10:00:00 -0800\n\n");
        mail("3.rply", "From: Carol\nSubject: third\n"); // no empty line: every line is a header line
        SetMTime(mail("upload1.txt", "To: Dave\nSubject: outgoing\n\n"), 1700000000);
        mail("sjis.ygm", "From: \x93\xfa\x96\x7b\nSubject: s\n\nX-WEX-CharSet: SJIS\n");
        mail("bad.ygm", "From: \xff\xfe\n\n"); // From found but undecodable: empty, not the default
        mail("baddate.ygm", "Date: no date at all\n\n");
        mail("x.mpart/part.bin", "attachment");  // gets a dummy main text
        mail("y.mpart/y.mail", "From: Yann\nSubject: with parts\n\n");
        scanner.loadTitleArray(folder); // writes the dummy main text of x.mpart
        settleClock();
    }
    static constexpr size_t kMails = 9;

    void writeCache(const QByteArray &bytes) const { dir.write("cache/" + TitleCacheFileName(folder), bytes); }
    // The cache file with its checksum made to fit the (altered) body again.
    static QByteArray resealed(QByteArray bytes)
    {
        const uint64_t sum = qToLittleEndian(TitleCacheChecksum(bytes.constData() + 32, size_t(bytes.size() - 32)));
        std::memcpy(bytes.data() + 24, &sum, sizeof sum);
        return bytes;
    }
};

TEST_F(TitleCacheTest, EveryChangeToTheMailsIsSeen)
{
    ScopedEnv tokyo("TZ", "JST-9"); // a send mail's date is shown in the local zone
    ::tzset();
    fillFolder();
    expectCachedEqualsFresh(0);
    EXPECT_EQ(last.cacheEntries, kMails);
    expectCachedEqualsFresh(kMails);
    const std::pair<const char *, std::function<void()>> changes[] = {
        {"renamed to another state", [&] { ASSERT_EQ(::rename(dir.at("InBox/1.ygm"), dir.at("InBox/1.mail")), 0); }},
        {"rewritten in place, size and time kept",
         [&] { rewriteKeepingTimes("2.mail", "From: Bob\nSubject: bbbb\nDate: 6 Dec 2026 10:00:00 -0800\n\n"); }},
        {"replaced by a file of the same size and time",
         [&] { rewriteKeepingTimes("2.mail", "From: Bob\nSubject: cccc\nDate: 6 Dec 2026 10:00:00 -0800\n\n", true); }},
        {"appended to", [&] { mail("3.rply", "From: Carol\nSubject: third\nSubject: appended\n"); }},
        {"a send mail touched", [&] { SetMTime(dir.at("InBox/upload1.txt"), 1600000000); }},
        {"removed", [&] { ASSERT_EQ(::unlink(dir.at("InBox/bad.ygm")), 0); }},
        {"added", [&] { mail("4.ygm", "From: Eve\nSubject: new\n\n"); }},
        {"a main text added to an attachment folder", [&] { mail("x.mpart/x.ygm", "From: Xavier\n\n"); }},
        {"the main text of an attachment folder rewritten", [&] { mail("y.mpart/y.mail", "From: Yves\n\n"); }},
    };
    for (const auto &[what, change] : changes) {
        SCOPED_TRACE(what);
        settleClock();
        change();
        expectCachedEqualsFresh(kMails - 1);
    }
    EXPECT_EQ(last.cacheEntries, kMails) << "one mail removed, one added: the removed one's entry is dropped";
    ScopedEnv zone("TZ", "UTC0"); // another zone shows a send mail's date in that zone
    ::tzset();
    expectCachedEqualsFresh(kMails);
}

TEST_F(TitleCacheTest, ADamagedCacheIsIgnoredAndRebuilt)
{
    fillFolder();
    cachedScan();
    const QByteArray good = ReadAll(cacheFile());
    ASSERT_GT(good.size(), 200);
    QByteArray flipped = good, newer = good, otherFolder = good;
    flipped[flipped.size() / 2] = char(flipped[flipped.size() / 2] ^ 0x20);
    newer[8] = 2; // format version 2
    otherFolder.replace(folder, folder.left(folder.size() - 1) + 'X'); // same length, other path
    const std::pair<const char *, QByteArray> damages[] = {
        {"truncated", good.left(good.size() / 2)}, {"truncated inside the header", good.left(10)},
        {"empty", QByteArray()}, {"a byte changed", flipped}, {"grown by a byte", good + 'x'},
        {"a foreign file", "# not a cache\n" + QByteArray(300, 'x')},
        {"written by a newer version", resealed(newer)}, {"written for another folder", resealed(otherFolder)},
    };
    for (const auto &[what, bytes] : damages) {
        SCOPED_TRACE(what);
        writeCache(bytes);
        expectCachedEqualsFresh(0);
        expectCachedEqualsFresh(kMails); // rebuilt
        EXPECT_EQ(ReadAll(cacheFile()).size(), good.size());
    }
    const QByteArray file = cacheFile();
    ASSERT_EQ(::unlink(file), 0);
    ASSERT_EQ(::mkdir(file, 0700), 0);
    expectCachedEqualsFresh(0); // an empty folder in its place makes way
    expectCachedEqualsFresh(kMails);
    ASSERT_EQ(::unlink(file), 0);
    dir.write("cache/" + TitleCacheFileName(folder) + "/keep", "x"); // one that cannot
    expectCachedEqualsFresh(0);
    expectCachedEqualsFresh(0);
}

TEST_F(TitleCacheTest, AForgedCacheNeverOverrunsTheReader)
{
    mail("1.ygm", "From: a\nSubject: s\n\n");
    mail("x.mpart/x.mail", "From: b\n\n");
    cachedScan();
    const QByteArray good = ReadAll(cacheFile());
    const QByteArray fingerprint = TitleCacheFingerprint(coding, Title());
    // Every body byte set to values that stretch lengths, resealed: what loads decodes within bounds.
    size_t loaded = 0;
    for (qsizetype at = 32; at < good.size(); ++at) {
        for (const char value : {'\x00', '\x7f', '\xff'}) {
            QByteArray forged = good;
            forged[at] = value;
            forged = resealed(forged);
            const FolderTitleCache cache =
                FolderTitleCache::fromBytes(std::vector<char>(forged.begin(), forged.end()), folder, fingerprint);
            loaded += cache.size() > 0;
            for (size_t i = 0; i < cache.size(); ++i) {
                const FolderTitleCache::Entry e = cache.entry(i);
                EXPECT_FALSE(e.name.isEmpty() || e.name.contains('/') || e.mainName.contains('/'));
                cache.title(i, Title(), folder + '/' + e.name.toByteArray());
            }
        }
    }
    EXPECT_GT(loaded, 0u) << "the forged files were all refused: the test tests nothing";
}

TEST_F(TitleCacheTest, OtherScanSettingsAndFilesThatMayStillChangeAreNotCached)
{
    fillFolder();
    SetMTime(mail("future.ygm", "From: f\n\n"), std::time(nullptr) + 86400);
    cachedScan();
    settleClock();
    expectCachedEqualsFresh(kMails); // all but the one dated in the future
    Coding other(ScanCodingList().replace("default UTF8", "default ShiftJIS"));
    EXPECT_EQ(Dump(run(options(), &other)), Dump(TitleScanner(other).loadTitleArray(folder)));
    EXPECT_EQ(last.fromCache, 0u);

    SetTitleCacheSettleNanosecondsForTesting(3600ll * 1'000'000'000); // nothing has stood an hour
    ASSERT_EQ(::unlink(cacheFile()), 0);
    cachedScan();
    EXPECT_FALSE(last.cacheWritten);
}

// A change between the check of a file and its read, or after it, is never hidden.
TEST_F(TitleCacheTest, AFileChangedDuringTheScanIsNotTakenForTheOldOne)
{
    mail("1.ygm", "From: a\nSubject: first\n\n");
    mail("2.ygm", "From: b\nSubject: other\n\n");
    settleClock();
    cachedScan();
    settleClock();
    mail("1.ygm", "From: a\nSubject: second\n\n");
    FolderScanOptions o = options(1);
    o.beforeReadForTesting = [&](const QByteArray &path) {
        if (path.endsWith("/1.ygm"))
            mail("1.ygm", "From: a\nSubject: third, and longer\n\n");
    };
    EXPECT_EQ(run(o).front().subject(), QStringLiteral("third, and longer"));
    EXPECT_EQ(last.fromCache, 1u);
    settleClock();
    expectCachedEqualsFresh(1);

    // Even a change during the scan counts as settled: only the key of the file read stops reuse.
    SetTitleCacheSettleNanosecondsForTesting(-10'000'000'000);
    ASSERT_EQ(::unlink(cacheFile()), 0);
    o = options(1);
    o.afterReadForTesting = [&](const QByteArray &path) {
        if (path.endsWith("/1.ygm")) {
            settleClock();
            rewriteKeepingTimes("1.ygm", "From: a\nSubject: THIRD, and longer\n\n");
        }
    };
    EXPECT_EQ(run(o).front().subject(), QStringLiteral("third, and longer"));
    EXPECT_TRUE(last.cacheWritten);
    expectCachedEqualsFresh(1);
}

TEST_F(TitleCacheTest, ACancelledScanGivesNothingAndWritesNothing)
{
    for (int i = 0; i < 300; ++i)
        mail(QByteArray::number(i) + ".ygm", "From: x\n\n");
    FolderScan scan(coding, folder, options(2));
    scan.setProgressHandler([&](size_t, size_t) { scan.cancel(); });
    scan.run();
    EXPECT_TRUE(scan.canceled());
    EXPECT_TRUE(scan.takeTitles().empty());
    EXPECT_FALSE(Exists(cacheFile()));
}

TEST_F(TitleCacheTest, TheCacheIsNeverWrittenIntoTheMailFolder)
{
    fillFolder();
    const QByteArray before = Dump(scanner.loadTitleArray(folder));
    for (const QByteArray &inside : {folder + "/sub/cache", folder}) {
        FolderScanOptions o = options();
        o.cacheDirectory = inside;
        run(o);
        EXPECT_FALSE(last.cacheWritten);
    }
    EXPECT_FALSE(Exists(folder + "/sub"));
    EXPECT_EQ(Dump(scanner.loadTitleArray(folder)), before);
}
