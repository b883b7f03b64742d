#pragma once
// One folder listed into titles, as a job that can run on any thread and be
// cancelled: what TitleScanner::loadTitleArray gives, title for title and in
// the same order, but faster.
//
//  * The header cache answers for every mail that is unchanged since it was
//    cached (one stat each); the others are read.
//  * Mail files are read by several threads at once, each with a scanner of
//    its own; the titles still come out in listing order (byte order of the
//    entry names), so a stable sort afterwards orders ties as it always did.
//  * Attachment folders are scanned on the thread that runs the job, one
//    after the other, after the files: a folder without a main text gets its
//    dummy main text written once, exactly as by a plain scan.
//
// Threading: run() is called once, on any one thread (the job's thread); it
// starts helper threads and joins them before it returns. cancel(),
// canceled(), mailsRead() and mailCount() may be called from any thread at
// any time. The progress handler is called on the job's thread only, never
// after run() has returned. Everything else is read after run() returns, on
// the job's thread or after the caller has synchronised with it (as a queued
// signal or a future does). The Coding must outlive the job and stay
// unchanged while it runs.
#include "Title.h"

#include <QByteArray>
#include <atomic>
#include <functional>

namespace wex {

class Coding;

struct FolderScanOptions {
    bool useCache = true; // read and write the header cache
    // Threads that read mail files, the job's own included; 0 picks one per
    // core, at most 4. 1 reads everything on the job's thread.
    unsigned threads = 0;
    // Where cache files live; empty picks TitleCacheDirectory().
    QByteArray cacheDirectory;
    // Tests: called on a reading thread just before and just after each mail
    // file is read (after its cache check, if it had one).
    std::function<void(const QByteArray &path)> beforeReadForTesting;
    std::function<void(const QByteArray &path)> afterReadForTesting;
};

class FolderScan {
public:
    // folder: the folder's path as file-system bytes, as loadTitleArray takes it.
    FolderScan(const Coding &coding, QByteArray folder, FolderScanOptions options = {});
    ~FolderScan();
    FolderScan(const FolderScan &) = delete;
    FolderScan &operator=(const FolderScan &) = delete;

    // Lists and scans the folder; returns when done or cancelled.
    void run();

    // Asks a running job to stop soon; a cancelled job yields no titles and
    // writes no cache.
    void cancel() { canceled_.store(true, std::memory_order_relaxed); }
    bool canceled() const { return canceled_.load(std::memory_order_relaxed); }
    // Entries handled so far (taken from the cache or read), and how many
    // the listing found that may be mails (0 until the folder is listed).
    size_t mailsRead() const { return done_.load(std::memory_order_relaxed); }
    size_t mailCount() const { return total_.load(std::memory_order_relaxed); }
    // (read, total) after every 256 or so entries and once at the end. Set
    // it before run().
    using ProgressHandler = std::function<void(size_t read, size_t total)>;
    void setProgressHandler(ProgressHandler handler) { progress_ = std::move(handler); }

    // After run(): whether the folder could be listed (errno value of the
    // failure otherwise), and the titles in listing order (moved out).
    bool listed() const { return listed_; }
    int listError() const { return listError_; }
    TitleArray takeTitles() { return std::move(titles_); }

    // What the run did, for tests and measurements.
    struct Counts {
        size_t fromCache = 0; // titles taken from the cache
        size_t scanned = 0;   // entries read
        size_t cacheEntries = 0; // entries of the cache file written (0: none written)
        bool cacheWritten = false;
    };
    Counts counts() const { return counts_; }

private:
    struct Work;
    void runWorker(Work &work, size_t worker);

    const Coding &coding_;
    QByteArray folder_;
    FolderScanOptions options_;
    std::atomic<bool> canceled_{false};
    std::atomic<size_t> done_{0};
    std::atomic<size_t> total_{0};
    ProgressHandler progress_;
    bool listed_ = false;
    int listError_ = 0;
    TitleArray titles_;
    Counts counts_;
};


} // namespace wex
