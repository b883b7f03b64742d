// The navigation commands over the title list and contents view, and the key routing that runs them.
#include "FSBrowser.h"
#include "KeyEventConverter.h"
#include "KeyRouter.h"
#include "ReadingFixture.h"

#include <QAction>
#include <QKeyEvent>
#include <QListView>

namespace wex::test {

using K = KeyController;
using Command = void (K::*)();

class KeyNavigationTest : public ::testing::Test, protected ReadingFixture {};

TEST_F(KeyNavigationTest, MailMovesGoByOneScreenOrOneMailAndStopAtTheEnds)
{
    setReadMails(60); // 10 rows in view
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
        showRowAtTop(c.top);
        titles.clearSelection();
        if (c.from >= 0)
            select(c.from);
        (keys.*c.command)();
        EXPECT_EQ(selected(), c.to) << c.top << " " << c.from;
        EXPECT_TRUE(c.newTop < 0 || topRow() == c.newTop) << topRow() << " from " << c.top << " " << c.from;
        EXPECT_EQ(contents.currentPathString(), dir.at(QByteArray::number(c.to) + ".mail"));
    }
    setReadMails(3); // shorter than the view: the last row
    keys.nextPageMail();
    EXPECT_EQ(selected(), 2);
    setReadMails(0); // an empty table: nothing to select
    for (Command command : {&K::nextPageMail, &K::prevPageMail, &K::prevMail, &K::nextMail, &K::unreadMail, &K::nextPage}) {
        (keys.*command)();
        EXPECT_EQ(selected(), -1);
    }
}

TEST_F(KeyNavigationTest, NextPageReadsToTheEndThenOpensTheNextMail)
{
    setMails({{"0.mail", "short\n"}, {"1.mail", QByteArray("a line\n").repeated(300)}, {"2.mail", "short\n"}});
    QScrollBar *bar = view.verticalScrollBar();

    select(0);
    ASSERT_EQ(bar->maximum(), 0);
    keys.nextPage();
    EXPECT_EQ(selected(), 1) << "a text that fits counts as read to its end";

    ASSERT_GT(bar->maximum(), 0);
    keys.nextPage();
    EXPECT_EQ(selected(), 1) << "not at the end: it only pages";
    EXPECT_EQ(bar->value(), bar->pageStep());
    keys.prevPage();
    EXPECT_EQ(bar->value(), 0);
    for (Command command : {&K::nextLine, &K::nextLine, &K::prevLine})
        (keys.*command)();
    EXPECT_EQ(bar->value(), 1);

    for (int presses = 0; selected() == 1 && presses < 1000; ++presses)
        keys.nextPage();
    EXPECT_EQ(selected(), 2);
    EXPECT_EQ(bar->value(), 0) << "the next mail opens at its top";
    keys.prevPage();
    EXPECT_EQ(selected(), 2) << "prevPage never changes the mail";
}

class KeyRouterTest : public ::testing::Test, protected ReadingFixture {
protected:
    KeyRouterTest()
    {
        for (const char *name : {"folders/a", "folders/b", "folders/c"})
            dir.mkdir(name);
        browser.setRootPath(dir.at("folders"));
        browser.show();
        setReadMails(5, QByteArray("a line\n").repeated(200));
        select(0);
        router.install({&window, &table, &browser}, {&browser, &table});
        QApplication::processEvents();
    }
    int scroll() const { return view.verticalScrollBar()->value(); }
    void bindNextLine(Qt::Key key, Qt::KeyboardModifiers modifiers = {})
    {
        const std::optional<MethodKey> bound = MethodKeyFromEvent(QKeyEvent(QEvent::KeyPress, key, modifiers));
        ASSERT_TRUE(bound);
        keys.addBinding(*bound, KeyController::NextLine);
    }

    FSBrowser browser;
    KeyRouter router{keys};
};

TEST_F(KeyRouterTest, BoundKeysRunOnceAndNeverReachTheWidgets)
{
    bindNextLine(Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&view, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(scroll(), 1) << "one line: the command ran once";
    EXPECT_FALSE(view.textCursor().hasSelection()) << "no select-all";

    QTest::keyClick(&table, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(scroll(), 2) << "at the table, the key is the text view's command all the same";
    EXPECT_EQ(titles.selectedRows(), std::vector<int>{0});

    QWidget other; // another window's keys are not looked at
    other.show();
    QTest::keyClick(&other, Qt::Key_N);
    EXPECT_EQ(scroll(), 2);

    keys.setBindings({}); // unbound keys reach the focused widget
    QTest::keyClick(&view, Qt::Key_A, Qt::ControlModifier);
    EXPECT_TRUE(view.textCursor().hasSelection()) << "select-all reached the text view";
    EXPECT_EQ(scroll(), 2);
}

TEST_F(KeyRouterTest, TheTableAndBrowserKeepTheirMovementKeys)
{
    bindNextLine(Qt::Key_Down);
    bindNextLine(Qt::Key_PageDown);
    bindNextLine(Qt::Key_Up, Qt::AltModifier);

    QTest::keyClick(&table, Qt::Key_Down);
    EXPECT_EQ(selected(), 1) << "Down moves the table's selection";
    QTest::keyClick(&table, Qt::Key_PageDown);
    EXPECT_EQ(selected(), 4);
    EXPECT_EQ(scroll(), 0) << "the bindings did not run";
    QTest::keyClick(&table, Qt::Key_N);
    EXPECT_EQ(scroll(), 1) << "any other key still reaches the bindings first";
    QTest::keyClick(&table, Qt::Key_Up, Qt::AltModifier);
    EXPECT_EQ(scroll(), 2) << "with Alt a movement key is the bindings'";
    EXPECT_EQ(selected(), 4);

    QListView *column = browser.columnView(0);
    column->setCurrentIndex(column->model()->index(0, 0, column->rootIndex()));
    QTest::keyClick(column, Qt::Key_Down);
    EXPECT_EQ(column->currentIndex().data().toString(), QStringLiteral("b")) << "Down moves the browser";
    EXPECT_EQ(scroll(), 2);

    QTest::keyClick(&view, Qt::Key_Down);
    EXPECT_EQ(scroll(), 3) << "in the text view the binding runs";
}

TEST_F(KeyRouterTest, ABindingWinsOverAMenusDefaultKey)
{
    QAction menuItem(QStringLiteral("Filter"));
    menuItem.setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    menuItem.setShortcutContext(Qt::ApplicationShortcut);
    table.addAction(&menuItem);
    int triggered = 0;
    QObject::connect(&menuItem, &QAction::triggered, [&triggered] { ++triggered; });
    table.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&table));
    QTest::keyClick(&table, Qt::Key_F, Qt::ControlModifier);
    ASSERT_EQ(triggered, 1) << "unbound, the menu's key works";
    bindNextLine(Qt::Key_F, Qt::ControlModifier);
    QTest::keyClick(&table, Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(triggered, 1);
    EXPECT_EQ(scroll(), 1);
}

} // namespace wex::test
