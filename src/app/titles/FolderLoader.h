#pragma once
// Lists and sorts one folder's titles away from the window's thread, one load
// at a time: starting a load cancels the one before, whose titles are never
// delivered.
//
// Ownership and lifetime: the loader owns its worker threads; its destructor
// cancels the running load and waits for the workers, so nothing runs after
// it. The Coding must outlive the loader. Signals are emitted on the thread
// the loader lives on (the window's).
#include "Title.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QThreadPool>
#include <QTimer>
#include <memory>
#include <optional>

namespace wex {

class Coding;

class FolderLoader : public QObject {
    Q_OBJECT
public:
    // Loads that last longer than this report their progress.
    static constexpr int kProgressDelayMs = 200;
    static constexpr int kProgressIntervalMs = 100;

    explicit FolderLoader(const Coding &coding, QObject *parent = nullptr);
    ~FolderLoader() override;

    // Starts listing folder (file-system bytes) and returns at once; the
    // titles come sorted by key (listing order without one). Cancels the
    // load before, if any.
    void start(const QByteArray &folder, std::optional<TitleKey> key, bool reverse);
    // Drops the running load, if any; its titles are never delivered.
    void cancel();
    // Destroys titles on a worker: a list of 100,000 mails takes tens of
    // milliseconds to free.
    void discard(TitleArray titles);
    bool isLoading() const { return job_ != nullptr; }
    // The folder of the running load (empty when none runs).
    const QByteArray &folder() const { return folder_; }

    // The titles of the load whose loaded() is being emitted (moved out).
    TitleArray takeTitles() { return std::move(titles_); }

    // Whether loads use the header cache (default: unless WEX_NO_CACHE is set).
    void setUseCache(bool use) { useCache_ = use; }
    bool useCache() const { return useCache_; }
    // Tests: makes every load wait at its start until released (false).
    void setHeldForTesting(bool held);
    // Tests: waits until the running load's worker has ended; its titles are
    // then delivered by the next turn of the event loop.
    void waitForWorkerForTesting() { pool_.waitForDone(); }

signals:
    // (read, total) entries, every kProgressIntervalMs once a load has run
    // for kProgressDelayMs; total is 0 while the folder is being listed.
    void progress(qint64 read, qint64 total);
    // The running load ended; its titles, sorted as asked, are to be taken
    // with takeTitles() while the signal is handled. listed is false when
    // the folder could not be listed (errorNumber says why).
    void loaded(const QByteArray &folder, bool listed, int errorNumber);
    // A load ended without delivering titles: cancelled or replaced.
    void canceled();

private:
    struct Hold;
    struct Job;
    void reportProgress();
    void finish(const std::shared_ptr<Job> &job);

    const Coding &coding_;
    QThreadPool pool_;
    std::shared_ptr<Job> job_; // the running load
    std::shared_ptr<Hold> hold_;
    QByteArray folder_;
    TitleArray titles_;
    QElapsedTimer started_;
    QTimer progressTimer_;
    bool useCache_;
};

} // namespace wex
