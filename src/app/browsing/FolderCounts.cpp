#include "FolderCounts.h"

#include "TitleScanner.h"

#include <QFile>

namespace wex {

FolderCounts::FolderCounts(QObject *parent) : QObject(parent)
{
    pool_.setMaxThreadCount(1); // one folder after another: the disk is one
    gather_.setSingleShot(true);
    connect(&gather_, &QTimer::timeout, this, &FolderCounts::countDirty);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this,
            [this](const QString &folder) { recount(QFile::encodeName(folder)); });
}

FolderCounts::~FolderCounts()
{
    // Workers post to this object: none may run once it is gone.
    pool_.waitForDone();
}

std::optional<MailCounts> FolderCounts::countsOf(const QByteArray &folder) const
{
    const auto found = counts_.constFind(folder);
    return found == counts_.constEnd() ? std::nullopt : std::optional<MailCounts>(*found);
}

void FolderCounts::follow(const QByteArray &folder)
{
    if (!followed_.contains(folder)) {
        followed_.insert(folder);
        watcher_.addPath(QFile::decodeName(folder));
    }
    dirty_.insert(folder);
    if (!gather_.isActive())
        gather_.start(0); // the first count of a folder just shown comes at once
}

void FolderCounts::forget(const QByteArray &folder)
{
    const QByteArray below = folder.endsWith('/') ? folder : folder + '/';
    QStringList unwatched;
    for (auto it = followed_.begin(); it != followed_.end();) {
        if (*it == folder || it->startsWith(below)) {
            unwatched << QFile::decodeName(*it);
            counts_.remove(*it);
            dirty_.remove(*it);
            it = followed_.erase(it);
        } else {
            ++it;
        }
    }
    if (!unwatched.isEmpty())
        watcher_.removePaths(unwatched);
}

void FolderCounts::recount(const QByteArray &folder)
{
    if (!followed_.contains(folder))
        return;
    dirty_.insert(folder);
    if (!gather_.isActive())
        gather_.start(gatherMs_);
}

void FolderCounts::recountFolderOf(const QByteArray &mailPath)
{
    const QByteArray whole = TitleScanner::wholeMailOf(mailPath);
    const qsizetype slash = whole.lastIndexOf('/');
    if (slash >= 0)
        recount(slash == 0 ? QByteArrayLiteral("/") : whole.left(slash));
}

void FolderCounts::countDirty()
{
    if (dirty_.isEmpty())
        return;
    QList<QByteArray> folders(dirty_.begin(), dirty_.end());
    dirty_.clear();
    ++running_;
    pool_.start([this, folders] {
        QList<QPair<QByteArray, std::optional<MailCounts>>> results;
        for (const QByteArray &folder : folders)
            results.append({folder, CountMails(folder)});
        QMetaObject::invokeMethod(this, [this, results] { arrived(results); }, Qt::QueuedConnection);
    });
}

void FolderCounts::arrived(const QList<QPair<QByteArray, std::optional<MailCounts>>> &results)
{
    --running_;
    for (const auto &[folder, counts] : results) {
        if (!followed_.contains(folder))
            continue;
        if (counts)
            counts_.insert(folder, *counts);
        else
            counts_.remove(folder); // unreadable: shown without a count
        emit counted(folder);
    }
}

} // namespace wex
