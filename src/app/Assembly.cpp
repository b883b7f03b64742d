#include "Assembly.h"

#include "AppController.h"
#include "BrowserTextView.h"
#include "Chain.h"
#include "Coding.h"
#include "CodingFonts.h"
#include "DefaultsStore.h"
#include "Downloads.h"
#include "FSBrowser.h"
#include "FolderModel.h"
#include "FolderRefresh.h"
#include "FontTable.h"
#include "JournaledMove.h"
#include "KeyController.h"
#include "KeyEditor.h"
#include "KeyRouter.h"
#include "MailCommands.h"
#include "MailContents.h"
#include "MailMoves.h"
#include "MailTitles.h"
#include "MenuController.h"
#include "MoveDestinations.h"
#include "NewMailNotice.h"
#include "Preferences.h"
#include "PathUtils.h"
#include "PreferencesWindow.h"
#include "QuickFilterField.h"
#include "StoreFind.h"
#include "UndoCommands.h"
#include "ui_ContentsWindow.h"
#include "ui_FolderWindow.h"
#include "ui_TitleWindow.h"

#include <QApplication>
#include <cstdio>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QScreen>
#include <QTimer>

namespace wex {

Assembly::Assembly(const QString &defaultsPath)
    : defaults_(std::make_unique<DefaultsStore>(defaultsPath.isEmpty() ? DefaultsStore::defaultPath() : defaultsPath)),
      coding_(std::make_unique<Coding>()),
      fonts_(std::make_unique<CodingFonts>(*coding_, *defaults_)),
      journal_(std::make_unique<Journal>(Journal::defaultPath()))
{
    makeWindows();
    titles_ = std::make_unique<MailTitles>(*coding_, *defaults_, store_, *table_, *titleWindow_);
    contents_ = std::make_unique<MailContents>(*coding_, *fonts_, *titles_, *textView_, *contentsWindow_, journal_.get());
    keys_ = std::make_unique<KeyController>(*defaults_, *titles_, *textView_);
    keyRouter_ = std::make_unique<KeyRouter>(*keys_);
    keyEditor_ = std::make_unique<KeyEditor>(*keys_, *preferencesWindow_->keyTable());
    fontTable_ = std::make_unique<FontTable>(*coding_, *fonts_, *preferencesWindow_->fontTable());
    chain_ = std::make_unique<Chain>(*titles_, *titleWindow_, store_);
    find_ = std::make_unique<StoreFind>(*titles_, *titleWindow_, store_);
    filter_ = std::make_unique<QuickFilterField>(*titles_, *filterField_, *titleWindow_->statusBar());
    commands_ = std::make_unique<MailCommands>(*titles_, *contents_, *titleWindow_, journal_.get());
    moves_ = std::make_unique<MailMoves>(*titles_, *titleWindow_, journal_.get());
    destinations_ = std::make_unique<MoveDestinations>(*defaults_, store_, *browser_, *moves_, *titleWindow_);
    refresh_ = std::make_unique<FolderRefresh>(*titles_, *browser_, *moves_);
    downloads_ = std::make_unique<Downloads>(*titles_, *refresh_, *titleWindow_);
    preferences_ = std::make_unique<Preferences>(*defaults_, *preferencesWindow_, *downloads_, *keyEditor_, *titles_);
    DefaultsStore *defaults = defaults_.get();
    notice_ = std::make_unique<NewMailNotice>([defaults] { return Preferences::notifyNewMailWanted(*defaults); });
    app_ = std::make_unique<AppController>(*defaults_, store_, *coding_,
                                           MainWindows{*folderWindow_, *titleWindow_, *contentsWindow_}, *browser_,
                                           *titles_, *keyRouter_, *preferences_);
    menu_ = std::make_unique<MenuController>(MenuCommands{*app_, *commands_, *titles_, *contents_, *chain_, *find_, *filter_,
                                                          *browser_, *downloads_, *preferences_, *destinations_, *refresh_});
    for (QMainWindow *window : {folderWindow_.get(), titleWindow_.get(), contentsWindow_.get()})
        menu_->installMenuBar(window);
    undo_ = std::make_unique<UndoCommands>(*journal_, *refresh_, *titleWindow_);
    // Edit follows File, as on every desktop.
    for (QMainWindow *window : {folderWindow_.get(), titleWindow_.get(), contentsWindow_.get()})
        window->menuBar()->insertMenu(menu_->mailMenu()->menuAction(), undo_->editMenu());
    connectSignals();
}

Assembly::~Assembly()
{
    // Controllers first (reverse order of building), then the windows they
    // refer to.
    undo_.reset();
    menu_.reset();
    app_.reset();
    notice_.reset();
    preferences_.reset();
    downloads_.reset();
    refresh_.reset();
    destinations_.reset();
    moves_.reset();
    commands_.reset();
    filter_.reset();
    find_.reset();
    chain_.reset();
    fontTable_.reset();
    keyEditor_.reset();
    keyRouter_.reset();
    keys_.reset();
    contents_.reset();
    titles_.reset();
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
    filterField_ = titleForm.filterField;

    contentsWindow_ = std::make_unique<QMainWindow>();
    Ui::ContentsWindow contentsForm;
    contentsForm.setupUi(contentsWindow_.get());
    textView_ = contentsForm.textView;

    preferencesWindow_ = std::make_unique<PreferencesWindow>();
}

void Assembly::connectSignals()
{
    KeyController *keys = keys_.get();
    textView_->setKeyHandler([keys](const QKeyEvent *event) { return keys->handleKeyDown(event); });
    QObject::connect(browser_, &FSBrowser::folderClicked, app_.get(), &AppController::showFolder);
    // The browser's counts follow this program's changes, also those its
    // watch cannot see (inside an attachment folder).
    FSBrowser *browser = browser_;
    QObject::connect(titles_.get(), &MailTitles::mailChanged, browser,
                     [browser](const QByteArray &path) { browser->folderModel()->folderCounts().recountFolderOf(path); });
    // A line cut off by a narrow window can still be read whole.
    QStatusBar *status = titleWindow_->statusBar();
    QObject::connect(status, &QStatusBar::messageChanged, status, &QWidget::setToolTip);

    PreferencesWindow *window = preferencesWindow_.get();
    KeyEditor *editor = keyEditor_.get();
    QObject::connect(window->addKeyButton(), &QPushButton::clicked, editor, &KeyEditor::addKey);
    QObject::connect(window->removeKeyButton(), &QPushButton::clicked, editor, &KeyEditor::removeSelectionKey);
    QObject::connect(window->removeAllKeyButton(), &QPushButton::clicked, editor, &KeyEditor::removeAllKey);
    QObject::connect(editor, &KeyEditor::windowsToFront, app_.get(), &AppController::allFront);
    QObject::connect(preferences_.get(), &Preferences::closed, app_.get(), &AppController::allFront);

    // New mail is told on the desktop; the notice, activated, shows it.
    QObject::connect(downloads_.get(), &Downloads::mailArrived, notice_.get(), &NewMailNotice::announce);
    AppController *app = app_.get();
    QObject::connect(notice_.get(), &NewMailNotice::activated, app, [app] {
        app->allFront();
        app->browseInBox();
    });
}

bool Assembly::start()
{
    if (started_)
        return true;
    if (!app_->start())
        return false;
    titles_->restoreLayout();
    keys_->restoreBindings();
    destinations_->restore();
    started_ = true;
    reportPreferencesAtStart();
    recoverJournal();
    if (QCoreApplication *application = QCoreApplication::instance())
        QObject::connect(application, &QCoreApplication::aboutToQuit, titles_.get(), [this] { terminate(); });
    return true;
}

void Assembly::terminate()
{
    if (!started_ || terminated_)
        return;
    terminated_ = true;
    moves_->finishMove();
    app_->saveSortPreferences();
    titles_->saveLayout();
    fonts_->terminate();
    keys_->saveBindings();
    destinations_->save();
    QString error;
    if (!defaults_->save(&error)) {
        // The old file stays; what this run changed (move destinations, keys)
        // is lost, and the user must know it.
        const QString text = Localize(QT_TRANSLATE_NOOP("WEX", "The preferences were not saved: %1 (%2)"))
                                 .arg(error, defaults_->filePath());
        std::fprintf(stderr, "wex-browser: %s\n", text.toLocal8Bit().constData());
        if (titleWindow_->isVisible())
            QMessageBox::warning(titleWindow_.get(), QStringLiteral("WEX Browser"), text);
    }
}

void Assembly::recoverJournal()
{
    if (journal_->damaged())
        std::fprintf(stderr, "wex-browser: %s\n",
                     Localize(QT_TRANSLATE_NOOP("WEX", "The journal was damaged and starts afresh; the old file was kept as %1."))
                         .arg(journal_->keptAside())
                         .toLocal8Bit()
                         .constData());
    for (const QString &line : journal_->recover())
        std::fprintf(stderr, "wex-browser: %s\n", line.toLocal8Bit().constData());
    if (!journal_->writeError().isEmpty())
        std::fprintf(stderr, "wex-browser: %s\n", journal_->writeError().toLocal8Bit().constData());
}

void Assembly::reportPreferencesAtStart()
{
    QString text;
    if (!defaults_->readError().isEmpty())
        text = Localize(QT_TRANSLATE_NOOP("WEX", "The preferences could not be read: %1 (%2). They start from their defaults and the file is left as it is."))
                   .arg(defaults_->readError(), defaults_->filePath());
    else if (!defaults_->keptAsidePath().isEmpty())
        text = Localize(QT_TRANSLATE_NOOP("WEX", "The preferences file was damaged and starts afresh; the old file was kept as %1."))
                   .arg(defaults_->keptAsidePath());
    if (text.isEmpty())
        return;
    std::fprintf(stderr, "wex-browser: %s\n", text.toLocal8Bit().constData());
    titleWindow_->statusBar()->showMessage(text);
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
