#include "ReadingFixture.h"

#include <QTest>
#include <gtest/gtest.h>

using namespace wex;
using namespace wex::test;

namespace {

class KeyNavigationTest : public ::testing::Test {
protected:
    ReadingFixture f;
};

} // namespace

TEST_F(KeyNavigationTest, PageMailCommandsMoveByOneScreen)
{
    f.setReadMails(60);
    f.showRowAtTop(30);
    ASSERT_EQ(f.topRow(), 30);
    ASSERT_EQ(f.bottomRow(), 39);

    f.keys.nextPageMail(); // the bottom row becomes the selected top row
    EXPECT_EQ(f.selected(), 39);
    EXPECT_EQ(f.topRow(), 39);
    EXPECT_EQ(f.bottomRow(), 48);
    EXPECT_EQ(f.window.windowTitle(), QStringLiteral("39.mail")) << "the selected mail is shown";

    f.keys.prevPageMail(); // one screen up, shown as the bottom row
    EXPECT_EQ(f.selected(), 30);
    EXPECT_EQ(f.topRow(), 21);
    EXPECT_EQ(f.bottomRow(), 30);
}

TEST_F(KeyNavigationTest, PageMailCommandsAtTheEdges)
{
    f.setReadMails(60);
    f.showRowAtTop(55); // the end of the table: rows 50 to 59 in view
    f.keys.nextPageMail();
    EXPECT_EQ(f.selected(), 59);

    f.showRowAtTop(0);
    f.select(5);
    f.keys.prevPageMail();
    EXPECT_EQ(f.selected(), 0);
    EXPECT_EQ(f.topRow(), 0);

    // A table shorter than the view: the last row.
    f.setReadMails(3);
    f.keys.nextPageMail();
    EXPECT_EQ(f.selected(), 2);
}

TEST_F(KeyNavigationTest, AnEmptyTableOnlyLosesItsSelection)
{
    f.setReadMails(0);
    for (void (KeyController::*command)() : {&KeyController::nextPageMail, &KeyController::prevPageMail,
                                            &KeyController::prevMail, &KeyController::nextMail,
                                            &KeyController::unreadMail, &KeyController::nextPage}) {
        (f.keys.*command)();
        EXPECT_EQ(f.selected(), -1);
    }
}

TEST_F(KeyNavigationTest, NextAndPreviousMailStopAtTheEnds)
{
    f.setReadMails(5);
    const struct {
        int from;
        void (KeyController::*command)();
        int to;
    } cases[] = {
        {2, &KeyController::nextMail, 3}, {4, &KeyController::nextMail, 4}, {-1, &KeyController::nextMail, 0},
        {2, &KeyController::prevMail, 1}, {0, &KeyController::prevMail, 0}, {-1, &KeyController::prevMail, 0},
    };
    for (const auto &c : cases) {
        if (c.from < 0)
            f.clearSelection();
        else
            f.select(c.from);
        (f.keys.*c.command)();
        EXPECT_EQ(f.selected(), c.to) << "from " << c.from;
        EXPECT_EQ(f.contents.currentPathString(), f.dir.at(QByteArray::number(c.to) + ".mail"));
    }
}

TEST_F(KeyNavigationTest, NextPageReadsToTheEndThenOpensTheNextMail)
{
    QByteArray longText;
    for (int i = 0; i < 300; ++i)
        longText += "line " + QByteArray::number(i) + "\n";
    f.setMails({{"0.mail", "short\n"}, {"1.mail", longText}, {"2.mail", "short\n"}});

    // A text that fits counts as read to its end.
    f.select(0);
    ASSERT_EQ(f.view()->verticalScrollBar()->maximum(), 0);
    f.keys.nextPage();
    EXPECT_EQ(f.selected(), 1);

    QScrollBar *bar = f.view()->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    f.keys.nextPage();
    EXPECT_EQ(f.selected(), 1) << "not at the end: it only pages";
    EXPECT_EQ(bar->value(), bar->pageStep());
    f.keys.prevPage();
    EXPECT_EQ(bar->value(), 0);
    f.keys.nextLine();
    f.keys.nextLine();
    f.keys.prevLine();
    EXPECT_EQ(bar->value(), 1);

    int presses = 0;
    while (f.selected() == 1 && presses++ < 1000)
        f.keys.nextPage();
    EXPECT_EQ(f.selected(), 2);
    EXPECT_EQ(bar->value(), 0) << "the next mail opens at its top";

    // prevPage never changes the mail.
    f.keys.prevPage();
    EXPECT_EQ(f.selected(), 2);
}

TEST_F(KeyNavigationTest, BoundKeysRunTheCommands)
{
    f.setReadMails(5);
    f.select(0);
    QTest::keyClick(f.view(), Qt::Key_N, Qt::AltModifier);
    EXPECT_EQ(f.selected(), 1);
    QTest::keyClick(f.view(), Qt::Key_P, Qt::AltModifier);
    EXPECT_EQ(f.selected(), 0);
    QTest::keyClick(f.view(), Qt::Key_Space); // a short mail: on to the next
    EXPECT_EQ(f.selected(), 1);
}
