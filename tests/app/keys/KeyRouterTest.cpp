// Key routing over real widgets: a folder browser, a table and the text view
// in one window, routed as the application routes its three windows.
#include "BrowserTextView.h"
#include "DefaultsStore.h"
#include "FSBrowser.h"
#include "KeyController.h"
#include "KeyEventConverter.h"
#include "KeyRouter.h"
#include "TestStore.h"

#include <QApplication>
#include <QJsonArray>
#include <QKeyEvent>
#include <QListView>
#include <QScrollBar>
#include <QStringListModel>
#include <QTableView>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using namespace wex;
using wex::test::TestDir;

namespace {

const QString kKeyBind = QStringLiteral("Key Bind");

class KeyRouterTest : public ::testing::Test {
protected:
    KeyRouterTest() : defaults(dir.pathString() + QStringLiteral("/defaults.json")), keys(defaults), router(&keys)
    {
        for (const char *name : {"folders/a", "folders/b", "folders/c"})
            dir.mkdir(name);
        auto *layout = new QVBoxLayout(&window);
        browser = new FSBrowser;
        browser->setRootPath(dir.at("folders"));
        table = new QTableView;
        view = new BrowserTextView;
        layout->addWidget(browser);
        layout->addWidget(table);
        layout->addWidget(view);
        QStringList rows;
        for (int i = 0; i < 5; ++i)
            rows << QString::number(i);
        model.setStringList(rows);
        table->setModel(&model);
        view->setKeyController(&keys);
        keys.setBrowserTextView(view);
        QString text;
        for (int i = 0; i < 200; ++i)
            text += QStringLiteral("line %1\n").arg(i);
        view->setPlainText(text);
        window.resize(400, 600);
        window.show();
        router.install({&window}, {browser, table});
        QApplication::processEvents();
    }
    int scroll() const { return view->verticalScrollBar()->value(); }
    void bindKey(Qt::Key key, KeyController::Command command, Qt::KeyboardModifiers modifiers = {})
    {
        const QKeyEvent press(QEvent::KeyPress, key, modifiers);
        const std::optional<MethodKey> bound = MethodKeyFromEvent(press);
        ASSERT_TRUE(bound);
        keys.addBinding(*bound, command);
    }

    TestDir dir;
    DefaultsStore defaults;
    KeyController keys;
    KeyRouter router;
    QWidget window;
    FSBrowser *browser;
    QTableView *table;
    BrowserTextView *view;
    QStringListModel model;
};

} // namespace

TEST_F(KeyRouterTest, BoundKeysRunOnceAndNeverReachTheWidgets)
{
    defaults.setArray(kKeyBind, QJsonArray{QJsonArray{"a", double(mod::Control), 2}});
    keys.awakeFromNib(); // Ctrl-a: Next Line

    // At the text view: the command runs once (one line), no select-all.
    QTest::keyClick(view, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(scroll(), 1);
    EXPECT_FALSE(view->textCursor().hasSelection());

    // At the table: the key is the text view's command all the same.
    table->setFocus();
    QTest::keyClick(table, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(scroll(), 2);
    EXPECT_TRUE(table->selectionModel()->selectedRows().isEmpty());

    // Without the router the text view offers the key itself.
    qApp->removeEventFilter(&router);
    QTest::keyClick(view, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(scroll(), 3);
    EXPECT_FALSE(view->textCursor().hasSelection());
}

TEST_F(KeyRouterTest, UnboundKeysReachTheFocusedWidget)
{
    defaults.setArray(kKeyBind, QJsonArray());
    keys.awakeFromNib();
    QTest::keyClick(view, Qt::Key_A, Qt::ControlModifier);
    EXPECT_TRUE(view->textCursor().hasSelection()) << "select-all reached the text view";
    EXPECT_EQ(scroll(), 0);

    // Another window's keys are not looked at.
    QWidget other;
    other.show();
    keys.addBinding(MethodKey("n", 0), KeyController::NextLine);
    QTest::keyClick(&other, Qt::Key_N);
    EXPECT_EQ(scroll(), 0);
    QTest::keyClick(view, Qt::Key_N);
    EXPECT_EQ(scroll(), 1);
}

TEST_F(KeyRouterTest, TheFocusedTableAndBrowserKeepTheirMovementKeys)
{
    keys.awakeFromNib(); // the default bindings: "n" is Next Line
    bindKey(Qt::Key_Down, KeyController::NextLine);
    bindKey(Qt::Key_PageDown, KeyController::NextLine);
    bindKey(Qt::Key_End, KeyController::NextLine);
    bindKey(Qt::Key_Up, KeyController::NextLine, Qt::AltModifier);

    table->setFocus();
    table->setCurrentIndex(model.index(0, 0));
    QTest::keyClick(table, Qt::Key_Down);
    EXPECT_EQ(table->currentIndex().row(), 1) << "Down moves the table's selection";
    QTest::keyClick(table, Qt::Key_PageDown);
    EXPECT_EQ(table->currentIndex().row(), 4);
    EXPECT_EQ(scroll(), 0) << "the bindings did not run";
    // End moves a table along its row; with one column the table passes it
    // on, and so it reaches the binding.
    QTest::keyClick(table, Qt::Key_End);
    EXPECT_EQ(scroll(), 1);
    QTest::keyClick(table, Qt::Key_N);
    EXPECT_EQ(scroll(), 2) << "any other key still reaches the bindings first";
    QTest::keyClick(table, Qt::Key_Up, Qt::AltModifier);
    EXPECT_EQ(scroll(), 3) << "with Alt a movement key is the bindings' first";
    EXPECT_EQ(table->currentIndex().row(), 4);

    QListView *column = browser->columnView(0);
    column->setFocus();
    column->setCurrentIndex(column->model()->index(0, 0, column->rootIndex()));
    QTest::keyClick(column, Qt::Key_Down);
    EXPECT_EQ(column->currentIndex().data().toString(), QStringLiteral("b")) << "Down moves the browser";
    EXPECT_EQ(scroll(), 3);
    QTest::keyClick(column, Qt::Key_N);
    EXPECT_EQ(scroll(), 4);

    view->setFocus();
    QTest::keyClick(view, Qt::Key_Down);
    EXPECT_EQ(scroll(), 5) << "in the text view the binding runs";
}
