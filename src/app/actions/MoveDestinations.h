#pragma once
// The move destinations: remembered folders to which the title table's
// selected mails move with one menu command, and the refresh of the title
// list.
//
// The "Move" menu holds one item per destination first, in list order (item i
// stands for entry i: the folder's name, tag i, Ctrl+(i+1) for the first
// nine), then the commands (add the browser's folder, choose a folder and move
// there, remove destinations, start the suite's mail mover). Every change to
// the list changes the menu in the same step.
//
// The list is read from "Move Folder" at start-up (only when there is a
// settings folder) and written back by terminate(). The browser, the title
// list and the title window are outlets (not owned); the defaults store must
// outlive this object. The menu and the remove window are owned here.
//
// Moves never freeze the windows: the first mails move at once, the rest in
// steps from the event loop, with progress in the title window's status bar.
// A mail that cannot move keeps its row and is named there with the reason.
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <chrono>
#include <memory>

class QAction;
class QMainWindow;
class QMenu;
class QTimer;

namespace wex {

class DefaultsStore;
class FSBrowser;
class MailMoveRun;
class MailTitles;
class RemoveDestinationDialog;

class MoveDestinations : public QObject {
    Q_OBJECT
public:
    explicit MoveDestinations(DefaultsStore &defaults, QObject *parent = nullptr);
    ~MoveDestinations() override;

    void setFSBrowser(FSBrowser *browser);
    void setMailTitles(MailTitles *titles);
    void setTitleWindow(QMainWindow *window);

    QMenu *moveMenu() const { return menu_; }
    // "Refresh" (F5): refreshList(true).
    QAction *refreshAction() const { return refresh_; }
    // The menu's own commands, by object name: "addCurrentFolder",
    // "addFolderAndMove", "removeMoveFolder", "WEXMove"; with "refreshList".
    QList<QAction *> commandActions() const;

    // Loads "Move Folder" and makes the destination items, when the settings
    // folder exists; otherwise the list stays empty and is never saved.
    void awakeFromNib();
    // At termination: finishes a running move, then saveMoveArray().
    void terminate();

    const QStringList &moveArray() const { return folders_; }
    // The menu item of destination index; nullptr out of range.
    QAction *destinationItem(int index) const;

    // Makes the menu item for the entry that stands at index in the list.
    void addFolderPathString(const QString &entry, int index);
    // Adds an absolute folder at the end (kept relative when inside the store).
    void addFolder(const QString &absolutePath);
    // Adds the folder selected in the browser.
    void addCurrentFolder();
    // Lets the user choose a folder (starting at the store root; the accept
    // button reads "Choose"), adds it and moves the selected mails there.
    void addFolderAndMove();

    // Moves the selected mails to the destination of a menu item's tag.
    void moveMailTo(int tag);
    // Moves the selected mails into folder (absolute). With no mail selected
    // nothing is done and no row is shown. When the moves are done, the row
    // of the last mail moved (now holding the mail after it) is shown.
    void moveMailToDirectory(const QString &folder);
    bool isMoving() const { return bool(run_); }
    // Completes a running move at once (before anything else uses the list).
    void finishMove();

    // The remove window, modally.
    void remove();
    // Removes destination row and closes the remove window; false (and
    // nothing changes, the window stays open) for a row out of range.
    bool removeItem(int row);
    void removeAll();
    void removeCancel();
    // Writes the list under "Move Folder" (the store is not flushed here).
    void saveMoveArray();

    // Starts the suite's mail mover "WEX_Relocate.app" without arguments.
    void WEXMove();

    // Loads the title table again from the browser's folder: refresh true
    // (the menu) goes to the first unread mail, false (a download's end)
    // keeps the shown mail selected. The browser's columns are listed again.
    void refreshList(bool refresh);

    // The last message shown in the title window's status bar.
    const QString &lastMessage() const { return message_; }
    // How long one step of a move may run before the event loop gets a turn.
    void setStepBudget(std::chrono::nanoseconds budget) { budget_ = budget; }

signals:
    // A move has ended (all its mails handled, its row shown, its message out).
    void moveFinished();

private:
    QAction *addCommand(const QString &name, const char *text);
    void renumberFrom(int index);
    void continueMove();
    void endMove();
    void showMessage(const QString &text, int timeoutMs = 0);
    QWidget *dialogParent() const;
    RemoveDestinationDialog *removeWindow();

    DefaultsStore &defaults_;
    QPointer<FSBrowser> browser_;
    QPointer<MailTitles> titles_;
    QPointer<QMainWindow> titleWindow_;
    QMenu *menu_;
    QAction *refresh_;
    QList<QAction *> commands_;
    QStringList folders_;
    QList<QAction *> items_; // items_[i] is menu item i, for entry i
    QPointer<RemoveDestinationDialog> removeWindow_;
    std::unique_ptr<MailMoveRun> run_;
    QString runFolder_;
    QString message_;
    std::chrono::nanoseconds budget_ = std::chrono::milliseconds(12);
    bool loaded_ = false;
    // Schedules the next step as a timer, not a posted call: posted calls go
    // before timers and window events, timers take turns with them.
    QTimer *stepTimer_;
};

} // namespace wex
