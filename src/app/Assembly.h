#pragma once
// Builds the application: the three main windows from their forms and the
// preferences window, then exactly one object of each controller, each given
// what it always needs; connects their signals in one place; runs start-up
// and, at the end, termination.
//
// Lifetime: the Assembly owns everything it creates. Members are declared in
// the order they are built, windows first, so every controller goes before
// the windows and the objects it refers to. terminate() runs once, from
// QCoreApplication::aboutToQuit (connected by a successful start()) or
// directly; the defaults store is saved once, after every controller has
// written its preferences.
#include "StoreContext.h"

#include <QString>
#include <memory>

class QMainWindow;
class QLineEdit;
class QTableView;

namespace wex {

class AppController;
class BrowserTextView;
class Chain;
class StoreFind;
class Journal;
class UndoCommands;
class QuickFilterField;
class Coding;
class CodingFonts;
class DefaultsStore;
class Downloads;
class FolderRefresh;
class FontTable;
class FSBrowser;
class KeyController;
class KeyEditor;
class KeyRouter;
class MailCommands;
class MailContents;
class MailMoves;
class MailTitles;
class MenuController;
class MoveDestinations;
class NewMailNotice;
class Preferences;
class PreferencesWindow;

class Assembly {
public:
    // defaultsPath: the preferences file (the user's one unless a test says).
    explicit Assembly(const QString &defaultsPath = QString());
    ~Assembly();
    Assembly(const Assembly &) = delete;
    Assembly &operator=(const Assembly &) = delete;

    // Start-up, in order: the AppController (which resolves the store, opens
    // the InBox or the start path and starts the start-up download), the
    // title table's layout, the key bindings, the move destinations. False
    // when there is no settings folder: a line on stderr, nothing else done,
    // nothing shown.
    bool start();
    // Shows the three windows side by side and puts the selected mail in view.
    void showWindows();
    // The preferences of every controller, then one save of the defaults
    // store; a save that fails is told on stderr and, while the windows are
    // up, in a message.
    void terminate();

    DefaultsStore &defaults() const { return *defaults_; }
    const StoreContext &store() const { return store_; }
    const Coding &coding() const { return *coding_; }
    CodingFonts &codingFonts() const { return *fonts_; }
    QMainWindow &folderWindow() const { return *folderWindow_; }
    QMainWindow &titleWindow() const { return *titleWindow_; }
    QMainWindow &contentsWindow() const { return *contentsWindow_; }
    PreferencesWindow &preferencesWindow() const { return *preferencesWindow_; }
    FSBrowser &fsBrowser() const { return *browser_; }
    QTableView &mailTable() const { return *table_; }
    BrowserTextView &textView() const { return *textView_; }
    MailTitles &mailTitles() const { return *titles_; }
    MailContents &mailContents() const { return *contents_; }
    KeyController &keyController() const { return *keys_; }
    KeyEditor &keyEditor() const { return *keyEditor_; }
    FontTable &fontTable() const { return *fontTable_; }
    Chain &chain() const { return *chain_; }
    StoreFind &storeFind() const { return *find_; }
    QuickFilterField &quickFilter() const { return *filter_; }
    MailCommands &mailCommands() const { return *commands_; }
    MailMoves &mailMoves() const { return *moves_; }
    MoveDestinations &moveDestinations() const { return *destinations_; }
    FolderRefresh &folderRefresh() const { return *refresh_; }
    Downloads &downloads() const { return *downloads_; }
    Preferences &preferences() const { return *preferences_; }
    NewMailNotice &newMailNotice() const { return *notice_; }
    AppController &appController() const { return *app_; }
    MenuController &menuController() const { return *menu_; }
    Journal &journal() const { return *journal_; }
    UndoCommands &undoCommands() const { return *undo_; }

private:
    void makeWindows();
    void connectSignals();
    void placeWindows();

    std::unique_ptr<DefaultsStore> defaults_;
    std::unique_ptr<Coding> coding_;
    std::unique_ptr<CodingFonts> fonts_;
    // The journal of this program's renames and moves
    // ($XDG_STATE_HOME/wex-browser/journal); outlives every controller.
    std::unique_ptr<Journal> journal_;
    StoreContext store_;
    std::unique_ptr<QMainWindow> folderWindow_, titleWindow_, contentsWindow_;
    std::unique_ptr<PreferencesWindow> preferencesWindow_;
    FSBrowser *browser_ = nullptr;          // inside folderWindow_
    QTableView *table_ = nullptr;           // inside titleWindow_
    QLineEdit *filterField_ = nullptr;      // inside titleWindow_
    BrowserTextView *textView_ = nullptr;   // inside contentsWindow_
    std::unique_ptr<MailTitles> titles_;
    std::unique_ptr<MailContents> contents_;
    std::unique_ptr<KeyController> keys_;
    std::unique_ptr<KeyRouter> keyRouter_;
    std::unique_ptr<KeyEditor> keyEditor_;
    std::unique_ptr<FontTable> fontTable_;
    std::unique_ptr<Chain> chain_;
    std::unique_ptr<StoreFind> find_;
    std::unique_ptr<QuickFilterField> filter_;
    std::unique_ptr<MailCommands> commands_;
    std::unique_ptr<MailMoves> moves_;
    std::unique_ptr<MoveDestinations> destinations_;
    std::unique_ptr<FolderRefresh> refresh_;
    std::unique_ptr<Downloads> downloads_;
    std::unique_ptr<Preferences> preferences_;
    std::unique_ptr<NewMailNotice> notice_;
    std::unique_ptr<AppController> app_;
    std::unique_ptr<MenuController> menu_;
    std::unique_ptr<UndoCommands> undo_;
    // Finishes what a killed run left half done (told on stderr).
    void recoverJournal();
    // A preferences file that could not be read, or was damaged and kept
    // aside, told on stderr and on the title window's status line.
    void reportPreferencesAtStart();

    bool started_ = false;
    bool terminated_ = false;
};

} // namespace wex
