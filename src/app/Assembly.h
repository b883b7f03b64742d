#pragma once
// Plays the interface description: creates exactly one object of each
// controller, the three main windows from their forms, connects every outlet,
// then runs start-up and, at the end, termination.
//
// Lifetime: the Assembly owns everything it creates; controllers and windows
// live as long as it does. Outlets are all connected in the constructor,
// before start() sends the first awakeFromNib. terminate() runs once, from
// QCoreApplication::aboutToQuit (connected by a successful start()) or
// directly; the defaults store is saved once, after every controller has
// written its preferences.
#include <QString>
#include <memory>

class QMainWindow;
class QPlainTextEdit;
class QTableView;

namespace wex {

class AppController;
class Chain;
class Coding;
class CodingFonts;
class DefaultsStore;
class Downloads;
class FontTable;
class FSBrowser;
class KeyController;
class KeyEditor;
class KeyRouter;
class MailContents;
class MailTitles;
class MenuController;
class MoveDestinations;
class Preferences;
class PreferencesWindow;

class Assembly {
public:
    // defaultsPath: the preferences file (the user's one unless a test says).
    explicit Assembly(const QString &defaultsPath = QString());
    ~Assembly();
    Assembly(const Assembly &) = delete;
    Assembly &operator=(const Assembly &) = delete;

    // Start-up, in order: AppController (which resolves the store and opens
    // the InBox), MailTitles, KeyController, MenuController. False when there
    // is no settings folder: a line on stderr, nothing else done, nothing shown.
    bool start();
    // Shows the three windows side by side and puts the selected mail in view.
    void showWindows();
    // The will-terminate handlers, then one save of the defaults store.
    void terminate();

    DefaultsStore &defaults() const { return *defaults_; }
    const Coding &coding() const { return *coding_; }
    CodingFonts *codingFonts() const { return fonts_.get(); }
    MailTitles *mailTitles() const { return titles_.get(); }
    MailContents *mailContents() const { return contents_.get(); }
    KeyController *keyController() const { return keys_.get(); }
    AppController *appController() const { return app_.get(); }
    MenuController *menuController() const { return menu_.get(); }
    Chain *chain() const { return chain_.get(); }
    MoveDestinations *moveDestinations() const { return moves_.get(); }
    QMainWindow *folderWindow() const { return folderWindow_.get(); }
    QMainWindow *titleWindow() const { return titleWindow_.get(); }
    QMainWindow *contentsWindow() const { return contentsWindow_.get(); }
    FSBrowser *fsBrowser() const { return browser_; }
    QTableView *mailTable() const { return table_; }
    Preferences *preferences() const { return preferences_.get(); }
    PreferencesWindow *preferencesWindow() const { return preferencesWindow_.get(); }
    Downloads *downloads() const { return downloads_.get(); }
    KeyEditor *keyEditor() const { return keyEditor_.get(); }
    FontTable *fontTable() const { return fontTable_.get(); }

private:
    void makeWindows();
    void connectOutlets();
    void placeWindows();

    std::unique_ptr<DefaultsStore> defaults_;
    std::unique_ptr<Coding> coding_;
    std::unique_ptr<CodingFonts> fonts_;
    std::unique_ptr<MailTitles> titles_;
    std::unique_ptr<MailContents> contents_;
    std::unique_ptr<KeyController> keys_;
    std::unique_ptr<KeyRouter> keyRouter_;
    std::unique_ptr<AppController> app_;
    std::unique_ptr<MenuController> menu_;
    std::unique_ptr<Downloads> downloads_;
    std::unique_ptr<Preferences> preferences_;
    std::unique_ptr<KeyEditor> keyEditor_;
    std::unique_ptr<FontTable> fontTable_;
    std::unique_ptr<Chain> chain_;
    std::unique_ptr<MoveDestinations> moves_;
    std::unique_ptr<QMainWindow> folderWindow_, titleWindow_, contentsWindow_;
    std::unique_ptr<PreferencesWindow> preferencesWindow_;
    FSBrowser *browser_ = nullptr;     // inside folderWindow_
    QTableView *table_ = nullptr;      // inside titleWindow_
    QPlainTextEdit *template_ = nullptr; // inside contentsWindow_
    bool started_ = false;
    bool terminated_ = false;
};

} // namespace wex
