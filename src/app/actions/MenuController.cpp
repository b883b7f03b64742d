#include "MenuController.h"

#include "AppController.h"
#include "BrowserTextView.h"
#include "Downloads.h"
#include "Chain.h"
#include "FSBrowser.h"
#include "FSNodeInfo.h"
#include "MailCommands.h"
#include "MailContents.h"
#include "MailTitles.h"
#include "MoveDestinations.h"
#include "PathUtils.h"
#include "Preferences.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCoreApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTableView>

namespace wex {

QString MenuController::tagName(int tag)
{
    switch (tag) {
    case 0: return QStringLiteral("name");
    case 1: return QStringLiteral("modDate");
    default: return QString();
    }
}

MenuController::MenuController(QObject *parent)
    : QObject(parent),
      fileMenu_(new QMenu(tr("File"))),
      mailMenu_(new QMenu(tr("Mail"))),
      folderMenu_(new QMenu(tr("Folder"))),
      windowMenu_(new QMenu(tr("Window"))),
      folderOrder_(new QActionGroup(this)),
      commands_(new MailCommands(this))
{
    connect(addAction(fileMenu_, QStringLiteral("print"), QT_TRANSLATE_NOOP("WEX", "Print..."), QKeySequence(Qt::CTRL | Qt::Key_P)),
            &QAction::triggered, this, &MenuController::printMail);
    fileMenu_->addSeparator();
    QAction *preference = addAction(fileMenu_, QStringLiteral("preference"), QT_TRANSLATE_NOOP("WEX", "Preferences..."),
                                    QKeySequence(Qt::CTRL | Qt::Key_Comma));
    preference->setMenuRole(QAction::PreferencesRole);
    // Queued: the window runs modally, not inside the menu's own handling.
    connect(preference, &QAction::triggered, this, [this] {
        if (preferences_)
            preferences_->preference();
    }, Qt::QueuedConnection);
    fileMenu_->addSeparator();
    QAction *quit = addAction(fileMenu_, QStringLiteral("quit"), QT_TRANSLATE_NOOP("WEX", "Quit"), QKeySequence(Qt::CTRL | Qt::Key_Q));
    quit->setMenuRole(QAction::QuitRole);
    connect(quit, &QAction::triggered, qApp, &QCoreApplication::quit, Qt::QueuedConnection);

    addMailCommandItems();
    connect(addAction(mailMenu_, QStringLiteral("readNextMail"), QT_TRANSLATE_NOOP("WEX", "Next Mail"), QKeySequence()),
            &QAction::triggered, this, &MenuController::readNextMail);
    connect(addAction(mailMenu_, QStringLiteral("download"), QT_TRANSLATE_NOOP("WEX", "Get Mail"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_G)),
            &QAction::triggered, this, &MenuController::download);
    connect(addAction(mailMenu_, QStringLiteral("unreadMailTitles"), QT_TRANSLATE_NOOP("WEX", "Unread Mails"),
                      QKeySequence(Qt::CTRL | Qt::Key_U)),
            &QAction::triggered, this, [this] {
                if (titles_)
                    titles_->unreadMailTitles();
            });
    connect(addAction(mailMenu_, QStringLiteral("chainTitle"), QT_TRANSLATE_NOOP("WEX", "Related Mails"), QKeySequence(Qt::CTRL | Qt::Key_T)),
            &QAction::triggered, this, [this] {
                if (chain_)
                    chain_->chainTitle();
            });

    connect(addAction(folderMenu_, QStringLiteral("browseInBox"), QT_TRANSLATE_NOOP("WEX", "Browse InBox"),
                      QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_I)),
            &QAction::triggered, this, &MenuController::browseInBox);
    connect(addAction(folderMenu_, QStringLiteral("browseDraft"), QT_TRANSLATE_NOOP("WEX", "Browse Draft"),
                      QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D)),
            &QAction::triggered, this, &MenuController::browseDraft);
    folderMenu_->addSeparator();
    const char *const orderTexts[] = {QT_TRANSLATE_NOOP("WEX", "Sort Folders by Name"),
                                      QT_TRANSLATE_NOOP("WEX", "Sort Folders by Date")};
    const char *const orderNames[] = {"sortFolderByName", "sortFolderByModDate"};
    for (int tag = 0; tag < 2; ++tag) {
        QAction *item = addAction(folderMenu_, QLatin1String(orderNames[tag]), orderTexts[tag], QKeySequence());
        item->setCheckable(true);
        item->setData(tag);
        folderOrder_->addAction(item);
        connect(item, &QAction::triggered, this, [this, tag] { sortFolderByMenu(tag); });
    }
    // Both items can be off (an unknown stored order), so the group does not
    // force one of them on.
    folderOrder_->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);

    connect(addAction(windowMenu_, QStringLiteral("allFront"), QT_TRANSLATE_NOOP("WEX", "Bring All to Front"), QKeySequence()),
            &QAction::triggered, this, &MenuController::allFront);
    // The Folder menu's InBox item, shown in the Mail menu too.
    mailMenu_->insertAction(action(QStringLiteral("readNextMail")), action(QStringLiteral("browseInBox")));
}

