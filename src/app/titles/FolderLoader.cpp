#include "FolderLoader.h"

#include "FolderScan.h"
#include "TitleCache.h"

#include <QMetaObject>
#if defined(__GLIBC__)
#include <malloc.h>
#endif
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace wex {

namespace {

// A load frees as much as it leaves (the cache file's buffer, the scan's
// scratch, a list replaced): given back to the system at once, the memory of
// a window with a large folder open stays that of the titles it shows,
// instead of growing with every load by what the allocator keeps.
void ReturnFreedMemory()
{
#if defined(__GLIBC__)
    ::malloc_trim(0);
#endif
}

// The allocator otherwise raises its threshold for mapping blocks of their
// own to the largest block freed so far, after which the cache file's buffer
// and the title arrays of a large folder (megabytes each) come from the heap
// and stay with the process when freed. Set once, for the whole process.
void MapLargeBlocks()
{
#if defined(__GLIBC__)
    static std::once_flag once;
    std::call_once(once, [] { ::mallopt(M_MMAP_THRESHOLD, 1024 * 1024); });
#endif
}

} // namespace

// Lets tests keep a load from reading its first mail until they release it.
// A held load that is cancelled goes on at once, so a cancelled load never
// waits for a release that will not come.
struct FolderLoader::Hold {
    std::mutex mutex;
    std::condition_variable changed;
    bool held = true;

    void waitUnlessReleased(const FolderScan &scan)
    {
        std::unique_lock<std::mutex> lock(mutex);
        while (held && !scan.canceled())
            changed.wait_for(lock, std::chrono::milliseconds(5));
    }
    void release()
    {
        {
            const std::lock_guard<std::mutex> lock(mutex);
            held = false;
        }
        changed.notify_all();
    }
};

// One load: shared by the loader and its worker; the worker writes titles and
// listing outcome before it posts the end, the loader reads them after.
struct FolderLoader::Job {
    std::optional<TitleKey> key;
    bool reverse = false;
    std::unique_ptr<FolderScan> scan;
    TitleArray titles;
    bool listed = false;
    int errorNumber = 0;
};

FolderLoader::FolderLoader(const Coding &coding, QObject *parent)
    : QObject(parent), coding_(coding), useCache_(TitleCacheEnabledByEnvironment())
{
    MapLargeBlocks();
    // One thread reads the running load (and runs its own helpers); a
    // second lets a new load start while a cancelled one winds down.
    pool_.setMaxThreadCount(2);
    progressTimer_.setInterval(kProgressIntervalMs);
    connect(&progressTimer_, &QTimer::timeout, this, &FolderLoader::reportProgress);
}

FolderLoader::~FolderLoader()
{
    cancel();
    pool_.waitForDone();
}

void FolderLoader::setHeldForTesting(bool held)
{
    if (held) {
        hold_ = std::make_shared<Hold>();
    } else if (hold_) {
        hold_->release();
        hold_.reset();
    }
}

void FolderLoader::start(const QByteArray &folder, std::optional<TitleKey> key, bool reverse)
{
    cancel();
    auto job = std::make_shared<Job>();
    job->key = key;
    job->reverse = reverse;
    FolderScanOptions options;
    options.useCache = useCache_;
    // The hook runs only once run() has begun, after owner is set.
    auto owner = std::make_shared<FolderScan *>(nullptr);
    if (auto hold = hold_)
        options.beforeReadForTesting = [hold, owner](const QByteArray &) { hold->waitUnlessReleased(**owner); };
    job->scan = std::make_unique<FolderScan>(coding_, folder, options);
    *owner = job->scan.get();
    job_ = job;
    folder_ = folder;
    titles_.clear();
    started_.start();
    progressTimer_.start();
    pool_.start([this, job] {
        job->scan->run();
        ReturnFreedMemory();
        if (!job->scan->canceled()) {
            job->listed = job->scan->listed();
            job->errorNumber = job->scan->listError();
            job->titles = job->scan->takeTitles();
            // Sorted here, not in the window: 100,000 titles take a while.
            if (job->key && !job->scan->canceled())
                SortTitles(job->titles, *job->key, job->reverse);
        }
        // Posted to the loader: dropped with it, should it be gone by then
        // (its destructor waits for this worker, so it is not).
        QMetaObject::invokeMethod(this, [this, job] { finish(job); }, Qt::QueuedConnection);
    });
}

void FolderLoader::discard(TitleArray titles)
{
    if (titles.size() < 1000) // not worth a thread's time
        return;
    auto doomed = std::make_shared<TitleArray>(std::move(titles));
    // Not the loads' own threads: a load must never queue behind this.
    QThreadPool::globalInstance()->start([doomed]() mutable {
        doomed.reset();
        ReturnFreedMemory();
    });
}

void FolderLoader::cancel()
{
    if (!job_)
        return;
    job_->scan->cancel();
    job_.reset();
    folder_.clear();
    progressTimer_.stop();
    emit canceled();
}

void FolderLoader::finish(const std::shared_ptr<Job> &job)
{
    if (job != job_)
        return; // cancelled or replaced: its end was reported then
    job_.reset();
    progressTimer_.stop();
    const QByteArray folder = std::exchange(folder_, QByteArray());
    titles_ = std::move(job->titles);
    emit loaded(folder, job->listed, job->errorNumber);
    titles_.clear();
}

void FolderLoader::reportProgress()
{
    if (!job_ || started_.elapsed() < kProgressDelayMs)
        return;
    emit progress(qint64(job_->scan->mailsRead()), qint64(job_->scan->mailCount()));
}

} // namespace wex
