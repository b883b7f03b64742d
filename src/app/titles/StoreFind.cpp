#include "StoreFind.h"

#include "FindQuery.h"
#include "MailTitles.h"
#include "PathUtils.h"
#include "StoreContext.h"
#include "StoreSearch.h"
#include "TitleScanner.h"

#include <QInputDialog>
#include <QMainWindow>
#include <QStatusBar>
#include <QTimer>

namespace wex {

// One search: what the thread finds, and how far it got. Shared by the
// thread and the window's side; the thread writes titles only before it
// posts its end.
struct StoreFind::Run {
    std::atomic<bool> cancel{false};
    std::atomic<int> folders{0};
    TitleArray titles;
    QString words;
    bool body = false;
    QTimer progress;
};

StoreFind::StoreFind(MailTitles &titles, QMainWindow &titleWindow, const StoreContext &store, QObject *parent)
    : QObject(parent), titles_(titles), titleWindow_(titleWindow), store_(store)
{
    // The folder the user turned to wins over a search still running.
    connect(&titles_, &MailTitles::titlesLoaded, this, [this] { cancel(); });
}

StoreFind::~StoreFind() { cancel(); }

void StoreFind::findInStore()
{
    bool ok = false;
    const QString words = QInputDialog::getText(&titleWindow_, tr("Find in Store"),
                                                tr("Words to find (from: subject: body: date: state:):"),
                                                QLineEdit::Normal, QString(), &ok);
    if (ok)
        find(words);
}

void StoreFind::find(const QString &query)
{
    QString why;
    std::optional<FindQuery> parsed = FindQuery::parse(query, &why);
    if (!parsed) {
        titleWindow_.statusBar()->showMessage(tr("Cannot search: %1").arg(why));
        return;
    }
    cancel();
    auto run = std::make_shared<Run>();
    run->words = query.simplified();
    run->body = parsed->needsBody();
    run_ = run;
    const auto showProgress = [this, run] {
        const int folders = run->folders.load(std::memory_order_relaxed);
        titleWindow_.statusBar()->showMessage(
            run->body ? tr("Searching the store, reading every mail's text: %1 folders").arg(folders)
                      : tr("Searching the store: %1 folders").arg(folders));
    };
    connect(&run->progress, &QTimer::timeout, this, showProgress);
    run->progress.start(200);
    showProgress();
    const Coding &coding = titles_.titleScanner().coding();
    worker_ = std::thread([this, run, &coding, query = std::move(*parsed), root = store_.rootPath,
                           cache = titles_.useCache()]() mutable {
        StoreSearch search(coding, std::move(query), cache);
        run->titles = search.run(root, &run->cancel, [&run](int folders) { run->folders = folders; });
        QMetaObject::invokeMethod(this, [this, run] { finish(run); }, Qt::QueuedConnection);
    });
}

void StoreFind::cancel()
{
    if (!run_)
        return;
    run_->cancel = true;
    run_->progress.stop();
    // At most one folder's scan away.
    if (worker_.joinable())
        worker_.join();
    run_.reset();
    titleWindow_.statusBar()->clearMessage();
}

void StoreFind::finish(const std::shared_ptr<Run> &run)
{
    if (run != run_)
        return; // cancelled meanwhile
    run->progress.stop();
    worker_.join();
    run_.reset();
    const int count = int(run->titles.size());
    titles_.replaceMailTitles(std::move(run->titles));
    titleWindow_.setWindowTitle(tr("Find: %1").arg(run->words));
    titleWindow_.statusBar()->showMessage(tr("Mails found: %1").arg(count));
    emit found(count);
}

} // namespace wex
