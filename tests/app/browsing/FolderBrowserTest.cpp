// The folder model and the column browser over real folder trees.
#include "AppTestSupport.h"
#include "FSBrowser.h"
#include "FSNodeInfo.h"
#include "FolderModel.h"

#include <QAbstractItemModelTester>
#include <QListView>
#include <QSignalSpy>
#include <QTest>
#include <unistd.h>

namespace wex::test {
namespace {

QStringList Names(const FolderModel &model, const QModelIndex &folder = QModelIndex())
{
    QStringList names;
    for (int row = 0; row < model.rowCount(folder); ++row)
        names << model.index(row, 0, folder).data().toString();
    return names;
}

TEST(FolderModel, ListsVisibleFoldersOnlyWhenOpenedAndPassesTheModelTester)
{
    TestDir dir;
    dir.mkdir("b");
    dir.mkdir("a.b");
    dir.mkdir(".hidden");
    dir.mkdir("a/inner");
    dir.write("file.txt", "x");
    ASSERT_EQ(symlink(dir.at("b").constData(), dir.at("link").constData()), 0);
    ASSERT_EQ(symlink(dir.at("gone").constData(), dir.at("broken").constData()), 0);
    FolderModel model(dir.path());
    const QAbstractItemModelTester checker(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    EXPECT_EQ(model.rowCount(), 0) << "nothing is listed before the column is opened";
    model.listFolder(QModelIndex());
    EXPECT_EQ(Names(model), (QStringList{"a", "a.b", "b", "link"}));
    const QModelIndex a = model.index(0, 0);
    EXPECT_EQ(a.data(FolderModel::PathRole).toByteArray(), dir.path() + "/a");
    model.listFolder(a);
    EXPECT_EQ(Names(model, a), QStringList{"inner"});
    dir.mkdir("c");
    rmdir(dir.at("a.b").constData());
    model.listFolder(QModelIndex());
    model.listFolder(model.index(0, 0));
    EXPECT_EQ(Names(model), (QStringList{"a", "b", "c", "link"}));
}

class FSBrowserTest : public ::testing::Test {
protected:
    FSBrowserTest()
    {
        root = dir.mkdir("root");
        dir.mkdir("root/store/InBox/sub");
        dir.mkdir("root/store/Draft");
        dir.mkdir("root/store/Lists/debian");
        dir.mkdir("root/other");
        browser.setRootPath(root);
        browser.resize(3 * 110 + 30, 240);
    }
    ~FSBrowserTest() override { FSNodeInfo::setSortFolderTag(QStringLiteral("name")); }
    QByteArray at(const char *relative) const { return root + '/' + relative; }
    QStringList names(int column) const { return Names(*browser.folderModel(), browser.columnView(column)->rootIndex()); }
    void click(int column, const QByteArray &name)
    {
        QListView *view = browser.columnView(column);
        ASSERT_NE(view, nullptr);
        const int row = browser.folderModel()->rowOfName(view->rootIndex(), name);
        ASSERT_GE(row, 0) << name.constData();
        const QModelIndex index = browser.folderModel()->index(row, 0, view->rootIndex());
        view->scrollTo(index);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
    }
    // The folder announced last.
    QByteArray clicked() const { return clicks.isEmpty() ? QByteArray() : clicks.last().at(0).toByteArray(); }

    TestDir dir;
    QByteArray root;
    FSBrowser browser;
    QSignalSpy clicks{&browser, &FSBrowser::folderClicked};
};

TEST_F(FSBrowserTest, ColumnZeroListsTheRootAndSetPathSelectsAlongThePath)
{
    EXPECT_EQ(browser.lastColumn(), 0);
    EXPECT_EQ(browser.path(), root);
    EXPECT_EQ(names(0), (QStringList{"other", "store"}));
    EXPECT_TRUE(browser.setPath(at("store/InBox/")));
    EXPECT_EQ(browser.path(), at("store/InBox"));
    EXPECT_EQ(browser.lastColumn(), 2);
    EXPECT_EQ(browser.columnView(1)->currentIndex().data().toString(), QStringLiteral("InBox"));
    EXPECT_EQ(names(2), QStringList{"sub"});
    EXPECT_FALSE(browser.setPath(at("store/Nothing/deeper")));
    EXPECT_EQ(browser.path(), at("store")) << "what exists of the path stays selected";
    EXPECT_EQ(browser.lastColumn(), 1);
    EXPECT_FALSE(browser.columnView(1)->selectionModel()->hasSelection());
    EXPECT_FALSE(browser.setPath("/elsewhere"));
    EXPECT_TRUE(clicks.isEmpty()) << "setPath announces nothing";
}

// Also under a name that is not UTF-8: shown escaped, announced with its bytes.
TEST_F(FSBrowserTest, AClickOrAKeyboardMoveAnnouncesTheFolderAndCutsTheColumnsRightOfIt)
{
    dir.mkdir("root/store/caf\xe9/deeper"); // made with the bytes themselves: never through text
    browser.show();
    ASSERT_TRUE(browser.setPath(at("store/InBox/sub")));
    click(1, "InBox"); // the selected folder: sub's column is cut
    EXPECT_EQ(clicked(), at("store/InBox"));
    EXPECT_EQ(browser.lastColumn(), 2);
    EXPECT_FALSE(browser.columnView(2)->selectionModel()->hasSelection());
    browser.doDoubleClick();
    EXPECT_EQ(clicks.count(), 1) << "a double click announces nothing of its own";
    click(0, "other"); // an empty folder opens an empty column
    EXPECT_EQ(clicked(), at("other"));
    EXPECT_EQ(browser.lastColumn(), 1);
    EXPECT_EQ(names(1), QStringList());

    ASSERT_TRUE(browser.setPath(at("store/Draft")));
    QListView *column = browser.columnView(1);
    column->setFocus();
    QTest::keyClick(column, Qt::Key_Down);
    EXPECT_EQ(clicked(), at("store/InBox"));
    QTest::keyClick(column, Qt::Key_Right); // into InBox's folders
    EXPECT_EQ(browser.path(), at("store/InBox/sub"));
    EXPECT_EQ(clicked(), at("store/InBox/sub"));

    EXPECT_TRUE(names(1).contains(QStringLiteral("caf\\xE9")));
    click(1, "caf\xe9");
    EXPECT_EQ(clicked(), at("store/caf\xe9"));
    EXPECT_EQ(names(2), QStringList{"deeper"});
}

// A mail folder of many thousands of entries takes tens of milliseconds just to list: a click on it returns at once,
// and its column fills when the listing ends.
TEST_F(FSBrowserTest, AClickOnALargeFolderReturnsBeforeItsSubFoldersAreListed)
{
    browser.show();
    browser.folderModel()->setDeferThreshold(-1); // every folder counts as large
    ASSERT_TRUE(browser.setPath(at("store/InBox")));
    EXPECT_EQ(names(2), QStringList{"sub"}) << "setPath lists at once";
    click(1, "Draft");
    click(1, "InBox");
    EXPECT_TRUE(browser.folderModel()->isListing());
    EXPECT_EQ(clicked(), at("store/InBox"));
    QSignalSpy listed(browser.folderModel(), &FolderModel::folderListed);
    ASSERT_TRUE(WaitUntil([&] { return !browser.folderModel()->isListing(); }));
    EXPECT_EQ(listed.count(), 2) << "Draft's listing, then InBox's";
    EXPECT_EQ(names(2), QStringList{"sub"});

    dir.mkdir("root/store/InBox/new"); // so does a refresh
    browser.reloadColumns();
    EXPECT_TRUE(browser.folderModel()->isListing());
    ASSERT_TRUE(WaitUntil([&] { return !browser.folderModel()->isListing(); }));
    EXPECT_EQ(names(2), QStringList({"new", "sub"}));
    EXPECT_EQ(browser.path(), at("store/InBox"));
}

TEST_F(FSBrowserTest, ReloadingKeepsTheSelectionInTheFolderOrderAndClosesVanishedFolders)
{
    browser.show();
    dir.mkdir("root/store/InBox/sub/deep");
    ASSERT_TRUE(browser.setPath(at("store/InBox/sub")));
    dir.mkdir("root/store/Archive");
    click(0, "store"); // opening a column lists its folder again
    EXPECT_EQ(names(1), (QStringList{"Archive", "Draft", "InBox", "Lists"}));
    ASSERT_TRUE(browser.setPath(at("store/InBox/sub")));
    dir.mkdir("root/store/InBox/sub/deeper");
    browser.reloadColumns();
    EXPECT_EQ(browser.path(), at("store/InBox/sub"));
    EXPECT_EQ(names(3), (QStringList{"deep", "deeper"}));

    // Under "modDate" the folder that just changed moves up and stays selected.
    for (const char *name : {"Archive", "Draft", "Lists"})
        SetMTime(dir.at(QByteArray("root/store/") + name), 1600000000);
    SetMTime(dir.at("root/store/InBox"), 1700000000);
    browser.sortFolderBy(QStringLiteral("modDate"));
    EXPECT_EQ(names(1).first(), QStringLiteral("InBox"));
    EXPECT_EQ(browser.columnView(1)->currentIndex().data().toString(), QStringLiteral("InBox"));
    EXPECT_EQ(browser.path(), at("store/InBox/sub"));

    // The selected folder vanished: the columns from it on close.
    for (const char *gone : {"root/store/InBox/sub/deep", "root/store/InBox/sub/deeper", "root/store/InBox/sub"})
        ASSERT_EQ(rmdir(dir.at(gone).constData()), 0);
    browser.reloadColumns();
    EXPECT_EQ(browser.lastColumn(), 2);
    EXPECT_EQ(browser.path(), at("store/InBox"));
    EXPECT_FALSE(browser.columnView(2)->selectionModel()->hasSelection());
    rmdir(dir.at("root/store/Lists/debian").constData());
    rmdir(dir.at("root/store/Lists").constData());
    browser.reloadColumn(1);
    EXPECT_EQ(names(1), (QStringList{"InBox", "Archive", "Draft"}));
    EXPECT_EQ(browser.path(), at("store/InBox"));
}

} // namespace
} // namespace wex::test
