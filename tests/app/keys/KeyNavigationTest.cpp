// The navigation commands over the title list and the contents view.
#include "ReadingFixture.h"

namespace wex::test {

using K = KeyController;
using Command = void (K::*)();

class KeyNavigationTest : public ::testing::Test {
protected:
    ReadingFixture f;
};

TEST_F(KeyNavigationTest, MailMovesGoByOneScreenOrOneMailAndStopAtTheEnds)
{
    f.setReadMails(60); // 10 rows in view
    const struct {
        int top, from; // the row shown at the top, the row selected (-1: none)
        Command command;
        int to, newTop; // newTop -1: not looked at
    } cases[] = {
        {30, -1, &K::nextPageMail, 39, 39}, // the bottom row becomes the top row
        {39, 39, &K::prevPageMail, 30, 21}, // one screen up, shown as the bottom row
        {55, -1, &K::nextPageMail, 59, 50}, {0, 5, &K::prevPageMail, 0, 0},
        {0, 2, &K::nextMail, 3, -1}, {50, 59, &K::nextMail, 59, -1}, {0, -1, &K::nextMail, 0, -1},
        {0, 2, &K::prevMail, 1, -1}, {0, 0, &K::prevMail, 0, -1}, {0, -1, &K::prevMail, 0, -1},
    };
    for (const auto &c : cases) {
        f.showRowAtTop(c.top);
        f.titles.clearSelection();
        if (c.from >= 0)
            f.select(c.from);
        (f.keys.*c.command)();
        EXPECT_EQ(f.selected(), c.to) << c.top << " " << c.from;
        EXPECT_TRUE(c.newTop < 0 || f.topRow() == c.newTop) << f.topRow() << " from " << c.top << " " << c.from;
        EXPECT_EQ(f.contents.currentPathString(), f.dir.at(QByteArray::number(c.to) + ".mail"));
    }
    f.setReadMails(3); // shorter than the view: the last row
    f.keys.nextPageMail();
    EXPECT_EQ(f.selected(), 2);
    f.setReadMails(0); // an empty table: nothing to select
    for (Command command : {&K::nextPageMail, &K::prevPageMail, &K::prevMail, &K::nextMail, &K::unreadMail, &K::nextPage}) {
        (f.keys.*command)();
        EXPECT_EQ(f.selected(), -1);
    }
}

TEST_F(KeyNavigationTest, NextPageReadsToTheEndThenOpensTheNextMail)
{
    f.setMails({{"0.mail", "short\n"}, {"1.mail", QByteArray("a line\n").repeated(300)}, {"2.mail", "short\n"}});
    QScrollBar *bar = f.view.verticalScrollBar();

    f.select(0);
    ASSERT_EQ(bar->maximum(), 0);
    f.keys.nextPage();
    EXPECT_EQ(f.selected(), 1) << "a text that fits counts as read to its end";

    ASSERT_GT(bar->maximum(), 0);
    f.keys.nextPage();
    EXPECT_EQ(f.selected(), 1) << "not at the end: it only pages";
    EXPECT_EQ(bar->value(), bar->pageStep());
    f.keys.prevPage();
    EXPECT_EQ(bar->value(), 0);
    for (Command command : {&K::nextLine, &K::nextLine, &K::prevLine})
        (f.keys.*command)();
    EXPECT_EQ(bar->value(), 1);

    for (int presses = 0; f.selected() == 1 && presses < 1000; ++presses)
        f.keys.nextPage();
    EXPECT_EQ(f.selected(), 2);
    EXPECT_EQ(bar->value(), 0) << "the next mail opens at its top";
    f.keys.prevPage();
    EXPECT_EQ(f.selected(), 2) << "prevPage never changes the mail";
}

} // namespace wex::test
