// Key routing over the folder browser, the mail table and the text view, each in its window.
#include "FSBrowser.h"
#include "KeyEventConverter.h"
#include "KeyRouter.h"
#include "ReadingFixture.h"

#include <QAction>
#include <QKeyEvent>
#include <QListView>
#include <QTest>

namespace wex::test {

class KeyRouterTest : public ::testing::Test {
protected:
    KeyRouterTest()
    {
        for (const char *name : {"folders/a", "folders/b", "folders/c"})
            f.dir.mkdir(name);
        browser.setRootPath(f.dir.at("folders"));
        browser.show();
        f.setReadMails(5, QByteArray("a line\n").repeated(200));
        f.select(0);
        router.install({&f.window, &f.table, &browser}, {&browser, &f.table});
        QApplication::processEvents();
    }
    int scroll() const { return f.view.verticalScrollBar()->value(); }
    void bindNextLine(Qt::Key key, Qt::KeyboardModifiers modifiers = {})
    {
        const std::optional<MethodKey> bound = MethodKeyFromEvent(QKeyEvent(QEvent::KeyPress, key, modifiers));
        ASSERT_TRUE(bound);
        f.keys.addBinding(*bound, KeyController::NextLine);
    }

    ReadingFixture f; // the default bindings: "n" is Next Line
    FSBrowser browser;
    KeyRouter router{f.keys};
};

TEST_F(KeyRouterTest, BoundKeysRunOnceAndNeverReachTheWidgets)
{
    bindNextLine(Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&f.view, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(scroll(), 1) << "one line: the command ran once";
    EXPECT_FALSE(f.view.textCursor().hasSelection()) << "no select-all";

    QTest::keyClick(&f.table, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(scroll(), 2) << "at the table, the key is the text view's command all the same";
    EXPECT_EQ(f.titles.selectedRows(), std::vector<int>{0});

    QWidget other; // another window's keys are not looked at
    other.show();
    QTest::keyClick(&other, Qt::Key_N);
    EXPECT_EQ(scroll(), 2);

    f.keys.setBindings({}); // unbound keys reach the focused widget
    QTest::keyClick(&f.view, Qt::Key_A, Qt::ControlModifier);
    EXPECT_TRUE(f.view.textCursor().hasSelection()) << "select-all reached the text view";
    EXPECT_EQ(scroll(), 2);
}

TEST_F(KeyRouterTest, TheTableAndBrowserKeepTheirMovementKeys)
{
    bindNextLine(Qt::Key_Down);
    bindNextLine(Qt::Key_PageDown);
    bindNextLine(Qt::Key_Up, Qt::AltModifier);

    QTest::keyClick(&f.table, Qt::Key_Down);
    EXPECT_EQ(f.selected(), 1) << "Down moves the table's selection";
    QTest::keyClick(&f.table, Qt::Key_PageDown);
    EXPECT_EQ(f.selected(), 4);
    EXPECT_EQ(scroll(), 0) << "the bindings did not run";
    QTest::keyClick(&f.table, Qt::Key_N);
    EXPECT_EQ(scroll(), 1) << "any other key still reaches the bindings first";
    QTest::keyClick(&f.table, Qt::Key_Up, Qt::AltModifier);
    EXPECT_EQ(scroll(), 2) << "with Alt a movement key is the bindings'";
    EXPECT_EQ(f.selected(), 4);

    QListView *column = browser.columnView(0);
    column->setCurrentIndex(column->model()->index(0, 0, column->rootIndex()));
    QTest::keyClick(column, Qt::Key_Down);
    EXPECT_EQ(column->currentIndex().data().toString(), QStringLiteral("b")) << "Down moves the browser";
    EXPECT_EQ(scroll(), 2);

    QTest::keyClick(&f.view, Qt::Key_Down);
    EXPECT_EQ(scroll(), 3) << "in the text view the binding runs";
}

TEST_F(KeyRouterTest, ABindingWinsOverAMenusDefaultKey)
{
    QAction menuItem(QStringLiteral("Filter"));
    menuItem.setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    menuItem.setShortcutContext(Qt::ApplicationShortcut);
    f.table.addAction(&menuItem);
    int triggered = 0;
    QObject::connect(&menuItem, &QAction::triggered, [&triggered] { ++triggered; });
    f.table.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f.table));
    QTest::keyClick(&f.table, Qt::Key_F, Qt::ControlModifier);
    ASSERT_EQ(triggered, 1) << "unbound, the menu's key works";
    bindNextLine(Qt::Key_F, Qt::ControlModifier);
    QTest::keyClick(&f.table, Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(triggered, 1);
    EXPECT_EQ(scroll(), 1);
}

} // namespace wex::test
