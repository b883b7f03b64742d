#pragma once
// One move of the title table's selected mails into a folder, done in steps
// so that a long move leaves the event loop free between them.
//
// The selected mails are taken (ascending rows) when the run is made. When
// its turn comes, each mail is looked for at its row less the number of mails
// moved before it, and that row must still hold the same mail; otherwise the
// title list finds it by its path (or, renamed to another state, by its
// name), so a list that changed in the meantime (sorted, reloaded, rows
// deleted, a mail read) is never acted on at a wrong row, and the file moved
// is the one the row names now. A mail that cannot move keeps its row; only
// moves that happened take rows away, at the end of each step, through the
// title list's one removal, so no mail is shown (and marked read) on the way
// and a running load of the folder lists it again.
//
// The title list must outlive the run.
#include <QByteArray>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <chrono>
#include <memory>
#include <vector>

namespace wex {

class Journal;

class MailMover;
class MailTitles;
struct SelectedMail;

class MailMoveRun : public QObject {
    Q_OBJECT
public:
    struct Failure {
        QString subject;
        QByteArray fileName; // the mail file's or attachment folder's name
        QString reason;
    };

    MailMoveRun(MailTitles &titles, const QByteArray &folder, Journal *journal = nullptr, QObject *parent = nullptr);
    ~MailMoveRun() override;

    int total() const { return int(entries_.size()); }
    int handled() const { return int(next_); }
    bool finished() const { return next_ >= entries_.size(); }

    // Moves mails until budget has passed (at least one mail), then takes
    // their rows out of the list. True when no mail is left.
    bool step(std::chrono::nanoseconds budget);
    // Moves every mail that is left.
    void finish();

    int movedCount() const { return moved_; }
    const QList<Failure> &failures() const { return failures_; }
    // What the first move that was done but left hidden debris said; empty
    // when none did.
    const QString &leftover() const { return leftover_; }
    // The row the last mail handled stands for after the moves: the place of
    // the last mail moved, which now holds the mail that followed it, or the
    // row a mail that stayed still has. -1 when no mail was handled, or when
    // the list changed under the run (its rows then mean something else).
    int lastIndex() const { return listChanged_ ? -1 : lastIndex_; }

private:
    int rowOf(const SelectedMail &entry, int expected);

    MailTitles &titles_;
    std::unique_ptr<MailMover> mover_;
    std::vector<SelectedMail> entries_;
    size_t next_ = 0;
    int moved_ = 0;       // mails moved so far
    int rowsTaken_ = 0;   // moved mails whose rows have left the list
    int lastIndex_ = -1;
    bool listChanged_ = false;
    bool removing_ = false; // the rows leaving now are this run's own
    QList<Failure> failures_;
    QString leftover_;
    QSet<QByteArray> cleared_; // source folders whose old debris went
};

} // namespace wex
