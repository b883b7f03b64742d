// The folder model and the column browser over real folder trees.
#include "Coding.h"
#include "DefaultsStore.h"
#include "FSBrowser.h"
#include "FSNodeInfo.h"
#include "FolderModel.h"
#include "MailTitles.h"
#include "ShellTestSupport.h"
#include "WaitForTitles.h"

#include <QApplication>
#include <QListView>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>
#include <sys/stat.h>
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

class FolderModelTest : public ::testing::Test {
protected:
    void TearDown() override { FSNodeInfo::setSortFolderTag(QStringLiteral("name")); }
    TestDir dir;
};

TEST_F(FolderModelTest, ListsVisibleFoldersOnlyWhenOpened)
{
    dir.mkdir("b");
    dir.mkdir("a.b");
    dir.mkdir(".hidden");
    dir.mkdir("a/inner");
    dir.write("file.txt", "x");
    ASSERT_EQ(symlink(dir.at("b").constData(), dir.at("link").constData()), 0);
    ASSERT_EQ(symlink(dir.at("gone").constData(), dir.at("broken").constData()), 0);

    FolderModel model(dir.path());
    EXPECT_EQ(model.rowCount(), 0) << "nothing is listed before the column is opened";
    EXPECT_TRUE(model.hasChildren());
    model.listFolder(QModelIndex());
    EXPECT_EQ(Names(model), (QStringList{"a", "a.b", "b", "link"}));
    const QModelIndex a = model.index(0, 0);
    EXPECT_EQ(model.pathOf(a), dir.path() + "/a");
    EXPECT_EQ(a.data(FolderModel::PathRole).toByteArray(), dir.path() + "/a");
    EXPECT_TRUE(model.hasChildren(a));
    model.listFolder(a);
    EXPECT_EQ(Names(model, a), QStringList{"inner"});
    const QModelIndex b = model.index(2, 0);
    model.listFolder(b);
    EXPECT_FALSE(model.hasChildren(b)) << "an opened empty folder";
}

TEST_F(FolderModelTest, KeepsItsListingUntilListedAgainAndNeverFailsOnVanishedRows)
{
    dir.mkdir("one");
    dir.mkdir("two");
    FolderModel model(dir.path());
    model.listFolder(QModelIndex());
    dir.mkdir("three");
    rmdir(dir.at("one").constData());
    EXPECT_EQ(Names(model), (QStringList{"one", "two"})) << "painting asks; the file system is not listed again";
    EXPECT_EQ(model.index(0, 0).data().toString(), QStringLiteral("one"));
    EXPECT_FALSE(model.index(5, 0).isValid());
    EXPECT_FALSE(model.index(-1, 0).isValid());
    EXPECT_FALSE(model.data(model.index(5, 0)).isValid());

    const QPersistentModelIndex two = model.index(1, 0);
    model.listFolder(QModelIndex());
    EXPECT_EQ(Names(model), (QStringList{"three", "two"}));
    ASSERT_TRUE(two.isValid());
    EXPECT_EQ(two.data().toString(), QStringLiteral("two"));
    EXPECT_EQ(two.row(), 1);
}

TEST_F(FolderModelTest, ReloadTakesTheCurrentFolderOrder)
{
    const QByteArray old = dir.mkdir("old");
    const QByteArray mid = dir.mkdir("mid");
    const QByteArray fresh = dir.mkdir("new");
    SetMTime(old, 1000000000);
    SetMTime(mid, 1500000000);
    SetMTime(fresh, 1700000000);
    FolderModel model(dir.path());
    model.listFolder(QModelIndex());
    EXPECT_EQ(Names(model), (QStringList{"mid", "new", "old"}));
    const QPersistentModelIndex oldIndex = model.index(2, 0);
    FSNodeInfo::setSortFolderTag(QStringLiteral("modDate"));
    model.listFolder(QModelIndex());
    EXPECT_EQ(Names(model), (QStringList{"new", "mid", "old"}));
    EXPECT_EQ(oldIndex.row(), 2);
}

