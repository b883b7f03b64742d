// Folder loads away from the window (held at their first mail read, so each step sees a load truly running), and
// the lists that replace the title list over a real store: the related (Chain), the unread and the found mails.
#include "Chain.h"
#include "FolderLoader.h"
#include "ReadingFixture.h"
#include "StoreFind.h"

#include <QElapsedTimer>
#include <QLabel>

namespace wex::test {

class FolderLoadTest : public ::testing::Test, protected ReadingFixture {
protected:
    FolderLoadTest()
    {
        for (const char *folder : {"a", "b"})
            for (const char *name : {"1.mail", "2.ygm", "3.ygm"})
                WriteMail(dir, QByteArray(folder) + '/' + name, QStringLiteral("x"),
                          QString::fromLatin1(folder) + ' ' + QLatin1Char(name[0]), name[0] - '0');
        titles.setUseCache(false); // held loads must read: the cache would answer without a read
    }
    void hold(bool held) { titles.folderLoader().setHeldForTesting(held); }
    QLabel *progressLabel() { return titleWindow.statusBar()->findChild<QLabel *>(); }

};

TEST_F(FolderLoadTest, ANewerLoadWinsAndAnotherFoldersRowsGoAtOnce)
{
    ASSERT_TRUE(LoadTitlesNow(titles, dir.at("a"), true));
    ASSERT_EQ(contents.currentPathString(), dir.at("a/2.mail"));
    hold(true);
    QSignalSpy loaded(&titles, &MailTitles::titlesLoaded);
    titles.loadTitleTable(dir.at("b"), true);
    EXPECT_TRUE(titles.isLoading());
    EXPECT_EQ(titles.count(), 0) << "another folder's mails do not stay under its name";
    EXPECT_EQ(contents.currentPathString(), QByteArray()) << "no mail of the old folder is on show";
    titles.loadTitleTable(dir.at("a"), true);
    hold(false);
    ASSERT_TRUE(WaitForTitles(titles));
    QCoreApplication::processEvents(); // the first load's end, were it delivered
    EXPECT_EQ(Subjects(titles), QStringList({"a 1", "a 2", "a 3"}));
    EXPECT_EQ(contents.currentPathString(), dir.at("a/3.mail")) << "the first unread: selected, shown, read";
    EXPECT_EQ(loaded.count(), 1);

    hold(true);
    titles.loadTitleTable(dir.at("b"), true);
    titles.replaceMailTitles(TitleArray());
    EXPECT_FALSE(titles.isLoading()) << "the list asked for last is the one shown";
    titles.loadTitleTable(dir.at("a"), true); // still held when the controller goes: dropped with it
}

TEST_F(FolderLoadTest, ALongLoadShowsItsProgressUntilItEndsOrIsCancelled)
{
    ASSERT_TRUE(LoadTitlesNow(titles, dir.at("a"), true));
    hold(true);
    QSignalSpy loaded(&titles, &MailTitles::titlesLoaded);
    for (const bool cancel : {true, false}) {
        QElapsedTimer clock;
        clock.start();
        titles.loadTitleTable(dir.at("a"), true);
        ASSERT_TRUE(WaitUntil([&] { return progressLabel() && !progressLabel()->isHidden(); }));
        EXPECT_GE(clock.elapsed(), FolderLoader::kProgressDelayMs) << "a short load shows nothing";
        EXPECT_TRUE(progressLabel()->text().contains(QLatin1String("3"))) << progressLabel()->text().toStdString();
        if (cancel) {
            titles.cancelLoad();
            EXPECT_EQ(titles.count(), 3) << "the rows shown stay";
        } else {
            hold(false);
            ASSERT_TRUE(WaitForTitles(titles));
        }
        EXPECT_TRUE(progressLabel()->isHidden());
        EXPECT_EQ(loaded.count(), cancel ? 0 : 1);
    }

    // A folder that cannot be listed says so in the status line.
    ASSERT_TRUE(LoadTitlesNow(titles, dir.at("none"), true));
    EXPECT_FALSE(titleWindow.statusBar()->currentMessage().isEmpty());
}

class ChainTest : public ::testing::Test, protected ReadingFixture {
protected:
    ChainTest()
    {
        // Thread: 1 <- 2 <- 3 (in another folder).
        for (const auto &[file, subject, day, headers] :
             {std::tuple{"InBox/1.mail", "one", 5, "Message-ID: <1@x>\n"},
              {"InBox/2.mail", "two", 6, "Message-ID: <2@x>\nIn-Reply-To: <1@x>\n"}, {"InBox/9.mail", "nine", 1, ""},
              {"Lists/3.ygm", "three", 7, "In-Reply-To: <2@x>\n"}, {"Work/4.ygm", "four", 2, ""}})
            dir.write(file, QByteArray("From: f\nSubject: ") + subject + "\nDate: " + QByteArray::number(day) +
                                " Dec 2026 10:00:00 +0900\n" + headers + "\nbody\n");
        for (const auto &[link, target] :
             {std::pair{"refByAliases/<1@x>.iftref/2", "InBox/2.mail"}, {"refByAliases/<1@x>.midref/1", "InBox/1.mail"},
              {"refByAliases/<2@x>.iftref/3", "Lists/3.ygm"}, {"refByAliases/<2@x>.midref/2", "InBox/2.mail"},
              {"unreadAliases/a", "Lists/3.ygm"}, {"unreadAliases/b", "Work/4.ygm"}, {"unreadAliases/c", "Work/gone.ygm"}}) {
            const QByteArray relative = QByteArray("temp/") + link;
            dir.mkdir(relative.left(relative.lastIndexOf('/')));
            EXPECT_EQ(::symlink(dir.at(target).constData(), dir.at(relative).constData()), 0);
        }
    }

