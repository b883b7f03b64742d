#include "FolderScan.h"

#include "SafeMove.h"

#include "Coding.h"
#include "TitleCache.h"
#include "TitleScanner.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <system_error>
#include <thread>
#include <unistd.h>

// How an entry's cached title is trusted: the entry is stat'ed (links
// followed) and its key compared with the cached one; only an exact match is
// used. A mail file that is read is recorded with the fstat of the very file
// read, taken once it was read, and only when
//  * neither of its times lies after the moment two seconds before the scan
//    began: whatever changed the file during or after the read then left a
//    time that differs from the recorded one, even on a file system with
//    coarse timestamps, so the entry is never used for the changed file;
//  * it did not change between the cache check and the read.
// An attachment folder is stat'ed after its main text was chosen (and
// perhaps written), and its main text once it was read.

namespace wex {

namespace {

constexpr size_t kChunk = 32;             // entries taken at a time by a thread
constexpr size_t kMinPerHelper = 2 * kChunk; // a helper thread pays for itself beyond this
constexpr size_t kProgressStep = 256;      // entries between two progress reports

// A new cache entry: the item's index and its key; an attachment folder
// also has its main text's key, kept apart (they are few).
struct Fresh {
    uint32_t index;
    FileKey key;
};

bool statAt(int folderFd, const char *name, FileKey *key, mode_t *mode)
{
    struct stat st;
    if (::fstatat(folderFd, name, &st, 0) != 0)
        return false;
    *key = FileKey::of(st);
    if (mode)
        *mode = st.st_mode;
    return true;
}

// The first eight bytes of a name as a number that orders as the bytes do
// (shorter names padded with zero bytes, as their terminator compares).
uint64_t namePrefix(const char *name, size_t length)
{
    uint64_t prefix = 0;
    for (size_t k = 0; k < 8; ++k)
        prefix = (prefix << 8) | (k < length ? uint8_t(name[k]) : 0u);
    return prefix;
}

} // namespace

struct FolderScan::Work {
    struct Item {
        uint64_t prefix; // the name's first eight bytes, big-endian, NUL-padded
        uint32_t nameOffset;
        unsigned char type;
    };
    struct Worker {
        std::unique_ptr<TitleScanner> scanner;
        TitleArray scratch;
        std::vector<Fresh> fresh;
        std::vector<Fresh> freshMain; // main texts of the attachment folders in fresh
        std::vector<size_t> deferred; // entries for the job's thread (folders, unknown)
        std::vector<unsigned char> deferredTypes;
        size_t fromCache = 0, scanned = 0;
    };

    int folderFd = -1;
    QByteArray prefix; // folder + "/"
    std::vector<char> names;
    std::vector<Item> items;
    std::vector<int32_t> cached; // index into cache per item, -1 for none
    std::vector<uint8_t> hit;    // 1: the item's title came from the cache
    // One title per item, present[i] saying whether item i gave one: filled
    // in place by every thread, then closed up in listing order.
    std::vector<Title> titles;
    std::vector<uint8_t> present;
    FolderTitleCache cache;
    Title prototype;
    timespec settleLimit{};
    bool useCache = false;
    std::vector<Worker> workers;
    std::atomic<size_t> next{0};

    const char *name(size_t i) const { return names.data() + items[i].nameOffset; }
    QByteArray path(size_t i) const { return prefix + name(i); }