TEST_F(FolderModelTest, PassesTheModelTester)
{
    dir.mkdir("a/b/c");
    dir.mkdir("a/d");
    dir.mkdir("e");
    FolderModel model(dir.path());
    ModelChecker checker(&model);
    model.listFolder(QModelIndex());
    model.listFolder(model.index(0, 0));
    dir.mkdir("f");
    rmdir(dir.at("e").constData());
    model.listFolder(QModelIndex());
    model.listFolder(model.index(0, 0));
    EXPECT_EQ(checker.failures(), 0) << checker.firstFailure().toStdString();
}

class FSBrowserTest : public ::testing::Test {
protected:
    FSBrowserTest() : defaults(dir.pathString() + QStringLiteral("/prefs.json")), titles(coding, defaults)
    {
        root = dir.mkdir("root");
        dir.mkdir("root/store/InBox/sub");
        dir.mkdir("root/store/Draft");
        dir.mkdir("root/store/Lists/debian");
        dir.mkdir("root/other");
        WriteMail(dir, "root/store/InBox/1.ygm", QStringLiteral("a"), QStringLiteral("hello"), 1);
        WriteMail(dir, "root/store/InBox/2.mail", QStringLiteral("b"), QStringLiteral("again"), 2);
        titles.setTable(&table);
        browser.setRootPath(root);
        browser.setMailTitles(&titles);
        browser.setMailTitleWindow(&titleWindow);
        browser.resize(3 * 110 + 30, 240);
    }
    QByteArray at(const char *relative) { return root + '/' + relative; }
    // The rows once the load a click started has ended.
    int loadedCount()
    {
        EXPECT_TRUE(WaitForTitles(titles));
        return titles.count();
    }
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

    TestDir dir;
    QByteArray root;
    Coding coding;
    DefaultsStore defaults;
    MailTitles titles;
    QTableView table;
    QWidget titleWindow;
    FSBrowser browser;
};

TEST_F(FSBrowserTest, ColumnZeroListsTheRootAndSetPathSelectsAlongThePath)
{
    EXPECT_EQ(browser.lastColumn(), 0);
    EXPECT_EQ(browser.selectedColumn(), -1);
    EXPECT_EQ(browser.path(), root);
    EXPECT_EQ(Names(*browser.folderModel()), (QStringList{"other", "store"}));

    EXPECT_TRUE(browser.setPath(at("store/InBox/")));
    EXPECT_EQ(browser.path(), at("store/InBox"));
    EXPECT_EQ(browser.lastColumn(), 2);
    EXPECT_EQ(browser.selectedColumn(), 1);
    EXPECT_EQ(browser.columnView(1)->currentIndex().data().toString(), QStringLiteral("InBox"));
    EXPECT_EQ(browser.columnView(2)->model()->rowCount(browser.columnView(2)->rootIndex()), 1) << "InBox's own folder";

    EXPECT_FALSE(browser.setPath(at("store/Nothing/deeper")));
    EXPECT_EQ(browser.path(), at("store")) << "what exists of the path stays selected";
    EXPECT_EQ(browser.lastColumn(), 1);
    EXPECT_FALSE(browser.columnView(1)->selectionModel()->hasSelection());

    EXPECT_TRUE(browser.setPath(at("store/InBox")));
    EXPECT_TRUE(browser.setPath(at("store")));
    EXPECT_EQ(browser.lastColumn(), 1);
    EXPECT_EQ(browser.path(), at("store"));
    EXPECT_FALSE(browser.setPath("/elsewhere"));
}