    Chain chain{titles, titleWindow, store};
};

TEST_F(ChainTest, RelatedAndUnreadMailsReplaceTheListSortedWithoutShowingAnotherMail)
{
    ASSERT_TRUE(LoadTitlesNow(titles, dir.at("InBox"), true));
    ASSERT_EQ(Subjects(titles), QStringList({"nine", "one", "two"}));
    titles.setReverse(true);
    titles.selectAndShow(2);
    QSignalSpy changes(&titles, &MailTitles::selectionChanged);

    chain.chainTitle();
    const QString related = titleWindow.windowTitle();
    EXPECT_EQ(Subjects(titles), QStringList({"three", "two", "one"}));
    EXPECT_EQ(titles.selectedRows(), std::vector<int>{1}) << "the mail on show stays selected";

    titles.unreadMailTitles();
    EXPECT_NE(titleWindow.windowTitle(), related);
    EXPECT_EQ(Subjects(titles), QStringList({"three", "four"}));
    EXPECT_TRUE(titles.selectedRows().empty()) << "the mail on show is not in the list";
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(contents.currentPathString(), dir.at("InBox/2.mail"));
    EXPECT_TRUE(Exists(dir.at("Lists/3.ygm")) && Exists(dir.at("Work/4.ygm"))) << "nothing marked read";

    // With no row selected, only the window title changes.
    chain.chainTitle();
    EXPECT_EQ(titleWindow.windowTitle(), related);
    EXPECT_EQ(Subjects(titles), QStringList({"three", "four"}));

    // A folder listed again (F5) is titled by its name.
    ASSERT_TRUE(LoadTitlesNow(titles, dir.at("InBox/"), true));
    EXPECT_EQ(titleWindow.windowTitle(), QStringLiteral("InBox"));
}

TEST(StoreFind, ListsTheMatchesOfTheWholeStoreAndTellsABadQuery)
{
    ReadingFixture f;
    WriteMail(f.dir, "InBox/1.mail", QStringLiteral("Alice"), QStringLiteral("wex news"), 1);
    WriteMail(f.dir, "Work/deep/2.ygm", QStringLiteral("Bob"), QStringLiteral("WEX release"), 2);
    WriteMail(f.dir, "Work/3.mail", QStringLiteral("Carol"), QStringLiteral("other"), 3);
    StoreFind find(f.titles, f.titleWindow, f.store);
    QSignalSpy found(&find, &StoreFind::found);

    find.find(QStringLiteral("colour:red"));
    EXPECT_FALSE(find.isRunning());
    EXPECT_TRUE(f.titleWindow.statusBar()->currentMessage().contains(QLatin1String("colour")));

    find.find(QStringLiteral("ｗｅｘ"));
    ASSERT_TRUE(WaitUntil([&] { return found.count() == 1; }));
    EXPECT_EQ(Subjects(f.titles), (QStringList{QStringLiteral("wex news"), QStringLiteral("WEX release")}));
    EXPECT_TRUE(f.titleWindow.windowTitle().endsWith(QStringLiteral("ｗｅｘ")));
    EXPECT_TRUE(Exists(f.dir.at("Work/deep/2.ygm"))) << "listed, not read";
}

} // namespace wex::test