MenuController::~MenuController()
{
    // The menus have no parent (each is shown by three menu bars).
    delete fileMenu_;
    delete mailMenu_;
    delete folderMenu_;
    delete windowMenu_;
}

QAction *MenuController::addAction(QMenu *menu, const QString &name, const char *text, const QKeySequence &key)
{
    QAction *item = menu->addAction(Localize(text));
    item->setObjectName(name);
    if (!key.isEmpty())
        item->setShortcut(key);
    actions_.insert(name, item);
    return item;
}

void MenuController::setAppController(AppController *c) { app_ = c; }
void MenuController::setFSBrowser(FSBrowser *b) { browser_ = b; }
void MenuController::setMailTitles(MailTitles *t) { titles_ = t; }
void MenuController::setMailContents(MailContents *c) { contents_ = c; }
void MenuController::setTable(QTableView *t) { table_ = t; }
void MenuController::setChain(Chain *c) { chain_ = c; }

void MenuController::setDownloads(Downloads *d) { downloads_ = d; }
void MenuController::setPreferences(Preferences *p) { preferences_ = p; }

void MenuController::setWindows(QWidget *folderWindow, QWidget *titleWindow, QWidget *contentsWindow)
{
    folderWindow_ = folderWindow;
    titleWindow_ = titleWindow;
    contentsWindow_ = contentsWindow;
}

void MenuController::setMoveDestinations(MoveDestinations *moves)
{
    moves_ = moves;
    if (!moves)
        return;
    mailMenu_->addSeparator();
    mailMenu_->addMenu(moves->moveMenu());
    folderMenu_->addSeparator();
    folderMenu_->addAction(moves->refreshAction());
    for (QAction *item : moves->commandActions())
        actions_.insert(item->objectName(), item);
}

MoveDestinations *MenuController::moveDestinations() const { return moves_; }

void MenuController::refreshList(bool refresh)
{
    if (moves_)
        moves_->refreshList(refresh);
}

void MenuController::installMenuBar(QMainWindow *window)
{
    QMenuBar *bar = window->menuBar();
    for (QMenu *menu : {fileMenu_, mailMenu_, folderMenu_, windowMenu_})
        bar->addMenu(menu);
}

void MenuController::awakeFromNib()
{
    // Every activation brings the three windows forward, the mail text last.
    if (auto *application = qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        connect(application, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
            if (state == Qt::ApplicationActive)
                allFront();
        });
}

QAction *MenuController::action(const QString &name) const { return actions_.value(name); }

void MenuController::sortFolderByTag(const QString &tag)
{
    FSNodeInfo::setSortFolderTag(tag);
    for (QAction *item : folderOrder_->actions())
        item->setChecked(tagName(item->data().toInt()) == tag);
}

void MenuController::sortFolderByMenu(int tag)
{
    sortFolderByTag(tagName(tag));
    if (browser_)
        browser_->reloadColumns();
}

void MenuController::printMail()
{
    if (contents_ && contents_->browserTextView())
        contents_->browserTextView()->print();
}

void MenuController::browseInBox()
{
    if (app_)
        app_->browseInBox();
}

void MenuController::browseDraft()
{
    if (app_)
        app_->browseDraft();
}

void MenuController::readNextMail()
{
    if (titles_)
        titles_->readNextMail();
}

void MenuController::allFront()
{
    // A modal dialog (a confirmation, the preferences) stays in front of
    // the windows it blocks.
    if (QApplication::activeModalWidget())
        return;
    for (QWidget *window : {folderWindow_.data(), titleWindow_.data()})
        if (window) {
            window->show();
            window->raise();
        }
    if (contentsWindow_) {
        contentsWindow_->show();
        contentsWindow_->raise();
        contentsWindow_->activateWindow();
    }
}

void MenuController::download()
{
    if (downloads_)
        downloads_->download();
}

} // namespace wex