TEST_F(FSBrowserTest, ASingleClickNamesTheTitleWindowAndLoadsTheFolder)
{
    browser.show();
    ASSERT_TRUE(browser.setPath(at("store/")));
    click(1, "InBox");
    EXPECT_EQ(titleWindow.windowTitle(), QStringLiteral("InBox"));
    EXPECT_EQ(titles.folderPath(), QByteArray(root + "/store/InBox"));
    EXPECT_EQ(loadedCount(), 2);
    EXPECT_EQ(browser.path(), at("store/InBox"));
    EXPECT_EQ(browser.lastColumn(), 2);

    click(0, "other"); // an empty folder opens an empty column
    EXPECT_EQ(titleWindow.windowTitle(), QStringLiteral("other"));
    EXPECT_EQ(loadedCount(), 0);
    EXPECT_EQ(browser.lastColumn(), 1);
    EXPECT_EQ(browser.columnView(1)->model()->rowCount(browser.columnView(1)->rootIndex()), 0);

    // A press, a drag with the button held and the release: the folder under
    // the release opens, and the selection agrees.
    QListView *view = browser.columnView(0);
    const QPoint store = view->visualRect(browser.folderModel()->index(1, 0, view->rootIndex())).center();
    const QPoint other = view->visualRect(browser.folderModel()->index(0, 0, view->rootIndex())).center();
    QMouseEvent press(QEvent::MouseButtonPress, other, view->viewport()->mapToGlobal(other), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QMouseEvent move(QEvent::MouseMove, store, view->viewport()->mapToGlobal(store), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, store, view->viewport()->mapToGlobal(store), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    for (QMouseEvent *event : {&press, &move, &release})
        QApplication::sendEvent(view->viewport(), event);
    EXPECT_EQ(browser.path(), at("store"));
    EXPECT_EQ(titleWindow.windowTitle(), QStringLiteral("store"));
    EXPECT_EQ(view->currentIndex().data().toString(), QStringLiteral("store"));
}

TEST_F(FSBrowserTest, KeyboardMovesSelectLikeAClick)
{
    browser.show();
    ASSERT_TRUE(browser.setPath(at("store/Draft")));
    QListView *column = browser.columnView(1);
    column->setFocus();
    QTest::keyClick(column, Qt::Key_Down); // Draft -> InBox
    EXPECT_EQ(browser.path(), at("store/InBox"));
    EXPECT_EQ(titleWindow.windowTitle(), QStringLiteral("InBox"));
    EXPECT_EQ(loadedCount(), 2);
    QTest::keyClick(column, Qt::Key_Right); // into InBox's folders
    EXPECT_EQ(browser.path(), at("store/InBox/sub"));
    EXPECT_EQ(titleWindow.windowTitle(), QStringLiteral("sub"));
    EXPECT_EQ(loadedCount(), 0);
}

TEST_F(FSBrowserTest, ADoubleClickLoadsNothingAndStopsTheNextClickFromScrolling)
{
    browser.show();
    ASSERT_TRUE(browser.setPath(at("store/InBox/")));
    ASSERT_TRUE(LoadTitlesNow(titles, dir.at("root/other"), true));
    browser.doDoubleClick();
    EXPECT_TRUE(browser.doubleClickFlag());
    EXPECT_EQ(loadedCount(), 0) << "a double click loads nothing of its own";
    browser.doClick();
    EXPECT_FALSE(browser.doubleClickFlag());
    EXPECT_EQ(loadedCount(), 2);
}

TEST_F(FSBrowserTest, ShowsAtMostThreeColumnsAndScrollsByWholeColumns)
{
    browser.resize(1000, 240);
    EXPECT_EQ(browser.numberOfVisibleColumns(), 3);
    browser.resize(230, 240);
    EXPECT_EQ(browser.numberOfVisibleColumns(), 2) << "no column narrower than 110";
    browser.resize(400, 240);
    ASSERT_TRUE(browser.setPath(at("store/Lists/debian/")));
    EXPECT_EQ(browser.lastColumn(), 3);
    EXPECT_EQ(browser.lastVisibleColumn(), 3) << "the new column is scrolled into view";
    EXPECT_EQ(browser.firstVisibleColumn(), 1);
    browser.scrollColumnsRightBy(1);
    EXPECT_EQ(browser.firstVisibleColumn(), 1) << "never past the last column";
    browser.scrollColumnsLeftBy(5);
    EXPECT_EQ(browser.firstVisibleColumn(), 0);
    EXPECT_TRUE(browser.columnView(0)->isVisibleTo(&browser));
    EXPECT_FALSE(browser.columnView(3)->isVisibleTo(&browser));
    browser.scrollColumnToVisible(3);
    EXPECT_EQ(browser.lastVisibleColumn(), 3);
    EXPECT_GE(browser.columnView(1)->width(), 110);
}

// A mail folder of many thousands of entries takes tens of milliseconds just
// to list: a click on it returns at once, and its column fills when the
// listing ends. Other ways into a folder still list it at once.
TEST_F(FSBrowserTest, AClickOnALargeFolderReturnsBeforeItsSubFoldersAreListed)
{
    browser.show();
    browser.folderModel()->setDeferThreshold(-1); // every folder counts as large
    ASSERT_TRUE(browser.setPath(at("store/InBox")));
    EXPECT_EQ(Names(*browser.folderModel(), browser.columnView(2)->rootIndex()), QStringList{"sub"});
    click(1, "Draft");
    click(1, "InBox");
    ASSERT_EQ(browser.lastColumn(), 2);
    EXPECT_TRUE(browser.folderModel()->isListing());
    EXPECT_EQ(titleWindow.windowTitle(), QStringLiteral("InBox"));
    QSignalSpy listed(browser.folderModel(), &FolderModel::folderListed);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !browser.folderModel()->isListing(); }, 10000));
    EXPECT_EQ(listed.count(), 2) << "Draft's listing, then InBox's";
    EXPECT_EQ(Names(*browser.folderModel(), browser.columnView(2)->rootIndex()), QStringList{"sub"});
    EXPECT_EQ(loadedCount(), 2);

    // So does a refresh.
    dir.mkdir("root/store/InBox/new");
    browser.reloadColumns();
    EXPECT_TRUE(browser.folderModel()->isListing());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !browser.folderModel()->isListing(); }, 10000));
    EXPECT_EQ(Names(*browser.folderModel(), browser.columnView(2)->rootIndex()), QStringList({"new", "sub"}));
    EXPECT_EQ(browser.path(), at("store/InBox"));
}

