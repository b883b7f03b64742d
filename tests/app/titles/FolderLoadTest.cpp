// Folder loads away from the window, the contents view following. Loads are
// held at their first mail read, so each step sees a load truly running.
#include "FolderLoader.h"
#include "ReadingFixture.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QSignalSpy>
#include <QStatusBar>

namespace wex::test {

class FolderLoadTest : public ::testing::Test {
protected:
    FolderLoadTest()
    {
        for (const char *folder : {"a", "b"})
            for (const char *name : {"1.mail", "2.ygm", "3.ygm"})
                WriteMail(f.dir, QByteArray(folder) + '/' + name, QStringLiteral("x"),
                          QString::fromLatin1(folder) + ' ' + QLatin1Char(name[0]), name[0] - '0');
        f.titles.setUseCache(false); // held loads must read: the cache would answer without a read
    }
    void hold(bool held) { f.titles.folderLoader().setHeldForTesting(held); }
    QLabel *progressLabel() { return f.titleWindow.statusBar()->findChild<QLabel *>(); }

    ReadingFixture f;
};

TEST_F(FolderLoadTest, ANewerLoadWinsAndAnotherFoldersRowsGoAtOnce)
{
    ASSERT_TRUE(LoadTitlesNow(f.titles, f.dir.at("a"), true));
    ASSERT_EQ(f.contents.currentPathString(), f.dir.at("a/2.mail"));
    hold(true);
    QSignalSpy loaded(&f.titles, &MailTitles::titlesLoaded);
    f.titles.loadTitleTable(f.dir.at("b"), true);
    EXPECT_TRUE(f.titles.isLoading());
    EXPECT_EQ(f.titles.count(), 0) << "another folder's mails do not stay under its name";
    EXPECT_EQ(f.contents.currentPathString(), QByteArray()) << "no mail of the old folder is on show";
    f.titles.loadTitleTable(f.dir.at("a"), true);
    hold(false);
    ASSERT_TRUE(WaitForTitles(f.titles));
    QCoreApplication::processEvents(); // the first load's end, were it delivered
    EXPECT_EQ(Subjects(f.titles), QStringList({"a 1", "a 2", "a 3"}));
    EXPECT_EQ(f.contents.currentPathString(), f.dir.at("a/3.mail")) << "the first unread: selected, shown, read";
    EXPECT_EQ(loaded.count(), 1);

    hold(true);
    f.titles.loadTitleTable(f.dir.at("b"), true);
    f.titles.replaceMailTitles(TitleArray());
    EXPECT_FALSE(f.titles.isLoading()) << "the list asked for last is the one shown";
    f.titles.loadTitleTable(f.dir.at("a"), true); // still held when the controller goes: dropped with it
}

TEST_F(FolderLoadTest, ALongLoadShowsItsProgressUntilItEndsOrIsCancelled)
{
    ASSERT_TRUE(LoadTitlesNow(f.titles, f.dir.at("a"), true));
    hold(true);
    QSignalSpy loaded(&f.titles, &MailTitles::titlesLoaded);
    for (const bool cancel : {true, false}) {
        QElapsedTimer clock;
        clock.start();
        f.titles.loadTitleTable(f.dir.at("a"), true);
        ASSERT_TRUE(WaitUntil([&] { return progressLabel() && !progressLabel()->isHidden(); }));
        EXPECT_GE(clock.elapsed(), FolderLoader::kProgressDelayMs) << "a short load shows nothing";
        EXPECT_TRUE(progressLabel()->text().contains(QLatin1String("3"))) << progressLabel()->text().toStdString();
        if (cancel) {
            f.titles.cancelLoad();
            EXPECT_EQ(f.titles.count(), 3) << "the rows shown stay";
        } else {
            hold(false);
            ASSERT_TRUE(WaitForTitles(f.titles));
        }
        EXPECT_TRUE(progressLabel()->isHidden());
        EXPECT_EQ(loaded.count(), cancel ? 0 : 1);
    }

    // A folder that cannot be listed says so in the status line.
    ASSERT_TRUE(LoadTitlesNow(f.titles, f.dir.at("none"), true));
    EXPECT_FALSE(f.titleWindow.statusBar()->currentMessage().isEmpty());
}

} // namespace wex::test
