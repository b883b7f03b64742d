#include "Downloads.h"

#include "DownloadWatch.h"
#include "MailTitles.h"
#include "FolderRefresh.h"
#include "PathUtils.h"
#include "ProbeRunner.h"

#include <QMainWindow>
#include <QProgressBar>
#include <QStatusBar>
#include <algorithm>
#include <iterator>
#include <optional>

namespace wex {

Downloads::Downloads(MailTitles &titles, FolderRefresh &refresh, QMainWindow &titleWindow,
                     QObject *parent)
    : QObject(parent), titles_(titles), refresh_(refresh), titleWindow_(titleWindow)
{
}

Downloads::~Downloads()
{
    // The watches go before the runner they ask.
    qDeleteAll(findChildren<DownloadWatch *>(Qt::FindDirectChildrenOnly));
}

void Downloads::download()
{
    if (!runner_)
        runner_ = std::make_unique<ProbeRunner>();
    if (active_ == 0) {
        // Overlapping downloads report against the list as it was before the
        // first of them.
        unreadAtStart_ = titles_.isLoading() ? std::nullopt : std::optional(unreadOf(titles_.unreadTitles()));
        folderAtStart_ = titles_.folderPath();
    }
    DownloadWatch *watch = DownloadWatch::start(checkInterval_, runner_.get(), this);
    ++active_;
    connect(watch, &DownloadWatch::ended, this, &Downloads::watchEnded);
    titleWindow_.setWindowTitle(Localize(QT_TRANSLATE_NOOP("WEX", "Downloading...")));
    showBusy(true);
}

void Downloads::watchEnded()
{
    --active_;
    // Another watch still running keeps the window saying so.
    if (active_ == 0)
        showBusy(false);
    refreshAfterDownload(); // titles the window by its folder again
    if (active_ == 0)
        unreadAtStart_.reset();
    emit downloadEnded();
}

void Downloads::refreshAfterDownload()
{
    // Counted on the list as loaded: a list still loading shows no rows yet.
    std::optional<Unread> before =
        titles_.isLoading() ? std::nullopt : std::optional(unreadOf(titles_.unreadTitles()));
    if (unreadAtStart_ && folderAtStart_ == titles_.folderPath())
        before = unreadAtStart_;
    refresh_.refreshList(false);
    if (active_ > 0)
        titleWindow_.setWindowTitle(Localize(QT_TRANSLATE_NOOP("WEX", "Downloading...")));
    if (!titles_.isLoading())
        return;
    const QByteArray folder = titles_.folderPath();
    connect(
        &titles_, &MailTitles::titlesLoaded, this,
        [this, folder, before](const QByteArray &loaded) {
            if (loaded != folder)
                return;
            const TitleArray unread = titles_.unreadTitles();
            const int now = int(unread.size());
            titleWindow_.statusBar()->showMessage(
                before ? Localize(QT_TRANSLATE_NOOP("WEX", "Mail downloaded: %1 unread mails now, %2 before"))
                             .arg(now)
                             .arg(before->count)
                       : Localize(QT_TRANSLATE_NOOP("WEX", "Mail downloaded: %1 unread mails now")).arg(now));
            if (!before || now <= before->count)
                return;
            TitleArray arrived;
            std::copy_if(unread.begin(), unread.end(), std::back_inserter(arrived),
                         [&](const Title &title) { return !before->paths.contains(title.path()); });
            SortTitles(arrived, TitleKey::Date, true);
            if (!arrived.empty())
                emit mailArrived(arrived);
        },
        Qt::SingleShotConnection);
}

Downloads::Unread Downloads::unreadOf(const TitleArray &unread)
{
    Unread result{int(unread.size()), {}};
    for (const Title &title : unread)
        result.paths.insert(title.path());
    return result;
}

void Downloads::showBusy(bool busy)
{
    if (!busy_) {
        if (!busy)
            return;
        // An indicator without an end: a download's progress is not known.
        busy_ = new QProgressBar;
        busy_->setRange(0, 0);
        busy_->setMaximumWidth(120);
        busy_->setMaximumHeight(14);
        busy_->setTextVisible(false);
        busy_->setAccessibleName(Localize(QT_TRANSLATE_NOOP("WEX", "Downloading...")));
        titleWindow_.statusBar()->addPermanentWidget(busy_);
    }
    busy_->setVisible(busy);
    const QString downloading = Localize(QT_TRANSLATE_NOOP("WEX", "Downloading..."));
    if (busy)
        titleWindow_.statusBar()->showMessage(downloading);
    else if (titleWindow_.statusBar()->currentMessage() == downloading)
        titleWindow_.statusBar()->clearMessage(); // the refresh's count may never come
}

} // namespace wex
