// Under a Japanese locale the catalogue is installed before the windows are
// made: every menu item, window title and column header is Japanese, while
// folder names and the sort key stay as they are.
#include "AppFixture.h"
#include "Translations.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace wex::test {
namespace {

bool Japanese(const QString &text) { return text.contains(QRegularExpression(QStringLiteral("[\\x{3040}-\\x{9fff}]"))); }

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
    for (QAction *menu : app->contentsWindow().menuBar()->actions()) {
        EXPECT_TRUE(Japanese(menu->text())) << menu->text().toStdString();
        for (QAction *item : menu->menu()->actions())
            EXPECT_TRUE(item->isSeparator() || Japanese(item->text())) << item->text().toStdString();
    }
    EXPECT_TRUE(Japanese(app->folderWindow().windowTitle()));
    EXPECT_EQ(app->titleWindow().windowTitle(), QStringLiteral("InBox")) << "a folder's name is not translated";
    EXPECT_TRUE(Japanese(titles().model()->headerData(3, Qt::Horizontal).toString()));
    EXPECT_EQ(titles().identifier(), QStringLiteral("date")) << "the sort key stays the English identifier";
    titles().unreadMailTitles();
    EXPECT_TRUE(Japanese(app->titleWindow().windowTitle()));
}

} // namespace
} // namespace wex::test