TEST_F(FSBrowserTest, AClickOnTheSelectedFolderCutsTheColumnsToItsRightAndLoadsIt)
{
    browser.show();
    ASSERT_TRUE(browser.setPath(at("store/InBox/sub")));
    ASSERT_EQ(browser.lastColumn(), 3);
    click(1, "InBox"); // already the selected folder of column 1
    EXPECT_EQ(titleWindow.windowTitle(), QStringLiteral("InBox"));
    EXPECT_EQ(titles.folderPath(), QByteArray(root + "/store/InBox"));
    EXPECT_EQ(loadedCount(), 2);
    EXPECT_EQ(browser.lastColumn(), 2) << "sub's column is cut";
    EXPECT_EQ(browser.path(), at("store/InBox"));
    EXPECT_FALSE(browser.columnView(2)->selectionModel()->hasSelection());
}

TEST_F(FSBrowserTest, OpeningAColumnListsItsFolderAgain)
{
    browser.show();
    ASSERT_TRUE(browser.setPath(at("store/InBox")));
    dir.mkdir("root/store/New");
    dir.mkdir("root/store/InBox/sub2");
    click(0, "store"); // a click on the parent
    EXPECT_EQ(Names(*browser.folderModel(), browser.columnView(1)->rootIndex()),
              (QStringList{"Draft", "InBox", "Lists", "New"}));
    rmdir(dir.at("root/store/New").constData());
    ASSERT_TRUE(browser.setPath(at("store/InBox")));
    EXPECT_EQ(Names(*browser.folderModel(), browser.columnView(1)->rootIndex()),
              (QStringList{"Draft", "InBox", "Lists"}));
    EXPECT_EQ(Names(*browser.folderModel(), browser.columnView(2)->rootIndex()), (QStringList{"sub", "sub2"}));
}

