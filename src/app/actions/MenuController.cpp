#include "MenuController.h"

#include "AppController.h"
#include "BrowserTextView.h"
#include "FSBrowser.h"
#include "FSNodeInfo.h"
#include "MailContents.h"
#include "MailTitles.h"
#include "PathUtils.h"

#include <QAction>
#include <QActionGroup>
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
      folderOrder_(new QActionGroup(this))
{
    connect(addAction(fileMenu_, QStringLiteral("print"), QT_TRANSLATE_NOOP("WEX", "Print..."), QKeySequence(Qt::CTRL | Qt::Key_P)),
            &QAction::triggered, this, &MenuController::printMail);
    fileMenu_->addSeparator();
    QAction *quit = addAction(fileMenu_, QStringLiteral("quit"), QT_TRANSLATE_NOOP("WEX", "Quit"), QKeySequence(Qt::CTRL | Qt::Key_Q));
    quit->setMenuRole(QAction::QuitRole);
    connect(quit, &QAction::triggered, qApp, &QCoreApplication::quit, Qt::QueuedConnection);

    connect(addAction(mailMenu_, QStringLiteral("readNextMail"), QT_TRANSLATE_NOOP("WEX", "Next Mail"), QKeySequence()),
            &QAction::triggered, this, &MenuController::readNextMail);

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

void MenuController::setWindows(QWidget *folderWindow, QWidget *titleWindow, QWidget *contentsWindow)
{
    folderWindow_ = folderWindow;
    titleWindow_ = titleWindow;
    contentsWindow_ = contentsWindow;
}

void MenuController::installMenuBar(QMainWindow *window)
{
    QMenuBar *bar = window->menuBar();
    for (QMenu *menu : {fileMenu_, mailMenu_, folderMenu_, windowMenu_})
        bar->addMenu(menu);
}

void MenuController::awakeFromNib() {}

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
        browser_->reloadColumn(std::min(browser_->lastVisibleColumn(), browser_->lastColumn()));
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

} // namespace wex
