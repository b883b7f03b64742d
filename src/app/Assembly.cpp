#include "Assembly.h"

#include "AppController.h"
#include "Chain.h"
#include "Coding.h"
#include "CodingFonts.h"
#include "DefaultsStore.h"
#include "Downloads.h"
#include "FSBrowser.h"
#include "FontTable.h"
#include "KeyController.h"
#include "KeyEditor.h"
#include "KeyRouter.h"
#include "MailCommands.h"
#include "MailContents.h"
#include "MailTitles.h"
#include "MenuController.h"
#include "MoveDestinations.h"
#include "Preferences.h"
#include "PreferencesWindow.h"
#include "ui_ContentsWindow.h"
#include "ui_FolderWindow.h"
#include "ui_TitleWindow.h"

#include <QApplication>
#include <QMainWindow>
#include <QScreen>
#include <QTimer>

namespace wex {

Assembly::Assembly(const QString &defaultsPath)
    : defaults_(std::make_unique<DefaultsStore>(defaultsPath.isEmpty() ? DefaultsStore::defaultPath() : defaultsPath)),
      coding_(std::make_unique<Coding>()),
      fonts_(std::make_unique<CodingFonts>(*coding_, *defaults_)),
      titles_(std::make_unique<MailTitles>(*coding_, *defaults_)),
      contents_(std::make_unique<MailContents>(*coding_, *fonts_)),
      keys_(std::make_unique<KeyController>(*defaults_)),
      keyRouter_(std::make_unique<KeyRouter>(keys_.get())),
      app_(std::make_unique<AppController>(*defaults_)),
      menu_(std::make_unique<MenuController>()),
      downloads_(std::make_unique<Downloads>()),
      preferences_(std::make_unique<Preferences>(*defaults_)),
      keyEditor_(std::make_unique<KeyEditor>(*keys_)),
      fontTable_(std::make_unique<FontTable>(*coding_, *fonts_)),
      chain_(std::make_unique<Chain>()),
      moves_(std::make_unique<MoveDestinations>(*defaults_))
{
    makeWindows();
    connectOutlets();
}

Assembly::~Assembly()
{
    // Windows first: their widgets are what the controllers point at.
    preferencesWindow_.reset();
    contentsWindow_.reset();
    titleWindow_.reset();
    folderWindow_.reset();
}

void Assembly::makeWindows()
{
    folderWindow_ = std::make_unique<QMainWindow>();
    Ui::FolderWindow folderForm;
    folderForm.setupUi(folderWindow_.get());
    browser_ = folderForm.fsBrowser;

    titleWindow_ = std::make_unique<QMainWindow>();
    Ui::TitleWindow titleForm;
    titleForm.setupUi(titleWindow_.get());
    table_ = titleForm.mailTable;

    contentsWindow_ = std::make_unique<QMainWindow>();
    Ui::ContentsWindow contentsForm;
    contentsForm.setupUi(contentsWindow_.get());
    template_ = contentsForm.textView;

    for (QMainWindow *window : {folderWindow_.get(), titleWindow_.get(), contentsWindow_.get()})
        menu_->installMenuBar(window);

    preferencesWindow_ = std::make_unique<PreferencesWindow>();
}

void Assembly::connectOutlets()
{
    titles_->setTable(table_);
    titles_->setMailContents(contents_.get());
    titles_->setMailTitleWindow(titleWindow_.get());

    contents_->setMailTitles(titles_.get());
    contents_->setContentsWindow(contentsWindow_.get());
    contents_->setKeyController(keys_.get());
    contents_->setTitleTable(table_);
    contents_->setTextView(template_);

    keys_->setMailContents(contents_.get());
    keys_->setMailTitles(titles_.get());
    keys_->setMailTable(table_);

    browser_->setMailTitles(titles_.get());
    browser_->setMailTitleWindow(titleWindow_.get());

    app_->setFSBrowser(browser_);
    app_->setMailTitles(titles_.get());
    app_->setMailTitleWindow(titleWindow_.get());
    app_->setMailContents(contents_.get());
    app_->setMailFolderWindow(folderWindow_.get());
    app_->setMailContentsWindow(contentsWindow_.get());
    app_->setMenuController(menu_.get());
    app_->setKeyRouter(keyRouter_.get());
    app_->setCoding(coding_.get());

    menu_->setAppController(app_.get());
    menu_->setFSBrowser(browser_);
    menu_->setMailTitles(titles_.get());
    menu_->setMailContents(contents_.get());
    menu_->setTable(table_);
    menu_->setWindows(folderWindow_.get(), titleWindow_.get(), contentsWindow_.get());
    menu_->setDownloads(downloads_.get());
    menu_->setPreferences(preferences_.get());

    app_->setPreferences(preferences_.get());

    downloads_->setFSBrowser(browser_);
    downloads_->setMailTitles(titles_.get());
    downloads_->setMailTitleWindow(titleWindow_.get());
    downloads_->setMenuController(menu_.get());

    preferences_->setPreferenceWindow(preferencesWindow_.get());
    preferences_->setMenuController(menu_.get());
    preferences_->setKeyEditor(keyEditor_.get());
    preferences_->setMailTitles(titles_.get());

    keyEditor_->setPreferenceWindow(preferencesWindow_.get());
    keyEditor_->setMenuController(menu_.get());

    fontTable_->setFontTable(preferencesWindow_->fontTable());

    menu_->mailCommands()->setMailTitles(titles_.get());
    menu_->mailCommands()->setMailContents(contents_.get());
    menu_->mailCommands()->setTitleWindow(titleWindow_.get());
    menu_->setChain(chain_.get());

    chain_->setMailTitles(titles_.get());
    chain_->setMailTitleWindow(titleWindow_.get());

    moves_->setFSBrowser(browser_);
    moves_->setMailTitles(titles_.get());
    moves_->setTitleWindow(titleWindow_.get());
    menu_->setMoveDestinations(moves_.get());
}

bool Assembly::start()
{
    if (started_)
        return true;
    if (!app_->awakeFromNib())
        return false;
    titles_->awakeFromNib();
    keys_->awakeFromNib();
    menu_->awakeFromNib();
    moves_->awakeFromNib();
    started_ = true;
    if (QCoreApplication *application = QCoreApplication::instance())
        QObject::connect(application, &QCoreApplication::aboutToQuit, titles_.get(), [this] { terminate(); });
    return true;
}

void Assembly::terminate()
{
    if (!started_ || terminated_)
        return;
    terminated_ = true;
    app_->terminate();
    titles_->terminate();
    fonts_->terminate();
    keys_->terminate();
    moves_->terminate();
    defaults_->save();
}

void Assembly::placeWindows()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1600, 900);
    const int gap = 8;
    const int height = std::min(area.height() - 2 * gap, 620);
    if (area.width() >= 1500) {
        // Side by side: folders, mail list, mail text.
        const int folderWidth = 420, titleWidth = std::min(760, (area.width() - folderWidth - 4 * gap) / 2);
        const int contentsWidth = area.width() - folderWidth - titleWidth - 4 * gap;
        folderWindow_->setGeometry(area.x() + gap, area.y() + gap, folderWidth, height);
        titleWindow_->setGeometry(area.x() + 2 * gap + folderWidth, area.y() + gap, titleWidth, height);
        contentsWindow_->setGeometry(area.x() + 3 * gap + folderWidth + titleWidth, area.y() + gap,
                                     contentsWidth, height);
    } else {
        // Folders and list on top, the text below.
        const int top = std::max(240, height / 2 - gap);
        folderWindow_->setGeometry(area.x() + gap, area.y() + gap, 380, top);
        titleWindow_->setGeometry(area.x() + 2 * gap + 380, area.y() + gap,
                                  std::max(400, area.width() - 380 - 3 * gap), top);
        contentsWindow_->setGeometry(area.x() + gap, area.y() + 2 * gap + top, area.width() - 2 * gap,
                                     std::max(240, area.height() - top - 3 * gap));
    }
}

void Assembly::showWindows()
{
    placeWindows();
    folderWindow_->show();
    titleWindow_->show();
    contentsWindow_->show();
    contentsWindow_->raise();
    contentsWindow_->activateWindow();
    // Scrolling needs the table's final size, which it has once shown.
    QTimer::singleShot(0, titles_.get(), [this] {
        titles_->revealRow(titles_->selectedRow());
        browser_->scrollColumnToVisible(browser_->lastColumn());
    });
}

} // namespace wex
