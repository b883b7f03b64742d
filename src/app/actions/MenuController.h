#pragma once
// The application's one menu bar: one set of menus and actions, shown in a
// QMenuBar on each of the three main windows. Commands act through outlets
// (none owned); the menus and their actions are owned here.
//
// Menus: File (Print, Quit), Mail (commands on the selected mails; later ones
// are added to mailMenu()), Folder (Browse InBox, Browse Draft, folder order),
// Window (bring the windows to the front). Command-key shortcuts use
// Control here.
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>

class QAction;
class QActionGroup;
class QMainWindow;
class QMenu;
class QTableView;
class QWidget;

namespace wex {

class AppController;
class Chain;
class Downloads;
class FSBrowser;
class MailCommands;
class MailContents;
class MailTitles;
class MoveDestinations;
class Preferences;

class MenuController : public QObject {
    Q_OBJECT
public:
    // The folder orders of the "Sort Folder by" menu items, by item tag.
    static QString tagName(int tag); // 0 "name", 1 "modDate"; "" otherwise

    explicit MenuController(QObject *parent = nullptr);
    ~MenuController() override;

    void setAppController(AppController *c);
    void setFSBrowser(FSBrowser *b);
    void setMailTitles(MailTitles *t);
    void setMailContents(MailContents *c);
    void setTable(QTableView *t);
    void setWindows(QWidget *folderWindow, QWidget *titleWindow, QWidget *contentsWindow);
    void setDownloads(Downloads *d);
    void setPreferences(Preferences *p);
    void setChain(Chain *c);
    // Puts the destinations' "Move" menu at the end of the Mail menu and
    // "Refresh" into the Folder menu; their commands join action().
    void setMoveDestinations(MoveDestinations *moves);
    MoveDestinations *moveDestinations() const;

    // Gives a window its menu bar showing the shared menus.
    void installMenuBar(QMainWindow *window);
    void awakeFromNib();

    QMenu *fileMenu() const { return fileMenu_; }
    QMenu *mailMenu() const { return mailMenu_; }
    QMenu *folderMenu() const { return folderMenu_; }
    QMenu *windowMenu() const { return windowMenu_; }
    // The commands on the selected mails behind the Mail menu (owned here;
    // its outlets are connected by the Assembly).
    MailCommands *mailCommands() const { return commands_; }
    // A shared action by its object name ("print", "quit", "browseInBox",
    // "browseDraft", "sortFolderByName", "sortFolderByModDate", "readNextMail",
    // "allFront", "unreadMailTitles", "chainTitle", "download", "preference");
    // nullptr when unknown.
    QAction *action(const QString &name) const;

    // Sets the class-wide folder order and ticks the matching item (none for
    // an unknown tag); the browser is not reloaded.
    void sortFolderByTag(const QString &tag);
    // The menu command: the order of the item's tag, then the browser's last
    // visible column listed again in that order.
    void sortFolderByMenu(int tag);
    void printMail(); // the shown mail, without its raw headers
    void browseInBox();
    void browseDraft();
    void readNextMail();
    // Folder window, then title window, then the contents window as the
    // active one.
    void allFront();
    // The title list loaded again from the browser's folder: true from the
    // menu (first unread mail), false from a download's end (the shown mail
    // stays selected).
    void refreshList(bool refresh);
    // Starts the suite's downloader and watches it ("Get Mail").
    void download();

private:
    QAction *addAction(QMenu *menu, const QString &name, const char *text, const QKeySequence &key);
    void addMailCommandItems(); // MenuMailItems.cpp

    QPointer<AppController> app_;
    QPointer<FSBrowser> browser_;
    QPointer<MailTitles> titles_;
    QPointer<MailContents> contents_;
    QPointer<Chain> chain_;
    QPointer<QTableView> table_;
    QPointer<QWidget> folderWindow_, titleWindow_, contentsWindow_;
    QPointer<MoveDestinations> moves_;
    QPointer<Downloads> downloads_;
    QPointer<Preferences> preferences_;
    QMenu *fileMenu_, *mailMenu_, *folderMenu_, *windowMenu_;
    QActionGroup *folderOrder_;
    MailCommands *commands_;
    QHash<QString, QAction *> actions_;
};

} // namespace wex
