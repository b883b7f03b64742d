#pragma once
// Brings the application into its working state, opens folders in the browser
// and the title list, and writes the sort preferences back at the end.
//
// Start-up (start): the browser's column settings, the keys of the three
// windows routed to the key controller, the store resolved, the sort
// preferences restored ("Sort Reverse", "Sort Identifier" default "date",
// "Sort Folder by" default "name"), the InBox opened (or the start path, see
// setStartPath), and last the preferences' start-up download. Without a
// settings folder it prints one line naming the folders it looked for and
// answers false before anything else happens: the caller ends the process
// with status 255 and no window is shown, no preference read or written.
//
// Every collaborator is given at construction and must outlive it; the store
// context is filled by start().
#include <QObject>
#include <QString>
#include <cstdio>

class QMainWindow;

namespace wex {

class Coding;
class DefaultsStore;
class FSBrowser;
class KeyRouter;
class MailTitles;
class Preferences;
struct StoreContext;

// The three main windows.
struct MainWindows {
    QMainWindow &folders;
    QMainWindow &titles;
    QMainWindow &contents;
};

class AppController : public QObject {
    Q_OBJECT
public:
    AppController(DefaultsStore &defaults, StoreContext &store, const Coding &coding, const MainWindows &windows,
                  FSBrowser &browser, MailTitles &titles, KeyRouter &keyRouter, Preferences &preferences,
                  QObject *parent = nullptr);

    // A path named on the command line, opened at start-up in place of the
    // InBox: a folder is selected and its mails listed, a mail shown in its
    // folder. A path that opens nothing leaves the InBox to open, with one
    // line on err and the same words in the title window's status line.
    // Set before start().
    void setStartPath(const QByteArray &path);

    // The start-up sequence; false (after one line on err) when there is no
    // settings folder.
    bool start(FILE *err = stderr);
    // Writes "Sort Reverse", "Sort Identifier" and "Sort Folder by".
    void saveSortPreferences();

    // The store's "InBox" / "Draft" in the browser and the title table.
    void browseInBox();
    void browseDraft();
    // A folder the user chose in the browser: the title window is named after
    // it and its mails are listed, the first unread one selected.
    void showFolder(const QByteArray &path);
    // Folder window, then title window, then the contents window as the
    // active one; nothing while a modal window is up.
    void allFront();

    // The line printed when neither settings folder exists.
    static QString missingSettingsMessage();

private:
    void browseStoreFolder(const char *name);
    bool browseStartPath(FILE *err);

    DefaultsStore &defaults_;
    StoreContext &store_;
    const Coding &coding_;
    MainWindows windows_;
    FSBrowser &browser_;
    MailTitles &titles_;
    KeyRouter &keyRouter_;
    Preferences &preferences_;
    QByteArray startPath_;
};

} // namespace wex
