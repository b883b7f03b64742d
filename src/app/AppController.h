#pragma once
// Brings the application into its working state and writes the sort
// preferences back at the end.
//
// Start-up (awakeFromNib): the browser's column settings, the mail text view
// installed, the keys of the three windows routed to the key controller, the
// store resolved, the sort preferences restored ("Sort Reverse", "Sort
// Identifier" default "date", "Sort Folder by" default "name"), the InBox
// opened (or the start path, see setStartPath), and last the preferences'
// start-up download. Without a settings folder it prints one line naming the
// folders it looked for and answers false before anything else happens: the
// caller ends the process with status 255 and no window is shown, no
// preference read or written.
//
// Holds outlets only (none owned); they must outlive the controller.
#include <QObject>
#include <QPointer>
#include <QString>
#include <cstdio>

class QWidget;

namespace wex {

class Coding;
class DefaultsStore;
class FSBrowser;
class KeyRouter;
class MailContents;
class MailTitles;
class MenuController;
class Preferences;

class AppController : public QObject {
    Q_OBJECT
public:
    explicit AppController(DefaultsStore &defaults, QObject *parent = nullptr);

    void setFSBrowser(FSBrowser *b);
    void setMailTitles(MailTitles *t);
    void setMailTitleWindow(QWidget *w);
    void setMailContents(MailContents *c);
    void setMailFolderWindow(QWidget *w);
    void setMailContentsWindow(QWidget *w);
    void setMenuController(MenuController *m);
    void setKeyRouter(KeyRouter *r);
    void setPreferences(Preferences *p);
    void setCoding(const Coding *c);

    // A path named on the command line, opened at start-up in place of the
    // InBox: a folder is selected and its mails listed, a mail shown in its
    // folder. A path that opens nothing leaves the InBox to open, with one
    // line on err and the same words in the title window's status line.
    // Set before awakeFromNib.
    void setStartPath(const QByteArray &path);

    // The start-up sequence; false (after one line on err) when there is no
    // settings folder.
    bool awakeFromNib(FILE *err = stderr);
    // Writes "Sort Reverse", "Sort Identifier" and "Sort Folder by".
    void terminate();

    // The store's "InBox" / "Draft" in the browser and the title table.
    void browseInBox();
    void browseDraft();

    // The line printed when neither settings folder exists.
    static QString missingSettingsMessage();

private:
    void browseStoreFolder(const char *name);
    bool browseStartPath(FILE *err);

    DefaultsStore &defaults_;
    QPointer<FSBrowser> browser_;
    QPointer<MailTitles> titles_;
    QPointer<QWidget> titleWindow_;
    QPointer<MailContents> contents_;
    QPointer<QWidget> folderWindow_;
    QPointer<QWidget> contentsWindow_;
    QPointer<MenuController> menu_;
    QPointer<KeyRouter> keyRouter_;
    QPointer<Preferences> preferences_;
    const Coding *coding_ = nullptr;
    QByteArray startPath_;
};

} // namespace wex
