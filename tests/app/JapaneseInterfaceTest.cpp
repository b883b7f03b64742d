// Under a Japanese locale the catalogue is installed before the windows are
// made: menus, window titles and column headers are Japanese, while folder
// names and the sort key stay as they are.
#include "AppFixture.h"
#include "Translations.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace wex::test {
namespace {

class JapaneseInterfaceTest : public AppFixture {
protected:
    ~JapaneseInterfaceTest() override
    {
        app.reset();
        RemoveTranslations();
    }
};

TEST_F(JapaneseInterfaceTest, MenusTitlesAndHeadersAreJapanese)
{
    ASSERT_EQ(InstallTranslations(QLocale(QStringLiteral("ja_JP"))), QStringLiteral("ja"));
    start();
    QStringList menus;
    for (QAction *menu : app->contentsWindow().menuBar()->actions()) {
        menus << menu->text();
        for (QAction *item : menu->menu()->actions()) // every item, not only the titles
            EXPECT_TRUE(item->isSeparator() || item->text().contains(QRegularExpression(QStringLiteral("[\\x{3040}-\\x{9fff}]"))))
                << item->text().toStdString();
    }
    EXPECT_EQ(menus, (QStringList{QStringLiteral("ファイル"), QStringLiteral("メール"), QStringLiteral("フォルダ"),
                                  QStringLiteral("ウィンドウ")}));
    EXPECT_EQ(app->folderWindow().windowTitle(), QStringLiteral("フォルダ"));
    EXPECT_EQ(app->titleWindow().windowTitle(), QStringLiteral("InBox")) << "a folder's name is not translated";
    EXPECT_EQ(titles().model()->headerData(3, Qt::Horizontal).toString(), QStringLiteral("件名"));
    EXPECT_EQ(titles().identifier(), QStringLiteral("date")) << "the sort key stays the English identifier";
    titles().unreadMailTitles();
    EXPECT_EQ(app->titleWindow().windowTitle(), QStringLiteral("未読メール"));
}

} // namespace
} // namespace wex::test
