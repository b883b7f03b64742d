// The application under a Japanese locale: the catalogue installed before
// the windows are made gives Japanese menus, window titles and column
// headers, while folder names stay as they are on disk.
#include "Assembly.h"
#include "Chain.h"
#include "MailTitles.h"
#include "AppTestSupport.h"
#include "StoreLocations.h"
#include "Translations.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <gtest/gtest.h>

namespace wex::test {
namespace {

QStringList MenuTitles(QMainWindow *window)
{
    QStringList titles;
    for (QAction *menu : window->menuBar()->actions())
        titles << menu->text();
    return titles;
}

bool IsJapanese(const QString &text)
{
    for (QChar c : text)
        if (c.unicode() >= 0x3040 && c.unicode() <= 0x9fff) // kana and kanji
            return true;
    return false;
}

TEST(JapaneseInterfaceTest, MenusAndWindowTitlesAreJapanese)
{
    ResetWEXPaths();
    const TempHome home;
    const TestDir store;
    store.mkdir("InBox"); // no mail: the text window keeps its title for none
    home.makeSettings(store.path());
    ASSERT_EQ(InstallTranslations(QLocale(QStringLiteral("ja_JP"))), QStringLiteral("ja"));
    {
        Assembly app;
        ASSERT_TRUE(app.start());
        const QStringList menus = {QStringLiteral("ファイル"), QStringLiteral("メール"), QStringLiteral("フォルダ"),
                                   QStringLiteral("ウィンドウ")};
        for (QMainWindow *window : {&app.folderWindow(), &app.titleWindow(), &app.contentsWindow()})
            EXPECT_EQ(MenuTitles(window), menus);
        // Every item of every menu, not only the titles.
        for (QAction *menu : app.folderWindow().menuBar()->actions())
            for (QAction *item : menu->menu()->actions()) {
                if (!item->isSeparator()) {
                    EXPECT_TRUE(IsJapanese(item->text())) << item->text().toStdString();
                }
            }

        EXPECT_EQ(app.folderWindow().windowTitle(), QStringLiteral("フォルダ"));
        EXPECT_EQ(app.contentsWindow().windowTitle(), QStringLiteral("メールなし"));
        EXPECT_EQ(app.titleWindow().windowTitle(), QStringLiteral("InBox")) << "a folder's name is not translated";

        QStringList headers;
        const QAbstractItemModel *model = app.mailTitles().model();
        for (int column = 0; column < model->columnCount(); ++column)
            headers << model->headerData(column, Qt::Horizontal).toString();
        EXPECT_EQ(headers, (QStringList{QStringLiteral("状態"), QStringLiteral("差出人"), QStringLiteral("日付"),
                                        QStringLiteral("件名")}));
        // Headers are data keys too: the sort key stays the English identifier.
        EXPECT_EQ(app.mailTitles().identifier(), QStringLiteral("date"));

        app.mailTitles().unreadMailTitles();
        EXPECT_EQ(app.titleWindow().windowTitle(), QStringLiteral("未読メール"));
        app.chain().chainTitle();
        EXPECT_EQ(app.titleWindow().windowTitle(), QStringLiteral("関連メール"));
    }
    RemoveTranslations();
    ResetWEXPaths();
}

} // namespace
} // namespace wex::test