    // Takes the title of item i from cache entry c when that entry still
    // describes it: key is the item's stat, folder whether it is a folder.
    bool takeCached(size_t i, size_t c, const FileKey &key, bool folder)
    {
        const FolderTitleCache::Entry e = cache.entry(c);
        if (e.key != key || e.kind != (folder ? FolderTitleCache::AttachmentFolder : FolderTitleCache::File))
            return false;
        if (!folder) {
            cache.fillTitle(c, path(i), &titles[i]);
            present[i] = 1;
        } else {
            // The folder is unchanged, so the same main text is still the
            // one a scan would choose; it must be unchanged as well.
            const QByteArray main = QByteArray(name(i)) + '/' + e.mainName.toByteArray();
            FileKey mainKey;
            if (!statAt(folderFd, main.constData(), &mainKey, nullptr) || mainKey != e.mainKey)
                return false;
            cache.fillTitle(c, prefix + main, &titles[i]);
            present[i] = 1;
        }
        hit[i] = 1;
        return true;
    }
};

FolderScan::FolderScan(const Coding &coding, QByteArray folder, FolderScanOptions options)
    : coding_(coding), folder_(std::move(folder)), options_(std::move(options))
{
}

FolderScan::~FolderScan() = default;

void FolderScan::runWorker(Work &work, size_t index)
{
    Work::Worker &w = work.workers[index];
    const bool reportsProgress = index == 0 && progress_;
    size_t reported = 0;
    const size_t n = work.items.size();
    for (;;) {
        if (canceled())
            return;
        const size_t begin = work.next.fetch_add(kChunk, std::memory_order_relaxed);
        if (begin >= n)
            return;
        const size_t end = std::min(n, begin + kChunk);
        for (size_t i = begin; i < end; ++i) {
            const char *name = work.name(i);
            unsigned char type = work.items[i].type;
            const int32_t c = work.useCache ? work.cached[i] : -1;
            FileKey checked; // what the cache check found
            if (c >= 0) {
                mode_t mode = 0;
                if (!statAt(work.folderFd, name, &checked, &mode)) {
                    type = DT_UNKNOWN; // gone or unreachable: the scanner decides
                } else if (S_ISREG(mode) || S_ISDIR(mode)) {
                    type = S_ISREG(mode) ? DT_REG : DT_DIR;
                    if (work.takeCached(i, size_t(c), checked, type == DT_DIR)) {
                        ++w.fromCache;
                        continue;
                    }
                } else {
                    continue; // FIFOs, devices and sockets are never mails
                }
            } else if (type == DT_LNK || type == DT_UNKNOWN) {
                mode_t mode = 0;
                FileKey unused;
                if (!statAt(work.folderFd, name, &unused, &mode))
                    type = DT_UNKNOWN;
                else if (S_ISREG(mode))
                    type = DT_REG;
                else if (S_ISDIR(mode))
                    type = DT_DIR;
                else
                    continue;
            }
            if (type != DT_REG) {
                if (type == DT_DIR || type == DT_UNKNOWN) {
                    w.deferred.push_back(i);
                    w.deferredTypes.push_back(type);
                }
                continue;
            }

            ++w.scanned;
            w.scratch.clear();
            struct stat afterRead;
            if (options_.beforeReadForTesting)
                options_.beforeReadForTesting(work.path(i));
            w.scanner->addTitleOfEntry(work.path(i), DT_REG, work.folderFd, w.scratch,
                                       work.useCache ? &afterRead : nullptr);
            if (options_.afterReadForTesting)
                options_.afterReadForTesting(work.path(i));
            if (w.scratch.empty())
                continue;
            work.titles[i] = std::move(w.scratch.back());
            work.present[i] = 1;
            // The entry records the file as it was once read. A file that
            // changed between the cache check and the read was read afresh
            // above; it is recorded by a later scan, once it holds still.
            if (work.useCache) {
                const FileKey read = FileKey::of(afterRead);
                if ((c < 0 || read == checked) && read.settledBefore(work.settleLimit))
                    w.fresh.push_back({uint32_t(i), read});
            }
        }
        const size_t done = done_.fetch_add(end - begin, std::memory_order_relaxed) + (end - begin);
        if (reportsProgress && done - reported >= kProgressStep) {
            reported = done;
            progress_(done, n);
        }
    }
}

void FolderScan::run()
{
    Work work;
    work.useCache = options_.useCache;
    // Taken before anything is listed or read: a file cached by this run has
    // not changed since two seconds before that.
    work.settleLimit = TitleCacheSettleLimit();

    // A folder's cache is filed under its path without trailing slashes, so
    // the single-mail lookups find it from a mail's path.
    QByteArray cacheFolder = folder_;
    while (cacheFolder.size() > 1 && cacheFolder.endsWith('/'))
        cacheFolder.chop(1);
    const QByteArray cacheDirectory =
        options_.cacheDirectory.isEmpty() ? TitleCacheDirectory() : options_.cacheDirectory;
    QByteArray fingerprint;
    // The cache file is read and checked on a thread of its own while the
    // folder is listed here; joined before any entry is looked up.
    std::thread loader;
    if (work.useCache) {
        fingerprint = TitleCacheFingerprint(coding_, work.prototype);
        const auto load = [&work, &cacheDirectory, &cacheFolder, &fingerprint] {
            work.cache = FolderTitleCache::load(cacheDirectory, cacheFolder, fingerprint);
        };
        try {
            loader = std::thread(load);
        } catch (const std::system_error &) {
            load();
        }
    }
    struct Join {
        std::thread &t;
        ~Join()
        {
            if (t.joinable())
                t.join();
        }
    } joinLoader{loader};

    DIR *dir = ::opendir(folder_.constData());
    if (!dir) {
        listError_ = errno;
        return;
    }
    listed_ = true;
    work.folderFd = ::dirfd(dir);
    bool debris = false; // hidden items of stopped moves, never listed
    while (const dirent *d = ::readdir(dir)) {
        const size_t len = std::strlen(d->d_name);
        if (!TitleScanner::isMailName(QByteArrayView(d->d_name, qsizetype(len)))) {
            debris = debris || (d->d_name[0] == '.' && IsMoveLeftoverName(QByteArray(d->d_name, qsizetype(len))));
            continue;
        }
        work.items.push_back({namePrefix(d->d_name, len), uint32_t(work.names.size()), d->d_type});
        work.names.insert(work.names.end(), d->d_name, d->d_name + len + 1);
    }
    {
        // Byte order of the names: their first eight bytes decide almost
        // every comparison without a look at the names themselves.
        const char *names = work.names.data();
        std::sort(work.items.begin(), work.items.end(), [names](const Work::Item &a, const Work::Item &b) {
            if (a.prefix != b.prefix)
                return a.prefix < b.prefix;
            // Equal prefixes that end before eight bytes are equal names.
            if ((a.prefix & 0xFF) == 0)
                return false;
            return std::strcmp(names + a.nameOffset + 8, names + b.nameOffset + 8) < 0;
        });
    }
    const size_t n = work.items.size();
    total_.store(n, std::memory_order_relaxed);
    work.prefix = folder_;
    if (!work.prefix.endsWith('/'))
        work.prefix += '/';
    work.titles.assign(n, work.prototype);
    work.present.assign(n, 0);
    if (loader.joinable())
        loader.join();
    // Both lists are in byte order of the names: one walk pairs them.
    work.cached.assign(n, -1);
    work.hit.assign(n, 0);
    for (size_t i = 0, c = 0; i < n && c < work.cache.size();) {
        const QByteArrayView a(work.name(i)), b = work.cache.name(c);
        const int order = std::memcmp(a.data(), b.data(), size_t(std::min(a.size(), b.size())));
        if (order == 0 && a.size() == b.size())
            work.cached[i++] = int32_t(c++);
        else if (order < 0 || (order == 0 && a.size() < b.size()))
            ++i;
        else
            ++c;
    }

    unsigned threads = options_.threads;
    if (threads == 0)
        threads = std::clamp(std::thread::hardware_concurrency(), 1u, 4u);
    const size_t helpers = std::min<size_t>(threads - 1, n / kMinPerHelper);
    work.workers.resize(helpers + 1);
    for (Work::Worker &w : work.workers)
        w.scanner = std::make_unique<TitleScanner>(coding_);

    std::vector<std::thread> started;
    for (size_t h = 1; h <= helpers; ++h) {
        try {
            started.emplace_back(&FolderScan::runWorker, this, std::ref(work), h);
        } catch (const std::system_error &) {
            break; // no more threads to be had: the others do the work
        }
    }
    runWorker(work, 0);
    for (std::thread &t : started)
        t.join();

    // Attachment folders and entries of unknown kind, in listing order, here
    // alone: only this thread ever writes a dummy main text.
    std::vector<std::pair<size_t, unsigned char>> deferred;
    for (Work::Worker &w : work.workers) {
        for (size_t k = 0; k < w.deferred.size(); ++k)
            deferred.emplace_back(w.deferred[k], w.deferredTypes[k]);
        counts_.fromCache += w.fromCache;
        counts_.scanned += w.scanned;
    }
    std::sort(deferred.begin(), deferred.end());
    Work::Worker &self = work.workers.front();
    for (const auto &[i, type] : deferred) {
        if (canceled())
            break;
        ++counts_.scanned;
        self.scratch.clear();
        struct stat afterRead;
        self.scanner->addTitleOfEntry(work.path(i), type, work.folderFd, self.scratch,
                                      work.useCache ? &afterRead : nullptr);
        done_.fetch_add(1, std::memory_order_relaxed);
        if (self.scratch.empty())
            continue;
        Title &title = self.scratch.back();
        // The folder is stat'ed after its main text was chosen (and perhaps
        // written): an entry records the folder as the scan left it.
        if (work.useCache && title.archiveState()) {
            FileKey folderKey;
            const FileKey mainKey = FileKey::of(afterRead);
            const bool settled = statAt(work.folderFd, work.name(i), &folderKey, nullptr)
                && folderKey.settledBefore(work.settleLimit) && mainKey.settledBefore(work.settleLimit);
            if (settled) {
                self.fresh.push_back({uint32_t(i), folderKey});
                self.freshMain.push_back({uint32_t(i), mainKey});
            }
        }
        work.titles[i] = std::move(title);
        work.present[i] = 1;
    }
    ::closedir(dir);
    if (!canceled() && progress_)
        progress_(mailsRead(), n);
    if (canceled())
        return;

    if (work.useCache) {
        std::vector<Fresh> fresh, freshMain;
        for (Work::Worker &w : work.workers) {
            fresh.insert(fresh.end(), w.fresh.begin(), w.fresh.end());
            freshMain.insert(freshMain.end(), w.freshMain.begin(), w.freshMain.end());
            std::vector<Fresh>().swap(w.fresh);
        }
        const auto byIndex = [](const Fresh &a, const Fresh &b) { return a.index < b.index; };
        std::sort(fresh.begin(), fresh.end(), byIndex);
        std::sort(freshMain.begin(), freshMain.end(), byIndex);
        // Written back when it gained an entry or lost one (the file is gone
        // or changed): a cache holds the folder's present files only.
        if (!fresh.empty() || counts_.fromCache != work.cache.size()) {
            FolderTitleCacheWriter writer(cacheFolder, fingerprint);
            size_t f = 0, m = 0;
            for (size_t i = 0; i < n; ++i) {
                if (work.hit[i]) {
                    writer.addUnchanged(work.cache.entry(size_t(work.cached[i])));
                } else if (f < fresh.size() && fresh[f].index == i) {
                    const Fresh &e = fresh[f++];
                    const FileKey *mainKey = nullptr;
                    if (m < freshMain.size() && freshMain[m].index == i)
                        mainKey = &freshMain[m++].key;
                    writer.add(QByteArrayView(work.name(i)), work.titles[i], e.key, mainKey);
                }
            }
            counts_.cacheWritten = writer.commit(cacheDirectory);
            counts_.cacheEntries = counts_.cacheWritten ? writer.count() : 0;
        }
    }

    // The titles close up in place, in listing order.
    size_t kept = 0;
    for (size_t i = 0; i < n; ++i) {
        if (!work.present[i])
            continue;
        if (kept != i)
            work.titles[kept] = std::move(work.titles[i]);
        ++kept;
    }
    work.titles.resize(kept, work.prototype);
    titles_ = std::move(work.titles);
    // Debris of another process's stopped move or removal goes once that
    // process is gone; this process's own is cleared only by its moves.
    if (debris)
        ClearMoveLeftovers(folder_, false);
}

} // namespace wex
