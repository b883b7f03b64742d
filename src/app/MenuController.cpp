// Keys follow desktop mail readers where they agree: Ctrl+R reply, Ctrl+N new
// mail, the Delete key, Ctrl+K mark read (Ctrl+Shift+R is "reply to all"
// elsewhere), Ctrl+F the quick filter, Ctrl+Shift+F the search tool,
// Ctrl+Shift+B the address book.
#include "MenuController.h"

#include "AppController.h"
#include "BrowserTextView.h"
#include "Chain.h"
#include "Downloads.h"
#include "FSBrowser.h"
#include "FSNodeInfo.h"
#include "FolderRefresh.h"
#include "MailCommands.h"
#include "MailContents.h"
#include "MailTitles.h"
#include "MoveDestinations.h"
#include "PathUtils.h"
#include "Preferences.h"
#include "QuickFilterField.h"
#include "StoreFind.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace wex {

QString MenuController::tagName(int tag)
{
    switch (tag) {
    case 0: return QStringLiteral("name");
    case 1: return QStringLiteral("modDate");
    default: return QString();
    }
}

MenuController::MenuController(const MenuCommands &c, QObject *parent)
    : QObject(parent),
      fileMenu_(new QMenu(tr("File"))),
      mailMenu_(new QMenu(tr("Mail"))),
      folderMenu_(new QMenu(tr("Folder"))),
      windowMenu_(new QMenu(tr("Window"))),
      folderOrder_(new QActionGroup(this))
{
    BrowserTextView *view = &c.contents.browserTextView();
    connect(addAction(fileMenu_, QStringLiteral("print"), QT_TRANSLATE_NOOP("WEX", "Print..."), QKeySequence(Qt::CTRL | Qt::Key_P)),
            &QAction::triggered, view, &BrowserTextView::print);
    fileMenu_->addSeparator();
    QAction *preference = addAction(fileMenu_, QStringLiteral("preference"), QT_TRANSLATE_NOOP("WEX", "Preferences..."),
                                    QKeySequence(Qt::CTRL | Qt::Key_Comma));
    preference->setMenuRole(QAction::PreferencesRole);
    // Queued: the window runs modally, not inside the menu's own handling.
    connect(preference, &QAction::triggered, &c.preferences, &Preferences::preference, Qt::QueuedConnection);
    fileMenu_->addSeparator();
    QAction *quit = addAction(fileMenu_, QStringLiteral("quit"), QT_TRANSLATE_NOOP("WEX", "Quit"), QKeySequence(Qt::CTRL | Qt::Key_Q));
    quit->setMenuRole(QAction::QuitRole);
    connect(quit, &QAction::triggered, qApp, &QCoreApplication::quit, Qt::QueuedConnection);

    addMailCommandItems(c.mail);
    connect(addAction(mailMenu_, QStringLiteral("readNextMail"), QT_TRANSLATE_NOOP("WEX", "Next Mail"), QKeySequence()),
            &QAction::triggered, &c.titles, &MailTitles::readNextMail);
    connect(addAction(mailMenu_, QStringLiteral("download"), QT_TRANSLATE_NOOP("WEX", "Get Mail"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_G)),
            &QAction::triggered, &c.downloads, &Downloads::download);
    connect(addAction(mailMenu_, QStringLiteral("unreadMailTitles"), QT_TRANSLATE_NOOP("WEX", "Unread Mails"),
                      QKeySequence(Qt::CTRL | Qt::Key_U)),
            &QAction::triggered, &c.titles, &MailTitles::unreadMailTitles);
    connect(addAction(mailMenu_, QStringLiteral("chainTitle"), QT_TRANSLATE_NOOP("WEX", "Related Mails"), QKeySequence(Qt::CTRL | Qt::Key_T)),
            &QAction::triggered, &c.chain, &Chain::chainTitle);
    connect(addAction(mailMenu_, QStringLiteral("findInStore"), QT_TRANSLATE_NOOP("WEX", "Find in Store..."),
                      QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)),
            &QAction::triggered, &c.find, &StoreFind::findInStore, Qt::QueuedConnection);
    connect(addAction(mailMenu_, QStringLiteral("filterMails"), QT_TRANSLATE_NOOP("WEX", "Filter Mails"),
                      QKeySequence(Qt::CTRL | Qt::Key_F)),
            &QAction::triggered, &c.filter, &QuickFilterField::focusFilter);

    AppController *app = &c.app;
    connect(addAction(folderMenu_, QStringLiteral("browseInBox"), QT_TRANSLATE_NOOP("WEX", "Browse InBox"),
                      QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_I)),
            &QAction::triggered, app, &AppController::browseInBox);
    connect(addAction(folderMenu_, QStringLiteral("browseDraft"), QT_TRANSLATE_NOOP("WEX", "Browse Draft"),
                      QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D)),
            &QAction::triggered, app, &AppController::browseDraft);
    folderMenu_->addSeparator();
    const char *const orderTexts[] = {QT_TRANSLATE_NOOP("WEX", "Sort Folders by Name"),
                                      QT_TRANSLATE_NOOP("WEX", "Sort Folders by Date")};
    const char *const orderNames[] = {"sortFolderByName", "sortFolderByModDate"};
    FSBrowser *browser = &c.browser;
    for (int tag = 0; tag < 2; ++tag) {
        QAction *item = addAction(folderMenu_, QLatin1String(orderNames[tag]), orderTexts[tag], QKeySequence());
        item->setCheckable(true);
        item->setData(tag);
        folderOrder_->addAction(item);
        connect(item, &QAction::triggered, browser, [browser, tag] { browser->sortFolderBy(tagName(tag)); });
    }
    // Both items can be off (an unknown stored order), so the group does not
    // force one of them on.
    folderOrder_->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    connect(folderMenu_, &QMenu::aboutToShow, this, &MenuController::showFolderOrder);
    showFolderOrder();

    connect(addAction(windowMenu_, QStringLiteral("allFront"), QT_TRANSLATE_NOOP("WEX", "Bring All to Front"), QKeySequence()),
            &QAction::triggered, app, &AppController::allFront);
    // The Folder menu's InBox item, shown in the Mail menu too.
    mailMenu_->insertAction(action(QStringLiteral("readNextMail")), action(QStringLiteral("browseInBox")));

    // The destinations' "Move" menu ends the Mail menu; Refresh ends the
    // Folder menu.
    mailMenu_->addSeparator();
    mailMenu_->addMenu(c.destinations.moveMenu());
    for (QAction *item : c.destinations.commandActions())
        actions_.insert(item->objectName(), item);
    folderMenu_->addSeparator();
    FolderRefresh *refresh = &c.refresh;
    connect(addAction(folderMenu_, QStringLiteral("refreshList"), QT_TRANSLATE_NOOP("WEX", "Refresh"), QKeySequence(Qt::Key_F5)),
            &QAction::triggered, refresh, [refresh] { refresh->refreshList(true); });
}

