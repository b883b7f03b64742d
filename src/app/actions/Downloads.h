#pragma once
// The downloads of new mail, as the title window shows them.
//
// download() starts one more downloader with its own watch (DownloadWatch);
// it never looks whether one runs already, so watches may overlap, and each
// ends by itself with one refresh of the mail list (refreshAfterDownload).
// While any watch runs, the title window is titled "Downloading..." and its
// status line shows a busy indicator; when the last one ends, the window gets
// the shown folder's name back, and the status line stops saying so. After
// each refresh the status line tells how many unread mails the folder holds
// now and held before the first of the overlapping downloads began. When
// there are more now, mailArrived() names the unread mails that were not
// unread in the list before (each overlapping download's refresh names them
// again, with those that came since).
//
// The watches are its children, the probe runner its own; the title list,
// the refresh command and the title window must outlive it.
#include "Title.h"
#include <QByteArray>
#include <QSet>
#include <QObject>
#include <QPointer>
#include <chrono>
#include <memory>
#include <optional>

class QMainWindow;
class QProgressBar;

namespace wex {

class MailTitles;
class FolderRefresh;
class ProbeRunner;

class Downloads : public QObject {
    Q_OBJECT
public:
    Downloads(MailTitles &titles, FolderRefresh &refresh, QMainWindow &titleWindow,
              QObject *parent = nullptr);
    ~Downloads() override;

    // Starts a download and its watch.
    void download();
    // Watches that have not ended yet.
    int activeWatches() const { return active_; }

    // The time between two looks at the process list: 2.0 s. A test seam.
    void setCheckInterval(std::chrono::milliseconds interval) { checkInterval_ = interval; }
    std::chrono::milliseconds checkInterval() const { return checkInterval_; }

    // The refresh without going to the first unread mail (refreshList(false)):
    // the shown mail stays shown, the browser's columns are listed again. The
    // load runs on; when it ends, the status line says how many mails are
    // unread now (and before, when the list was loaded at the call).
    void refreshAfterDownload();

signals:
    // After the refresh that ends a watch has started.
    void downloadEnded();
    // The list holds more unread mails after a download's refresh than
    // before: arrived are those not unread in it before, newest first.
    void mailArrived(const wex::TitleArray &arrived);

private:
    void watchEnded();
    void showBusy(bool busy);

    MailTitles &titles_;
    FolderRefresh &refresh_;
    QMainWindow &titleWindow_;
    QPointer<QProgressBar> busy_;
    // Made at the first download: its thread runs only once one is needed.
    std::unique_ptr<ProbeRunner> runner_;
    std::chrono::milliseconds checkInterval_{2000};
    int active_ = 0;
    // The unread mails of a list: how many, and their paths.
    struct Unread {
        int count = 0;
        QSet<QByteArray> paths;
    };
    static Unread unreadOf(const TitleArray &unread);
    // The unread mails of folderAtStart_ when the first running download
    // began; empty while none runs or when the list was loading then.
    std::optional<Unread> unreadAtStart_;
    QByteArray folderAtStart_;
};

} // namespace wex
