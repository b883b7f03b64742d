// The related (Chain) and the unread mails replace the title list over a real
// store: sorted, the mail on show selected again quietly, no other mail shown.
#include "Chain.h"
#include "ReadingFixture.h"

#include <QSignalSpy>
#include <unistd.h>

namespace wex::test {

class ChainTest : public ::testing::Test {
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

    ReadingFixture f;
    const TestDir &dir = f.dir;
    Chain chain{f.titles, f.titleWindow, f.store};
};

TEST_F(ChainTest, RelatedAndUnreadMailsReplaceTheListSortedWithoutShowingAnotherMail)
{
    MailTitles &titles = f.titles;
    ASSERT_TRUE(LoadTitlesNow(titles, dir.at("InBox"), true));
    ASSERT_EQ(Subjects(titles), QStringList({"nine", "one", "two"}));
    titles.setReverse(true);
    titles.selectAndShow(2);
    QSignalSpy changes(&titles, &MailTitles::selectionChanged);

    chain.chainTitle();
    const QString related = f.titleWindow.windowTitle();
    EXPECT_EQ(Subjects(titles), QStringList({"three", "two", "one"}));
    EXPECT_EQ(titles.selectedRows(), std::vector<int>{1}) << "the mail on show stays selected";

    titles.unreadMailTitles();
    EXPECT_NE(f.titleWindow.windowTitle(), related);
    EXPECT_EQ(Subjects(titles), QStringList({"three", "four"}));
    EXPECT_TRUE(titles.selectedRows().empty()) << "the mail on show is not in the list";
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(f.contents.currentPathString(), dir.at("InBox/2.mail"));
    EXPECT_TRUE(Exists(dir.at("Lists/3.ygm")) && Exists(dir.at("Work/4.ygm"))) << "nothing marked read";

    // With no row selected, only the window title changes.
    chain.chainTitle();
    EXPECT_EQ(f.titleWindow.windowTitle(), related);
    EXPECT_EQ(Subjects(titles), QStringList({"three", "four"}));

    // A folder listed again (F5) is titled by its name.
    ASSERT_TRUE(LoadTitlesNow(titles, dir.at("InBox/"), true));
    EXPECT_EQ(f.titleWindow.windowTitle(), QStringLiteral("InBox"));
}

} // namespace wex::test
