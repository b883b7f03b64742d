#pragma once
// A mail folder ("InBox") and a cache folder beside it; cached scans against plain ones.
#include "FolderScan.h"
#include "ScanFixture.h"
#include "TitleCache.h"

#include <ctime>

namespace wex::test {

// Every field of every title, exactly, one line each.
inline QByteArray Dump(const TitleArray &titles)
{
    QByteArray out;
    for (const Title &t : titles) {
        const MailDate &d = t.date();
        out += t.state().toLatin1() + '|' + t.from().toUtf8() + '|' + QByteArray::number(t.from().size()) + '|'
            + (d.isEmpty() ? QByteArray("-") : QByteArray::number(d.secondsSinceEpoch()) + '@'
                                                   + QByteArray::number(d.offsetSeconds()))
            + '|' + t.subject().toUtf8() + '|' + QByteArray::number(t.subject().size()) + '|'
            + QByteArray::number(t.code()) + '|' + t.path() + '\n';
    }
    return out;
}

class CacheFixture : public ScanFixture {
protected:
    // Files count as settled at once, so tests need not wait two seconds.
    CacheFixture() : folder(dir.mkdir("InBox")), cacheDir(dir.at("cache"))
    {
        SetTitleCacheSettleNanosecondsForTesting(0);
    }
    ~CacheFixture() override
    {
        SetTitleCacheSettleNanosecondsForTesting(2'000'000'000);
        ::tzset(); // a test may have changed TZ for its own lifetime
    }

    FolderScanOptions options(unsigned threads = 0, bool useCache = true) const
    {
        FolderScanOptions o;
        o.threads = threads;
        o.useCache = useCache;
        o.cacheDirectory = cacheDir;
        return o;
    }
    TitleArray cachedScan(unsigned threads = 0) { return run(options(threads)); }
    TitleArray run(const FolderScanOptions &o, const Coding *with = nullptr)
    {
        FolderScan scan(with ? *with : coding, folder, o);
        scan.run();
        last = scan.counts();
        return scan.takeTitles();
    }
    QByteArray mail(const QByteArray &name, const QByteArray &bytes) const { return dir.write("InBox/" + name, bytes); }
    QByteArray cacheFile() const { return cacheDir + '/' + TitleCacheFileName(folder); }

    // Returns once the file system's clock has passed now, so a later change leaves times of its own.
    void settleClock() const
    {
        timespec now{};
        ::clock_gettime(CLOCK_REALTIME, &now);
        for (;;) {
            const QByteArray probe = dir.write("tick", "x");
            struct stat st;
            if (::stat(probe.constData(), &st) == 0
                && (st.st_ctim.tv_sec > now.tv_sec
                    || (st.st_ctim.tv_sec == now.tv_sec && st.st_ctim.tv_nsec > now.tv_nsec)))
                return;
            ::usleep(1000);
        }
    }

    // Rewrites a mail keeping size and mtime (only ctime tells); with replace, by a file renamed over it.
    void rewriteKeepingTimes(const QByteArray &name, const QByteArray &bytes, bool replace = false) const
    {
        struct stat st;
        ASSERT_EQ(::stat(dir.at("InBox/" + name), &st), 0);
        const QByteArray written = replace ? dir.write("other", bytes) : mail(name, bytes);
        const timespec times[2] = {st.st_atim, st.st_mtim};
        ASSERT_EQ(::utimensat(AT_FDCWD, written, times, 0), 0);
        ASSERT_EQ(replace ? ::rename(written, dir.at("InBox/" + name)) : 0, 0);
    }

    // A scan through the cache equals a plain scan, with fromCache titles from the cache.
    void expectCachedEqualsFresh(size_t fromCache)
    {
        const QByteArray cached = Dump(cachedScan());
        const size_t hits = last.fromCache;
        EXPECT_EQ(cached, Dump(scanner.loadTitleArray(folder)));
        EXPECT_EQ(hits, fromCache);
    }

    const QByteArray folder;
    const QByteArray cacheDir;
    FolderScan::Counts last;
};

} // namespace wex::test
