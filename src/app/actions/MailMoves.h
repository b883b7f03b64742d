#pragma once
// Moves the title list's selected mails into a folder without freezing the
// windows: the first mails move at once, the rest in steps from the event
// loop, with progress on the title window's status line. A mail that cannot
// move keeps its row and is named there with the reason; at the end the row
// of the last mail moved (now holding the mail after it) is shown.
//
// One move runs at a time: a new one, a refresh and the end of the program
// first finish the one running. The title list and the title window must
// outlive this object.
#include <QObject>
#include <QString>
#include <chrono>
#include <memory>

class QMainWindow;
class QTimer;

namespace wex {

class Journal;

class MailMoveRun;
class MailTitles;

class MailMoves : public QObject {
    Q_OBJECT
public:
    // The moves are journaled in journal (none: not journaled), which must
    // outlive this object.
    MailMoves(MailTitles &titles, QMainWindow &titleWindow, Journal *journal = nullptr, QObject *parent = nullptr);
    ~MailMoves() override;

    // Moves the selected mails into folder (absolute). With no mail selected
    // nothing is done and no row is shown.
    void moveMailToDirectory(const QString &folder);
    bool isMoving() const { return bool(run_); }
    // Completes a running move at once (before anything else uses the list).
    void finishMove();

    // A line on the title window's status line: failures stay longer.
    void showMessage(const QString &text, bool failure);
    // The last message shown.
    const QString &lastMessage() const { return message_; }
    // How long one step of a move may run before the event loop gets a turn.
    void setStepBudget(std::chrono::nanoseconds budget) { budget_ = budget; }

signals:
    // A move has ended (all its mails handled, its row shown, its message out).
    void moveFinished();

private:
    void continueMove();
    void endMove();

    MailTitles &titles_;
    Journal *journal_;
    QMainWindow &titleWindow_;
    std::unique_ptr<MailMoveRun> run_;
    QString runFolder_;
    QString message_;
    std::chrono::nanoseconds budget_ = std::chrono::milliseconds(12);
    // Schedules the next step as a timer, not a posted call: posted calls go
    // before timers and window events, timers take turns with them.
    QTimer *stepTimer_;
};

} // namespace wex
