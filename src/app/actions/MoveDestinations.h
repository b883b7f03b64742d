#pragma once
// The move destinations: remembered folders to which the title table's
// selected mails move with one menu command.
//
// The "Move" menu holds one item per destination first, in list order (item i
// stands for entry i: the folder's name, tag i, Ctrl+(i+1) for the first
// nine), then the commands (add the browser's folder, choose a folder and move
// there, remove destinations, start the suite's mail mover). Every change to
// the list changes the menu in the same step.
//
// The list is read from "Move Folder" by restore() (only when there is a
// settings folder) and written back by save(). The menu and the remove
// window are owned here; the defaults store, the store context, the browser,
// the moves and the dialog parent must outlive this object.
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

class QAction;
class QMenu;
class QWidget;

namespace wex {

class DefaultsStore;
class FSBrowser;
class MailMoves;
class RemoveDestinationDialog;
struct StoreContext;

class MoveDestinations : public QObject {
    Q_OBJECT
public:
    MoveDestinations(DefaultsStore &defaults, const StoreContext &store, FSBrowser &browser, MailMoves &moves,
                     QWidget &dialogParent, QObject *parent = nullptr);
    ~MoveDestinations() override;

    QMenu *moveMenu() const { return menu_; }
    // The menu's own commands, by object name: "addCurrentFolder",
    // "addFolderAndMove", "removeMoveFolder", "WEXMove".
    QList<QAction *> commandActions() const { return commands_; }

    // Loads "Move Folder" and makes the destination items, when the settings
    // folder exists; otherwise the list stays empty and is never saved.
    void restore();
    // Writes the list under "Move Folder" when it was loaded (the store is
    // not flushed here).
    void save();

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

    // The remove window, modally.
    void remove();
    // Removes destination row and closes the remove window; false (and
    // nothing changes, the window stays open) for a row out of range.
    bool removeItem(int row);
    void removeAll();
    void removeCancel();

    // Starts the suite's mail mover "WEX_Relocate.app" without arguments.
    void WEXMove();

private:
    QAction *addCommand(const QString &name, const char *text);
    void renumberFrom(int index);
    RemoveDestinationDialog *removeWindow();

    DefaultsStore &defaults_;
    const StoreContext &store_;
    FSBrowser &browser_;
    MailMoves &moves_;
    QWidget &dialogParent_;
    QMenu *menu_;
    QList<QAction *> commands_;
    QStringList folders_;
    QList<QAction *> items_; // items_[i] is menu item i, for entry i
    QPointer<RemoveDestinationDialog> removeWindow_;
    bool loaded_ = false;
};

} // namespace wex
