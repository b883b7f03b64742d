// Folder loads that run away from the window: a load starts and returns, a
// newer load wins over an older one, the selection is made when the titles
// arrive, and the title window reports a long load. The loader is held at
// its first mail read, so each step sees a load truly still running.
#include "FolderLoader.h"
#include "ReadingFixture.h"
#include "ShellTestSupport.h"
#include "WaitForTitles.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QMainWindow>
#include <QSignalSpy>
#include <QStatusBar>
#include <gtest/gtest.h>

namespace wex::test {
namespace {

class FolderLoadTest : public ::testing::Test {
protected:
    FolderLoadTest()
    {
        WriteMail(f.dir, "a/1.mail", QStringLiteral("x"), QStringLiteral("a one"), 1);
        WriteMail(f.dir, "a/2.ygm", QStringLiteral("x"), QStringLiteral("a two"), 2);
        WriteMail(f.dir, "a/3.ygm", QStringLiteral("x"), QStringLiteral("a three"), 3);
        WriteMail(f.dir, "b/1.mail", QStringLiteral("y"), QStringLiteral("b one"), 1);
        WriteMail(f.dir, "b/2.mail", QStringLiteral("y"), QStringLiteral("b two"), 2);
        WriteMail(f.dir, "b/3.ygm", QStringLiteral("y"), QStringLiteral("b three"), 3);
        // Held loads must read: the cache would answer without a read.
        f.titles.setUseCache(false);
    }
    void hold(bool held) { f.titles.folderLoader().setHeldForTesting(held); }
    QStringList subjects()
    {
        QStringList list;
        for (const Title &title : f.titles.mailTitles())
            list << title.subject();
        return list;
    }

    ReadingFixture f;
};

TEST_F(FolderLoadTest, ALoadReturnsAtOnceAndSelectsTheFirstUnreadMailWhenItEnds)
{
    ASSERT_TRUE(LoadTitlesNow(f.titles, f.dir.at("a"), true));
    ASSERT_EQ(f.titles.count(), 3);
    hold(true);
    QSignalSpy loaded(&f.titles, &MailTitles::titlesLoaded);
    f.titles.loadTitleTable(f.dir.at("b"), true);
    QTest::qWait(50);
    EXPECT_TRUE(f.titles.isLoading());
    EXPECT_EQ(f.titles.count(), 0) << "another folder's mails do not stay under its name";
    EXPECT_EQ(f.titles.folderPath(), f.dir.at("b"));
    EXPECT_EQ(f.contents.currentPathString(), QByteArray()) << "no mail of the old folder is on show";
    EXPECT_EQ(loaded.count(), 0);
    hold(false);
    ASSERT_TRUE(WaitForTitles(f.titles));
    EXPECT_EQ(subjects(), QStringList({"b one", "b two", "b three"}));
    EXPECT_EQ(f.titles.selectedRow(), 2);
    EXPECT_EQ(f.contents.currentPathString(), f.dir.at("b/3.mail")) << "shown, and so read";
    EXPECT_EQ(loaded.count(), 1);
}

TEST_F(FolderLoadTest, ASecondLoadCancelsTheFirstWhoseTitlesNeverShow)
{
    hold(true);
    QSignalSpy loaded(&f.titles, &MailTitles::titlesLoaded);
    QSignalSpy resets(f.titles.model(), &QAbstractItemModel::modelReset);
    f.titles.loadTitleTable(f.dir.at("a"), true);
    f.titles.loadTitleTable(f.dir.at("b"), true);
    hold(false);
    ASSERT_TRUE(WaitForTitles(f.titles));
    QTest::qWait(50); // the first load's end, had it been delivered
    EXPECT_EQ(subjects(), QStringList({"b one", "b two", "b three"}));
    ASSERT_EQ(loaded.count(), 1);
    EXPECT_EQ(loaded.at(0).at(0).toByteArray(), f.dir.at("b"));
    EXPECT_EQ(resets.count(), 1);
    EXPECT_TRUE(Exists(f.dir.at("a/2.ygm"))) << "nothing of the first folder was shown";

    // The list asked for last wins over a load still running.
    hold(true);
    f.titles.loadTitleTable(f.dir.at("a"), true);
    f.titles.replaceMailTitles(TitleArray());
    EXPECT_FALSE(f.titles.isLoading());
    // And a load still held when the controller goes is dropped with it.
    f.titles.loadTitleTable(f.dir.at("b"), true);
}

TEST_F(FolderLoadTest, AMailReadWhileItsFolderIsListedAgainKeepsItsNewName)
{
    ASSERT_TRUE(LoadTitlesNow(f.titles, f.dir.at("a"), false));
    ASSERT_EQ(f.titles.selectedRow(), 1);
    ASSERT_EQ(f.contents.currentPathString(), f.dir.at("a/2.mail"));
    hold(true);
    f.titles.loadTitleTable(f.dir.at("a"), false);
    f.select(2); // the old rows stay live: showing the mail renames it
    ASSERT_EQ(f.contents.currentPathString(), f.dir.at("a/3.mail"));
    hold(false);
    ASSERT_TRUE(WaitForTitles(f.titles));
    ASSERT_EQ(f.titles.count(), 3);
    EXPECT_EQ(f.titles.titleAt(2)->path(), f.dir.at("a/3.mail"));
    EXPECT_FALSE(f.titles.titleAt(2)->unreadState());
    EXPECT_EQ(f.titles.selectedRow(), 2) << "the mail on show stays selected";
}

TEST_F(FolderLoadTest, ALongLoadShowsItsProgressInTheTitleWindow)
{
    QMainWindow window;
    f.titles.setMailTitleWindow(&window);
    hold(true);
    QElapsedTimer clock;
    clock.start();
    f.titles.loadTitleTable(f.dir.at("a"), true);
    QTest::qWait(FolderLoader::kProgressDelayMs * 3 / 4);
    QList<QLabel *> labels = window.statusBar()->findChildren<QLabel *>();
    if (clock.elapsed() < FolderLoader::kProgressDelayMs) { // not when the machine kept the test waiting
        EXPECT_TRUE(labels.isEmpty() || labels.front()->isHidden()) << "a short load shows nothing";
    }
    QTest::qWait(FolderLoader::kProgressDelayMs + 2 * FolderLoader::kProgressIntervalMs);
    labels = window.statusBar()->findChildren<QLabel *>();
    ASSERT_EQ(labels.size(), 1);
    EXPECT_FALSE(labels.front()->isHidden());
    EXPECT_EQ(labels.front()->text(), QStringLiteral("Reading mails: 0 of 3"));
    hold(false);
    ASSERT_TRUE(WaitForTitles(f.titles));
    EXPECT_TRUE(labels.front()->isHidden());
    EXPECT_EQ(f.titles.count(), 3);

    // A folder that cannot be listed says so there.
    ASSERT_TRUE(LoadTitlesNow(f.titles, f.dir.at("none"), true));
    EXPECT_TRUE(window.statusBar()->currentMessage().startsWith(QStringLiteral("Cannot list the folder")));
    EXPECT_EQ(f.titles.count(), 0);
}

} // namespace
} // namespace wex::test
