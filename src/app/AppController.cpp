#include "AppController.h"

#include "DefaultsStore.h"
#include "FSBrowser.h"
#include "FSNodeInfo.h"
#include "KeyRouter.h"
#include "MailContents.h"
#include "MailTitles.h"
#include "MenuController.h"
#include "OpenPath.h"
#include "PathUtils.h"
#include "Preferences.h"
#include "StoreLocations.h"
#include "TitleScanner.h"

#include <QMainWindow>
#include <QStatusBar>

#include <QTableView>

namespace wex {

AppController::AppController(DefaultsStore &defaults, QObject *parent) : QObject(parent), defaults_(defaults) {}

void AppController::setFSBrowser(FSBrowser *b) { browser_ = b; }
void AppController::setMailTitles(MailTitles *t) { titles_ = t; }
void AppController::setMailTitleWindow(QWidget *w) { titleWindow_ = w; }
void AppController::setMailContents(MailContents *c) { contents_ = c; }
void AppController::setMailFolderWindow(QWidget *w) { folderWindow_ = w; }
void AppController::setMailContentsWindow(QWidget *w) { contentsWindow_ = w; }
void AppController::setMenuController(MenuController *m) { menu_ = m; }
void AppController::setKeyRouter(KeyRouter *r) { keyRouter_ = r; }
void AppController::setPreferences(Preferences *p) { preferences_ = p; }
void AppController::setCoding(const Coding *c) { coding_ = c; }
void AppController::setStartPath(const QByteArray &path) { startPath_ = path; }

QString AppController::missingSettingsMessage()
{
    const QString folder = QString::fromLocal8Bit(qgetenv("HOME")) + QStringLiteral("/Library/Preferences/WEX_Preferences");
    return QStringLiteral("wex-browser: ")
        + tr("no settings folder: neither %1 nor %2 exists").arg(folder, folder + QStringLiteral(".localized"));
}

bool AppController::awakeFromNib(FILE *err)
{
    // The browser fills its window through the window's layout; its columns:
    if (browser_) {
        browser_->setMaxVisibleColumns(3);
        browser_->setMinColumnWidth(110);
    }
    if (contents_)
        contents_->registerAndReplaceTextView();
    if (keyRouter_) {
        QList<QWidget *> windows;
        for (QWidget *w : {folderWindow_.data(), titleWindow_.data(), contentsWindow_.data()})
            if (w)
                windows.append(w);
        // The browser and the mail table keep their own movement keys.
        QList<QWidget *> movers;
        if (browser_)
            movers.append(browser_);
        if (titles_ && titles_->table())
            movers.append(titles_->table());
        keyRouter_->install(windows, movers);
    }

    if (SetWEXPath() != 0) {
        if (err) {
            std::fputs(missingSettingsMessage().toLocal8Bit().constData(), err);
            std::fputc('\n', err);
            std::fflush(err);
        }
        return false;
    }

    // Values of another type are skipped, as if absent.
    if (titles_) {
        titles_->setReverse(defaults_.boolForKey(QStringLiteral("Sort Reverse")).value_or(false));
        titles_->setIdentifier(defaults_.stringForKey(QStringLiteral("Sort Identifier")).value_or(QStringLiteral("date")));
        titles_->setUseCache(Preferences::headerCacheWanted(defaults_));
    }
    const QString folderOrder = defaults_.stringForKey(QStringLiteral("Sort Folder by")).value_or(QStringLiteral("name"));
    if (menu_)
        menu_->sortFolderByTag(folderOrder);
    else
        FSNodeInfo::setSortFolderTag(folderOrder);

    if (startPath_.isEmpty() || !browseStartPath(err))
        browseInBox();
    if (preferences_)
        preferences_->loadPrefAndStartUpDownload();
    return true;
}

bool AppController::browseStartPath(FILE *err)
{
    OpenPath target;
    if (coding_) {
        TitleScanner scanner(*coding_);
        target = ResolveOpenPath(startPath_, scanner);
    }
    if (target.kind == OpenPath::Nothing) {
        const QString message = tr("Cannot open %1: %2").arg(Path2String(startPath_), target.reason);
        if (err) {
            std::fprintf(err, "wex-browser: %s\n", message.toLocal8Bit().constData());
            std::fflush(err);
        }
        if (auto *window = qobject_cast<QMainWindow *>(titleWindow_.data()))
            window->statusBar()->showMessage(message);
        return false;
    }
    const QByteArray &folder = target.folder;
    if (browser_) {
        browser_->setPath(folder);
        browser_->scrollColumnToVisible(browser_->lastColumn());
        browser_->scrollColumnsRightBy(1);
    }
    if (titles_)
        titles_->loadTitleTable(folder.endsWith('/') ? folder : folder + '/', true, target.mail);
    if (titleWindow_)
        titleWindow_->setWindowTitle(folder == "/" ? QStringLiteral("/") : Path2String(GetPathBase(folder)));
    return true;
}

void AppController::terminate()
{
    if (titles_) {
        defaults_.setBool(QStringLiteral("Sort Reverse"), titles_->reverse());
        defaults_.setString(QStringLiteral("Sort Identifier"), titles_->identifier());
    }
    defaults_.setString(QStringLiteral("Sort Folder by"), FSNodeInfo::sortFolderTag());
}

void AppController::browseInBox() { browseStoreFolder("InBox"); }
void AppController::browseDraft() { browseStoreFolder("Draft"); }

void AppController::browseStoreFolder(const char *name)
{
    const QByteArray path = wexRootPath() + '/' + name + '/';
    if (browser_) {
        browser_->setPath(path);
        browser_->scrollColumnToVisible(browser_->lastColumn());
        browser_->scrollColumnsRightBy(1);
    }
    if (titles_)
        titles_->loadTitleTable(path, true);
    if (titleWindow_)
        titleWindow_->setWindowTitle(QString::fromLatin1(name));
}

} // namespace wex
