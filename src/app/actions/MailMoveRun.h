#pragma once
// One move of the title table's selected mails into a folder, done in steps
// so that a long move leaves the event loop free between them.
//
// The selected rows are taken (ascending) when the run is made. When its turn
// comes, each mail is looked for at its row less the number of mails moved
// before it, and that row must still hold the same mail file; otherwise the
// mail is looked for by its path, so a list that changed in the meantime
// (sorted, reloaded, rows deleted) is never acted on at a wrong row. A mail
// that cannot move keeps its row; only moves that happened take rows away.
// Rows leave the list at the end of each step, the selection cleared first
// when it holds one of them, so no mail is shown (and marked read) on the
// way.
//
// The title list is an outlet: the run notices when it is destroyed first.
#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <chrono>
#include <memory>
#include <vector>

namespace wex {

class MailMover;
class MailTitles;

class MailMoveRun : public QObject {
    Q_OBJECT
public:
    struct Failure {
        QString subject;
        QByteArray fileName; // the mail file's or attachment folder's name
        QString reason;
    };

    MailMoveRun(MailTitles *titles, const QByteArray &folder, QObject *parent = nullptr);
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
    // The row the last mail handled stands for after the moves: the place of
    // the last mail moved, which now holds the mail that followed it, or the
    // row a mail that stayed still has. -1 when no mail was handled, or when
    // the list changed under the run (its rows then mean something else).
    int lastIndex() const { return listChanged_ ? -1 : lastIndex_; }

private:
    struct Entry {
        int row;
        QByteArray path;
        bool archive;
        QString subject;
    };
    int rowOf(const Entry &entry, int expected);
    // Takes the rows of moved mails out of the list (as it is now).
    void takeRows(std::vector<int> &leaving);

    QPointer<MailTitles> titles_;
    std::unique_ptr<MailMover> mover_;
    std::vector<Entry> entries_;
    size_t next_ = 0;
    int moved_ = 0;       // mails moved so far
    int rowsTaken_ = 0;   // moved mails whose rows have left the list
    int lastIndex_ = -1;
    bool listChanged_ = false;
    bool removing_ = false; // the rows leaving now are this run's own
    QList<Failure> failures_;
};

} // namespace wex
