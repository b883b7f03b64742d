#pragma once
// Find in Store: the mails of the whole store that a query matches (see
// FindQuery), listed in the mail table as the unread list is: sorted by the
// current key, the mail on show selected again quietly, the window titled
// "Find: WORDS". The search runs on a thread of its own with the header
// cache; the status line counts the folders read, and says when body words
// make it read every mail. A new search, or a folder load, cancels one that
// runs; its result is then dropped.
//
// The title list, the title window and the store context must outlive it;
// the search thread is joined before it goes.
#include <QObject>
#include <QString>
#include <atomic>
#include <memory>
#include <thread>

class QMainWindow;

namespace wex {

class MailTitles;
struct StoreContext;

class StoreFind : public QObject {
    Q_OBJECT
public:
    StoreFind(MailTitles &titles, QMainWindow &titleWindow, const StoreContext &store, QObject *parent = nullptr);
    ~StoreFind() override;

    // Asks for the words, then searches.
    void findInStore();
    // Searches for query: a query that cannot be parsed is told on the status
    // line and lists nothing.
    void find(const QString &query);
    void cancel();
    bool isRunning() const { return worker_.joinable(); }

signals:
    // A search ended and its list is shown (not after a cancel).
    void found(int count);

private:
    struct Run;
    void finish(const std::shared_ptr<Run> &run);

    MailTitles &titles_;
    QMainWindow &titleWindow_;
    const StoreContext &store_;
    std::shared_ptr<Run> run_;
    std::thread worker_;
};

} // namespace wex
