#pragma once
// The application's one menu bar: one set of menus and actions, shown in a
// QMenuBar on each of the three main windows. It only builds the menus and
// binds their keys: every item runs a command of the object that owns the
// data it acts on, all of them given at construction and outliving it.
//
// Menus: File (Print, Preferences, Quit), Mail (commands on the selected
// mails, the lists, Get Mail, the Move submenu), Folder (Browse InBox, Browse
// Draft, folder order, Refresh), Window (bring the windows to the front).
// Command-key shortcuts use Control here.
#include <QHash>
#include <QObject>
#include <QString>

class QAction;
class QActionGroup;
class QMainWindow;
class QMenu;

namespace wex {

class AppController;
class Chain;
class Downloads;
class FolderRefresh;
class FSBrowser;
class MailCommands;
class MailContents;
class MailTitles;
class MoveDestinations;
class Preferences;
class StoreFind;
class QuickFilterField;

// What the menus act on.
struct MenuCommands {
    AppController &app;
    MailCommands &mail;
    MailTitles &titles;
    MailContents &contents;
    Chain &chain;
    StoreFind &find;
    QuickFilterField &filter;
    FSBrowser &browser;
    Downloads &downloads;
    Preferences &preferences;
    MoveDestinations &destinations;
    FolderRefresh &refresh;
};

class MenuController : public QObject {
    Q_OBJECT
public:
    // The folder orders of the "Sort Folder by" menu items, by item tag.
    static QString tagName(int tag); // 0 "name", 1 "modDate"; "" otherwise

    explicit MenuController(const MenuCommands &commands, QObject *parent = nullptr);
    ~MenuController() override;

    // Gives a window its menu bar showing the shared menus.
    void installMenuBar(QMainWindow *window);

    QMenu *fileMenu() const { return fileMenu_; }
    QMenu *mailMenu() const { return mailMenu_; }
    QMenu *folderMenu() const { return folderMenu_; }
    QMenu *windowMenu() const { return windowMenu_; }
    // A shared action by its object name ("print", "quit", "reply", ...,
    // "refreshList", "addCurrentFolder", ...); nullptr when unknown.
    QAction *action(const QString &name) const;

private:
    QAction *addAction(QMenu *menu, const QString &name, const char *text, const QKeySequence &key);
    void addMailCommandItems(MailCommands &mail);
    // Ticks the folder-order item of the order in force (none for an unknown one).
    void showFolderOrder();

    QMenu *fileMenu_, *mailMenu_, *folderMenu_, *windowMenu_;
    QActionGroup *folderOrder_;
    QHash<QString, QAction *> actions_;
};

} // namespace wex
