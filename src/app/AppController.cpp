#include "AppController.h"

#include "DefaultsStore.h"
#include "FSBrowser.h"
#include "FSNodeInfo.h"
#include "DisplayName.h"
#include "KeyRouter.h"
#include "MailTitles.h"
#include "OpenPath.h"
#include "PathUtils.h"
#include "Preferences.h"
#include "StoreContext.h"
#include "StoreLocations.h"
#include "TitleScanner.h"

#include <QApplication>
#include <QMainWindow>
#include <QStatusBar>
#include <QTableView>

namespace wex {

AppController::AppController(DefaultsStore &defaults, StoreContext &store, const Coding &coding,
                             const MainWindows &windows, FSBrowser &browser, MailTitles &titles, KeyRouter &keyRouter,
                             Preferences &preferences, QObject *parent)
    : QObject(parent),
      defaults_(defaults),
      store_(store),
      coding_(coding),
      windows_(windows),
      browser_(browser),
      titles_(titles),
      keyRouter_(keyRouter),
      preferences_(preferences)
{
}

void AppController::setStartPath(const QByteArray &path) { startPath_ = path; }

QString AppController::missingSettingsMessage()
{
    const QString folder = QString::fromLocal8Bit(qgetenv("HOME")) + QStringLiteral("/Library/Preferences/WEX_Preferences");
    return QStringLiteral("wex-browser: ")
        + tr("no settings folder: neither %1 nor %2 exists").arg(folder, folder + QStringLiteral(".localized"));
}

bool AppController::start(FILE *err)
{
    // The browser fills its window through the window's layout; its columns:
    browser_.setMaxVisibleColumns(3);
    browser_.setMinColumnWidth(110);
    // The browser and the mail table keep their own movement keys.
    keyRouter_.install(QList<QWidget *>{&windows_.folders, &windows_.titles, &windows_.contents},
                       QList<QWidget *>{&browser_, &titles_.table()});

    if (SetWEXPath() != 0) {
        if (err) {
            std::fputs(missingSettingsMessage().toLocal8Bit().constData(), err);
            std::fputc('\n', err);
            std::fflush(err);
        }
        return false;
    }
    store_ = StoreContext::fromStoreLocations();

    // Values of another type are skipped, as if absent.
    titles_.setReverse(defaults_.boolForKey(QStringLiteral("Sort Reverse")).value_or(false));
    titles_.setIdentifier(defaults_.stringForKey(QStringLiteral("Sort Identifier")).value_or(QStringLiteral("date")));
    titles_.setUseCache(Preferences::headerCacheWanted(defaults_));
    FSNodeInfo::setSortFolderTag(defaults_.stringForKey(QStringLiteral("Sort Folder by")).value_or(QStringLiteral("name")));

    if (startPath_.isEmpty() || !browseStartPath(err))
        browseInBox();
    preferences_.loadPrefAndStartUpDownload();
    // Every activation brings the three windows forward, the mail text last.
    if (auto *application = qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        connect(application, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
            if (state == Qt::ApplicationActive)
                allFront();
        });
    return true;
}

bool AppController::browseStartPath(FILE *err)
{
    TitleScanner scanner(coding_);
    const OpenPath target = ResolveOpenPath(startPath_, scanner);
    if (target.kind == OpenPath::Nothing) {
        const QString message = tr("Cannot open %1: %2").arg(DisplayName(startPath_), target.reason);
        if (err) {
            std::fprintf(err, "wex-browser: %s\n", message.toLocal8Bit().constData());
            std::fflush(err);
        }
        windows_.titles.statusBar()->showMessage(message);
        return false;
    }
    const QByteArray &folder = target.folder;
    browser_.setPath(folder);
    browser_.scrollColumnToVisible(browser_.lastColumn());
    browser_.scrollColumnsRightBy(1);
    titles_.loadTitleTable(folder.endsWith('/') ? folder : folder + '/', true, target.mail);
    return true;
}

void AppController::saveSortPreferences()
{
    defaults_.setBool(QStringLiteral("Sort Reverse"), titles_.reverse());
    defaults_.setString(QStringLiteral("Sort Identifier"), titles_.identifier());
    defaults_.setString(QStringLiteral("Sort Folder by"), FSNodeInfo::sortFolderTag());
}

void AppController::browseInBox() { browseStoreFolder("InBox"); }
void AppController::browseDraft() { browseStoreFolder("Draft"); }

void AppController::browseStoreFolder(const char *name)
{
    const QByteArray path = store_.rootPath + '/' + name + '/';
    browser_.setPath(path);
    browser_.scrollColumnToVisible(browser_.lastColumn());
    browser_.scrollColumnsRightBy(1);
    titles_.loadTitleTable(path, true);
}

void AppController::showFolder(const QByteArray &path) { titles_.loadTitleTable(path, true); }

void AppController::allFront()
{
    // A modal dialog (a confirmation, the preferences) stays in front of
    // the windows it blocks.
    if (QApplication::activeModalWidget())
        return;
    for (QMainWindow *window : {&windows_.folders, &windows_.titles}) {
        window->show();
        window->raise();
    }
    windows_.contents.show();
    windows_.contents.raise();
    windows_.contents.activateWindow();
}

} // namespace wex