TEST_F(FSBrowserTest, ReloadingEveryColumnKeepsTheSelectionAndClosesVanishedFolders)
{
    dir.mkdir("root/store/InBox/sub/deep");
    ASSERT_TRUE(browser.setPath(at("store/InBox/sub")));
    ASSERT_EQ(browser.lastColumn(), 3);
    dir.mkdir("root/store/Archive");
    dir.mkdir("root/store/InBox/sub/deeper");
    browser.reloadColumns();
    EXPECT_EQ(browser.path(), at("store/InBox/sub"));
    EXPECT_EQ(Names(*browser.folderModel(), browser.columnView(1)->rootIndex()),
              (QStringList{"Archive", "Draft", "InBox", "Lists"}));
    EXPECT_EQ(browser.columnView(1)->currentIndex().data().toString(), QStringLiteral("InBox"));
    EXPECT_EQ(Names(*browser.folderModel(), browser.columnView(3)->rootIndex()), (QStringList{"deep", "deeper"}));

    // Under "modDate" the folder that just changed moves up and stays selected.
    for (const char *name : {"Archive", "Draft", "Lists"})
        SetMTime(dir.at(QByteArray("root/store/") + name), 1600000000);
    SetMTime(dir.at("root/store/InBox"), 1700000000);
    FSNodeInfo::setSortFolderTag(QStringLiteral("modDate"));
    browser.reloadColumns();
    EXPECT_EQ(Names(*browser.folderModel(), browser.columnView(1)->rootIndex()).first(), QStringLiteral("InBox"));
    EXPECT_EQ(browser.columnView(1)->currentIndex().data().toString(), QStringLiteral("InBox"));
    EXPECT_EQ(browser.path(), at("store/InBox/sub"));

    // The selected folder vanished: the columns from it on close.
    for (const char *gone : {"root/store/InBox/sub/deep", "root/store/InBox/sub/deeper", "root/store/InBox/sub"})
        ASSERT_EQ(rmdir(dir.at(gone).constData()), 0);
    browser.reloadColumns();
    EXPECT_EQ(browser.lastColumn(), 2);
    EXPECT_EQ(browser.path(), at("store/InBox"));
    EXPECT_FALSE(browser.columnView(2)->selectionModel()->hasSelection());
    EXPECT_EQ(browser.columnView(1)->currentIndex().data().toString(), QStringLiteral("InBox"));
}

TEST_F(FSBrowserTest, AFolderWhoseNameIsNotUtf8OpensAndShowsItsBytesEscaped)
{
    browser.show();
    // Made with the bytes themselves: the name must not pass through text.
    const QByteArray folder = dir.at("root/store/caf\xe9");
    ASSERT_EQ(::mkdir(folder.constData(), 0700), 0);
    ASSERT_EQ(::mkdir((folder + "/deeper").constData(), 0700), 0);
    const QByteArray mail = WriteMail(dir, "root/1.mail", QStringLiteral("a"), QStringLiteral("bonjour"), 3);
    ASSERT_EQ(::rename(mail.constData(), (folder + "/1.mail").constData()), 0);
    ASSERT_TRUE(browser.setPath(at("store")));
    QListView *column = browser.columnView(1);
    int row = 0;
    while (row < column->model()->rowCount(column->rootIndex())
           && !browser.folderModel()->index(row, 0, column->rootIndex()).data().toString().startsWith(QLatin1String("caf")))
        ++row;
    const QModelIndex index = browser.folderModel()->index(row, 0, column->rootIndex());
    ASSERT_TRUE(index.isValid());
    EXPECT_EQ(index.data().toString(), QStringLiteral("caf\\xE9"));
    QTest::mouseClick(column->viewport(), Qt::LeftButton, {}, column->visualRect(index).center());
    EXPECT_EQ(titleWindow.windowTitle(), QStringLiteral("caf\\xE9"));
    EXPECT_EQ(titles.folderPath(), folder);
    EXPECT_EQ(loadedCount(), 1);
    ASSERT_EQ(browser.lastColumn(), 2);
    EXPECT_EQ(Names(*browser.folderModel(), browser.columnView(2)->rootIndex()), QStringList{"deeper"});
}

TEST_F(FSBrowserTest, ReloadingAColumnDropsColumnsOfVanishedFolders)
{
    ASSERT_TRUE(browser.setPath(at("store/Lists/debian")));
    ASSERT_EQ(browser.lastColumn(), 3);
    rmdir(dir.at("root/store/Lists/debian").constData());
    rmdir(dir.at("root/store/Lists").constData());
    browser.reloadColumn(1);
    EXPECT_EQ(browser.lastColumn(), 1);
    EXPECT_EQ(browser.path(), at("store"));
    EXPECT_EQ(Names(*browser.folderModel(), browser.columnView(1)->rootIndex()), (QStringList{"Draft", "InBox"}));
    browser.reloadColumn(7); // out of range: nothing
    EXPECT_EQ(browser.lastColumn(), 1);
}

} // namespace
} // namespace wex::test