MenuController::~MenuController()
{
    // The menus have no parent (each is shown by three menu bars).
    delete fileMenu_;
    delete mailMenu_;
    delete folderMenu_;
    delete windowMenu_;
}

void MenuController::addMailCommandItems(MailCommands &mail)
{
    struct Item {
        const char *name;
        const char *text;
        QKeySequence key;
        void (MailCommands::*command)();
    };
    const Item items[] = {
        {"reply", QT_TRANSLATE_NOOP("WEX", "Reply"), QKeySequence(Qt::CTRL | Qt::Key_R), &MailCommands::reply},
        {"newMail", QT_TRANSLATE_NOOP("WEX", "New Mail"), QKeySequence(Qt::CTRL | Qt::Key_N), &MailCommands::newMail},
        {nullptr, nullptr, {}, nullptr},
        {"openByMailReader", QT_TRANSLATE_NOOP("WEX", "Open in Mail Reader"), QKeySequence(),
         &MailCommands::openByMailReader},
        {"launchURL", QT_TRANSLATE_NOOP("WEX", "Open With Application"), QKeySequence(Qt::CTRL | Qt::Key_O),
         &MailCommands::launchURL},
        {"showMail", QT_TRANSLATE_NOOP("WEX", "Show in File Manager"), QKeySequence(), &MailCommands::showMail},
        {nullptr, nullptr, {}, nullptr},
        {"makeRead", QT_TRANSLATE_NOOP("WEX", "Mark Read"), QKeySequence(Qt::CTRL | Qt::Key_K), &MailCommands::makeRead},
        {"deleteMail", QT_TRANSLATE_NOOP("WEX", "Delete..."), QKeySequence(Qt::Key_Delete), &MailCommands::deleteMail},
        {"printSelection", QT_TRANSLATE_NOOP("WEX", "Print Selection..."), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P),
         &MailCommands::printSelection},
        {nullptr, nullptr, {}, nullptr},
        {"addressBook", QT_TRANSLATE_NOOP("WEX", "Address Book"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_B),
         &MailCommands::addressBook},
        {"search", QT_TRANSLATE_NOOP("WEX", "Search"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F),
         &MailCommands::search},
        {nullptr, nullptr, {}, nullptr},
    };
    for (const Item &item : items) {
        if (!item.name) {
            mailMenu_->addSeparator();
            continue;
        }
        connect(addAction(mailMenu_, QLatin1String(item.name), item.text, item.key), &QAction::triggered, &mail,
                item.command);
    }
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

void MenuController::installMenuBar(QMainWindow *window)
{
    QMenuBar *bar = window->menuBar();
    for (QMenu *menu : {fileMenu_, mailMenu_, folderMenu_, windowMenu_})
        bar->addMenu(menu);
}

QAction *MenuController::action(const QString &name) const { return actions_.value(name); }

void MenuController::showFolderOrder()
{
    const QString tag = FSNodeInfo::sortFolderTag();
    for (QAction *item : folderOrder_->actions())
        item->setChecked(tagName(item->data().toInt()) == tag);
}

} // namespace wex
