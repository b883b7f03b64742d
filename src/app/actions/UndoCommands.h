#pragma once
// Edit > Undo and Redo over the journal of this program's renames and moves.
// The items name what they will take back or make again ("Undo Move of 3
// Mails to Archive") and are kept current whenever the menu opens. After a
// step the title list is loaded again; a mail changed since, and so left as
// it is, is named on the title window's status line. Deletions are never in
// the journal: Undo cannot bring back a deleted mail.
//
// The journal, the refresh command and the window must outlive it.
#include "UndoSteps.h"

#include <QObject>
#include <QString>

class QAction;
class QMainWindow;
class QMenu;

namespace wex {

class FolderRefresh;

class UndoCommands : public QObject {
    Q_OBJECT
public:
    UndoCommands(Journal &journal, FolderRefresh &refresh, QMainWindow &titleWindow, QObject *parent = nullptr);
    ~UndoCommands() override;

    // The Edit menu holding the two items (object names "undo", "redo").
    QMenu *editMenu() const { return menu_; }
    QAction *undoAction() const { return undo_; }
    QAction *redoAction() const { return redo_; }

    void undo();
    void redo();
    // Sets the items' texts and whether they can run.
    void updateItems();
    const QString &lastMessage() const { return lastMessage_; }

private:
    // Undoes (back) or redoes the next step, or says there is none.
    void run(bool back);
    void finish(const UndoOutcome &outcome);

    UndoSteps steps_;
    FolderRefresh &refresh_;
    QMainWindow &titleWindow_;
    QMenu *menu_;
    QAction *undo_, *redo_;
    QString lastMessage_;
};

} // namespace wex
