// The header cache against real folders: after every kind of change to the
// mails or to the cache file, a listing through the cache equals a plain scan.
#include "CacheFixture.h"

#include <QFile>
#include <QtEndian>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/wait.h>

using namespace wex;
using namespace wex::test;

namespace {

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

    QByteArray readCache() const { return ReadAll(cacheFile()); }
    void writeCache(const QByteArray &bytes) const
    {
        QFile f(QString::fromLocal8Bit(cacheFile()));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
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
    {
        SCOPED_TRACE("first scan fills the cache");
        expectCachedEqualsFresh(0);
        EXPECT_TRUE(last.cacheWritten);
        EXPECT_EQ(last.cacheEntries, kMails);
        expectCachedEqualsFresh(kMails);
    }
    auto step = [&](const char *what, size_t fromCache, const std::function<void()> &change) {
        SCOPED_TRACE(what);
        settleClock();
        change();
        expectCachedEqualsFresh(fromCache);
    };
    step("renamed to another state", kMails - 1,
         [&] { ASSERT_EQ(::rename(dir.at("InBox/1.ygm"), dir.at("InBox/1.mail")), 0); });
    step("rewritten in place with the same size and modification time", kMails - 1, [&] {
        struct stat st;
        ASSERT_EQ(::stat(dir.at("InBox/2.mail"), &st), 0);
        mail("2.mail", "From: Bob\nSubject: bbbb\nDate: 6 Dec 2026 10:00:00 -0800\n\n");
        const timespec times[2] = {st.st_atim, st.st_mtim};
        ASSERT_EQ(::utimensat(AT_FDCWD, dir.at("InBox/2.mail"), times, 0), 0);
    });
    step("replaced by another file with the same size and modification time", kMails - 1, [&] {
        struct stat st;
        ASSERT_EQ(::stat(dir.at("InBox/2.mail"), &st), 0);
        const QByteArray other = dir.write("other", "From: Bob\nSubject: cccc\nDate: 6 Dec 2026 10:00:00 -0800\n\n");
        const timespec times[2] = {st.st_atim, st.st_mtim};
        ASSERT_EQ(::utimensat(AT_FDCWD, other, times, 0), 0);
        ASSERT_EQ(::rename(other, dir.at("InBox/2.mail")), 0);
    });
    step("appended to", kMails - 1, [&] {
        QFile f(QString::fromLocal8Bit(dir.at("InBox/3.rply")));
        ASSERT_TRUE(f.open(QIODevice::Append));
        f.write("Subject: appended\n");
    });
    step("a send mail touched", kMails - 1, [&] { SetMTime(dir.at("InBox/upload1.txt"), 1600000000); });
    step("removed", kMails - 1, [&] { ASSERT_EQ(::unlink(dir.at("InBox/bad.ygm")), 0); });
    EXPECT_EQ(last.cacheEntries, kMails - 1) << "the entry of the removed mail is dropped";
    step("added", kMails - 1, [&] { mail("4.ygm", "From: Eve\nSubject: new\n\n"); });
    step("a main text added to an attachment folder", kMails - 1,
         [&] { mail("x.mpart/x.ygm", "From: Xavier\nSubject: real main text\n\n"); });
    step("the main text of an attachment folder rewritten", kMails - 1,
         [&] { mail("y.mpart/y.mail", "From: Yves\nSubject: with parts\n\n"); });
    {
        SCOPED_TRACE("another local zone shows the date of a send mail in that zone");
        ScopedEnv zone("TZ", "UTC0");
        ::tzset();
        expectCachedEqualsFresh(kMails);
    }
}

// Enough mails for every thread to check a share of them against the cache:
// a changed mail is found wherever it lies and whichever thread checks it.
TEST_F(TitleCacheTest, EveryThreadRejectsTheMailsThatChanged)
{
    constexpr int kCount = 600;
    const auto name = [](int i) { return QByteArray::number(i) + ".mail"; };
    const auto text = [](int i, char mark) {
        return "From: sender " + QByteArray::number(i) + "\nSubject: " + mark + "\n\n";
    };
    for (int i = 0; i < kCount; ++i)
        mail(name(i), text(i, 'a'));
    settleClock();
    for (const unsigned threads : {2u, 4u}) {
        SCOPED_TRACE(threads);
        const QByteArray fresh = Dump(run(options(threads, false)));
        EXPECT_EQ(Dump(run(options(threads))), fresh) << "filling the cache";
        EXPECT_EQ(Dump(run(options(threads))), fresh);
        EXPECT_EQ(last.fromCache, size_t(kCount));
    }
    // Rewritten in place with the size and modification time restored: only
    // the change time tells, and each lies in another thread's chunk.
    settleClock();
    int changed = 0;
    for (int i = 5; i < kCount; i += 37, ++changed) {
        struct stat st;
        ASSERT_EQ(::stat(dir.at("InBox/" + name(i)), &st), 0);
        mail(name(i), text(i, 'b'));
        const timespec times[2] = {st.st_atim, st.st_mtim};
        ASSERT_EQ(::utimensat(AT_FDCWD, dir.at("InBox/" + name(i)), times, 0), 0);
    }
    for (const unsigned threads : {4u, 2u}) {
        SCOPED_TRACE(threads);
        const QByteArray cached = Dump(run(options(threads)));
        const size_t hits = last.fromCache;
        EXPECT_EQ(cached, Dump(scanner.loadTitleArray(folder)));
        // The first of these runs reads the changed mails and caches them anew.
        EXPECT_EQ(hits, threads == 4u ? size_t(kCount - changed) : size_t(kCount));
        EXPECT_EQ(cached.count("|b|"), changed);
    }
}

TEST_F(TitleCacheTest, AMovedFolderListsItsOwnPaths)
{
    fillFolder();
    cachedScan();
    const QByteArray moved = dir.at("Moved");
    ASSERT_EQ(::rename(folder, moved), 0);
    TitleArray there;
    {
        FolderScan scan(coding, moved, options());
        scan.run();
        there = scan.takeTitles();
    }
    EXPECT_EQ(Dump(there), Dump(scanner.loadTitleArray(moved)));
    EXPECT_TRUE(there.front().path().startsWith(moved + '/'));

    ASSERT_EQ(::rename(moved, folder), 0);
    expectCachedEqualsFresh(kMails); // back home: every entry still holds

    // Another folder of the same name and the same file names takes its place.
    ASSERT_EQ(::rename(folder, moved), 0);
    dir.mkdir("InBox");
    mail("1.ygm", "From: Mallory\nSubject: first\nDate: Mon, 5 Dec 2026 08:25:02 +0900\n\nbody\n");
    mail("2.mail", "From: Oscar\nSubject: aaaa\nDate: 6 Dec 2026 10:00:00 -0800\n\n");
    expectCachedEqualsFresh(0);
}

TEST_F(TitleCacheTest, ADamagedCacheIsIgnoredAndRebuilt)
{
    fillFolder();
    cachedScan();
    const QByteArray good = readCache();
    ASSERT_GT(good.size(), 200);
    QByteArray flipped = good;
    flipped[flipped.size() / 2] = char(flipped[flipped.size() / 2] ^ 0x20);
    QByteArray newer = good;
    newer[8] = 2; // format version 2
    QByteArray otherFolder = good;
    otherFolder.replace(folder, folder.left(folder.size() - 1) + 'X'); // same length, other path

    const std::pair<const char *, QByteArray> damages[] = {
        {"truncated", good.left(good.size() / 2)},
        {"truncated inside the header", good.left(10)},
        {"empty", QByteArray()},
        {"a byte changed", flipped},
        {"grown by a byte", good + 'x'},
        {"a foreign file", "# not a cache\n" + QByteArray(300, 'x')},
        {"written by a newer version", resealed(newer)},
        {"written for another folder", resealed(otherFolder)},
    };
    for (const auto &[what, bytes] : damages) {
        SCOPED_TRACE(what);
        writeCache(bytes);
        expectCachedEqualsFresh(0);
        EXPECT_TRUE(last.cacheWritten);
        expectCachedEqualsFresh(kMails); // rebuilt
        EXPECT_EQ(readCache().size(), good.size());
    }
}

TEST_F(TitleCacheTest, AnUnreadableCacheIsIgnored)
{
    fillFolder();
    cachedScan();
    const QByteArray file = cacheFile();
    {
        SCOPED_TRACE("an empty folder in its place");
        ASSERT_EQ(::unlink(file), 0);
        ASSERT_EQ(::mkdir(file, 0700), 0);
        expectCachedEqualsFresh(0);
        expectCachedEqualsFresh(kMails); // the folder made way for the rebuilt file
    }
    {
        SCOPED_TRACE("a folder that cannot make way");
        ASSERT_EQ(::unlink(file), 0);
        dir.write("cache/" + TitleCacheFileName(folder) + "/keep", "x");
        expectCachedEqualsFresh(0);
        expectCachedEqualsFresh(0);
        ASSERT_EQ(::unlink(file + "/keep"), 0);
        ASSERT_EQ(::rmdir(file), 0);
    }
    {
        SCOPED_TRACE("a file without read permission");
        cachedScan();
        settleClock();
        const QByteArray expected = Dump(scanner.loadTitleArray(folder));
        ASSERT_EQ(::chmod(file, 0), 0);
        if (::geteuid() != 0) {
            expectCachedEqualsFresh(0);
        } else {
            // Permissions do not stop root: the scan runs as "nobody" in a
            // child, over a tree that user may read, with the cache file
            // owned by it but unreadable.
            ASSERT_EQ(::chmod(dir.path(), 0755), 0);
            for (const char *p : {"InBox", "InBox/x.mpart", "InBox/y.mpart", "cache"})
                ASSERT_EQ(::chmod(dir.at(p), 0777), 0);
            ASSERT_EQ(::chown(file, 65534, 65534), 0);
            ASSERT_EQ(::chmod(file, 0), 0);
            const pid_t child = ::fork();
            ASSERT_GE(child, 0);
            if (child == 0) {
                if (::setgid(65534) != 0 || ::setuid(65534) != 0 || ::access(file, R_OK) == 0)
                    ::_exit(3);
                const QByteArray got = Dump(cachedScan(1));
                ::_exit(got != expected ? 1 : last.fromCache != 0 ? 2 : !last.cacheWritten ? 4 : 0);
            }
            int status = 0;
            ASSERT_EQ(::waitpid(child, &status, 0), child);
            ASSERT_TRUE(WIFEXITED(status));
            EXPECT_EQ(WEXITSTATUS(status), 0) << "1: listing differs, 2: cache used, 3: privileges kept, 4: not rebuilt";
        }
    }
}

TEST_F(TitleCacheTest, AForgedCacheNeverOverrunsTheReader)
{
    mail("1.ygm", "From: a\nSubject: s\n\n");
    mail("x.mpart/x.mail", "From: b\n\n");
    cachedScan();
    settleClock();
    const QByteArray good = readCache();
    const QByteArray fingerprint = TitleCacheFingerprint(coding, Title());
    const Title prototype;
    // Every byte of the body set to values that stretch lengths and flags,
    // with a checksum that fits: whatever loads must decode within bounds
    // (the sanitizer build checks every access).
    size_t loaded = 0;
    for (qsizetype at = 32; at < good.size(); ++at) {
        for (const char value : {'\x00', '\x7f', '\xff'}) {
            QByteArray forged = good;
            forged[at] = value;
            forged = resealed(forged);
            const FolderTitleCache cache = FolderTitleCache::fromBytes(
                std::vector<char>(forged.begin(), forged.end()), folder, fingerprint);
            loaded += cache.size() > 0;
            for (size_t i = 0; i < cache.size(); ++i) {
                const FolderTitleCache::Entry e = cache.entry(i);
                EXPECT_FALSE(e.name.isEmpty());
                EXPECT_FALSE(e.name.contains('/'));
                EXPECT_FALSE(e.mainName.contains('/'));
                cache.title(i, prototype, folder + '/' + e.name.toByteArray());
            }
        }
    }
    EXPECT_GT(loaded, 0u) << "the forged files were all refused: the test tests nothing";
}

TEST_F(TitleCacheTest, ACacheOfOtherScanSettingsIsNotUsed)
{
    fillFolder();
    cachedScan();
    Coding other(ScanCodingList().replace("default UTF8", "default ShiftJIS"));
    const QByteArray withOther = Dump(run(options(), &other));
    EXPECT_EQ(last.fromCache, 0u);
    EXPECT_EQ(withOther, Dump(TitleScanner(other).loadTitleArray(folder)));
}

TEST_F(TitleCacheTest, FilesThatMayStillChangeAreNotCached)
{
    fillFolder();
    SetMTime(mail("future.ygm", "From: f\n\n"), std::time(nullptr) + 86400);
    cachedScan();
    settleClock();
    expectCachedEqualsFresh(kMails); // all but the one dated in the future

    SetTitleCacheSettleNanosecondsForTesting(3600ll * 1'000'000'000); // nothing has stood an hour
    ASSERT_EQ(::unlink(cacheFile()), 0);
    cachedScan();
    EXPECT_FALSE(last.cacheWritten);
    expectCachedEqualsFresh(0);
}

TEST_F(TitleCacheTest, AFileChangedBetweenTheCheckAndTheReadIsReadAfresh)
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
    const TitleArray titles = run(o);
    ASSERT_EQ(titles.size(), 2u);
    EXPECT_EQ(titles[0].subject(), QStringLiteral("third, and longer"));
    EXPECT_EQ(last.fromCache, 1u);
    settleClock();
    expectCachedEqualsFresh(1);
}

TEST_F(TitleCacheTest, AnEntryRecordsTheFileAsItWasRead)
{
    mail("1.ygm", "From: a\nSubject: before\n\n");
    settleClock();
    // Even a change during the scan would count as settled: only the key
    // taken of the file read keeps the old title from being used again.
    SetTitleCacheSettleNanosecondsForTesting(-10'000'000'000);
    FolderScanOptions o = options(1);
    o.afterReadForTesting = [&](const QByteArray &) {
        struct stat st;
        ASSERT_EQ(::stat(dir.at("InBox/1.ygm").constData(), &st), 0);
        settleClock();
        mail("1.ygm", "From: a\nSubject: after!\n\n"); // same size and modification time
        const timespec times[2] = {st.st_atim, st.st_mtim};
        ASSERT_EQ(::utimensat(AT_FDCWD, dir.at("InBox/1.ygm").constData(), times, 0), 0);
    };
    EXPECT_EQ(run(o).front().subject(), QStringLiteral("before"));
    EXPECT_TRUE(last.cacheWritten);
    expectCachedEqualsFresh(0);
}

TEST_F(TitleCacheTest, ACancelledScanGivesNothingAndWritesNothing)
{
    for (int i = 0; i < 300; ++i)
        mail(QByteArray::number(i) + ".ygm", "From: x\n\n");
    settleClock();
    FolderScan scan(coding, folder, options(2));
    size_t calls = 0;
    scan.setProgressHandler([&](size_t read, size_t total) {
        ++calls;
        EXPECT_LE(read, total);
        scan.cancel();
    });
    scan.run();
    EXPECT_EQ(calls, 1u);
    EXPECT_TRUE(scan.canceled());
    EXPECT_TRUE(scan.takeTitles().empty());
    EXPECT_FALSE(Exists(cacheFile()));

    FolderScan whole(coding, folder, options(2));
    size_t lastRead = 0;
    whole.setProgressHandler([&](size_t read, size_t total) {
        EXPECT_GE(read, lastRead);
        EXPECT_EQ(total, 300u);
        lastRead = read;
    });
    whole.run();
    EXPECT_EQ(lastRead, 300u);
    EXPECT_EQ(whole.takeTitles().size(), 300u);
}

TEST_F(TitleCacheTest, TheCacheIsNeverWrittenIntoTheMailFolder)
{
    fillFolder();
    FolderScanOptions inside = options();
    inside.cacheDirectory = folder + "/sub/cache";
    const QByteArray before = Dump(scanner.loadTitleArray(folder));
    run(inside);
    EXPECT_FALSE(last.cacheWritten);
    EXPECT_FALSE(Exists(folder + "/sub"));
    inside.cacheDirectory = folder;
    run(inside);
    EXPECT_FALSE(last.cacheWritten);
    EXPECT_EQ(Dump(scanner.loadTitleArray(folder)), before);
}

} // namespace
