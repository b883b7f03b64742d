#pragma once
// The mail counts the folder browser shows beside folder names, kept by
// folder path. Counting (CountMails: names only) runs on a worker, never in
// painting or data(); counted() tells when a folder's count is in.
//
// A followed folder is counted at once and again whenever it changes: a
// file-system watch on every followed folder (Qt polls a folder it cannot
// watch) and recount() for changes the watch cannot see (a mail renamed
// inside an attachment folder). Changes arriving together are counted
// together, once each.
//
// The worker is waited for by the destructor; results for folders no longer
// followed are dropped.
#include "MailCounts.h"

#include <QFileSystemWatcher>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QThreadPool>
#include <QTimer>
#include <optional>

namespace wex {

class FolderCounts : public QObject {
    Q_OBJECT
public:
    explicit FolderCounts(QObject *parent = nullptr);
    ~FolderCounts() override;

    // The last count of a followed folder; nullopt before it is in.
    std::optional<MailCounts> countsOf(const QByteArray &folder) const;
    // Counts the folder (again) and watches it from now on.
    void follow(const QByteArray &folder);
    // Stops watching the folder and every folder below it, and drops their counts.
    void forget(const QByteArray &folder);
    // Counts a followed folder again soon (others are passed over).
    void recount(const QByteArray &folder);
    // Counts the folder holding a mail again (an attachment folder's mail
    // counts in the folder holding the attachment folder).
    void recountFolderOf(const QByteArray &mailPath);
    // Whether counts are still to come.
    bool isCounting() const { return !dirty_.isEmpty() || running_ > 0; }
    // How long changes are gathered before they are counted.
    void setGatherInterval(int ms) { gatherMs_ = ms; }

signals:
    void counted(const QByteArray &folder);

private:
    void countDirty();
    void arrived(const QList<QPair<QByteArray, std::optional<MailCounts>>> &results);

    QHash<QByteArray, MailCounts> counts_;
    QSet<QByteArray> followed_;
    QSet<QByteArray> dirty_;
    QFileSystemWatcher watcher_;
    QTimer gather_;
    int gatherMs_ = 100;
    int running_ = 0;
    QThreadPool pool_;
};

} // namespace wex
