#include "BrowserTextView.h"
#include "DefaultsStore.h"
#include "KeyController.h"
#include "KeyRouter.h"
#include "TestStore.h"

#include <QJsonArray>
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

class KeyControllerTest : public ::testing::Test {
protected:
    DefaultsStore store() { return DefaultsStore(dir.pathString() + "/defaults.json"); }
    TestDir dir;
};

std::optional<int> Bound(const KeyController &k, const char *characters, uint32_t flags = 0)
{
    return k.serialForKey(MethodKey(QString::fromLatin1(characters), flags));
}

} // namespace

TEST_F(KeyControllerTest, DefaultBindingsMatchExactly)
{
    DefaultsStore defaults = store();
    KeyController keys(defaults);
    keys.awakeFromNib();
    EXPECT_EQ(Bound(keys, "n"), 2);
    EXPECT_EQ(Bound(keys, "n", mod::Alternate), 4);
    // Any other modifier word is another key.
    EXPECT_FALSE(Bound(keys, "n", mod::Shift));
    EXPECT_FALSE(Bound(keys, "N", mod::Shift));
    EXPECT_FALSE(Bound(keys, "n", mod::Alternate | mod::CapsLock));
    EXPECT_FALSE(Bound(keys, " ", 1)); // a device-dependent bit counts too
    EXPECT_FALSE(keys.performCommand(9));
    EXPECT_FALSE(keys.performCommand(-1));
}

TEST_F(KeyControllerTest, SavedBindingsRoundTripAndDamageIsSkipped)
{
    {
        DefaultsStore defaults = store();
        const QJsonArray saved = {
            QJsonArray{"x", 0},                       // too short
            QJsonArray{"x", 0, 9},                    // serial outside the table
            QJsonArray{"x", 0, 2.5},                  // not a whole serial
            QJsonArray{1, 0, 2},                      // characters of the wrong type
            QJsonArray{"x", "0", 2},                  // flags of the wrong type
            QJsonArray{"x", -1, 2},                   // flags outside 32 bits
            "not an entry",
            QJsonArray{"a", 0, 8, "Unread Mail"},     // good
            QJsonArray{"z", 524288, 1},               // good: the name is optional
            QJsonArray{"a", 0, 6, "Next Page Mail"},  // the same key again: the later wins
            QJsonArray{"c", 262144, 6, "Whatever"},   // good
        };
        defaults.setArray(kKeyBind, saved);
        KeyController keys(defaults);
        keys.awakeFromNib();
        EXPECT_FALSE(Bound(keys, "x"));
        EXPECT_EQ(Bound(keys, "a"), 6);
        EXPECT_EQ(Bound(keys, "z", mod::Alternate), 1);
        EXPECT_EQ(Bound(keys, "c", mod::Control), 6);
        EXPECT_FALSE(Bound(keys, " ")) << "saved bindings replace the defaults";

        keys.terminate();
        const QJsonArray written = *defaults.arrayForKey(kKeyBind);
        // Grouped by command in serial order; a command's keys keep their order.
        const QJsonArray expected = {
            QJsonArray{"z", 524288, 1, "Previous Page"},
            QJsonArray{"a", 0, 6, "Next Page Mail"},
            QJsonArray{"c", 262144, 6, "Next Page Mail"},
        };
        EXPECT_EQ(written, expected);
        ASSERT_TRUE(defaults.save());
    }
    DefaultsStore reread = store();
    KeyController again(reread);
    again.awakeFromNib();
    EXPECT_EQ(again.keyArray().size(), 3);
    EXPECT_EQ(Bound(again, "z", mod::Alternate), 1);
}

TEST_F(KeyControllerTest, AnEmptySavedArrayMeansNoBindings)
{
    DefaultsStore defaults = store();
    defaults.setArray(kKeyBind, QJsonArray());
    KeyController keys(defaults);
    keys.awakeFromNib();
    EXPECT_TRUE(keys.keyArray().isEmpty());
    EXPECT_FALSE(keys.handleKey(MethodKey(" ", 0)));
    keys.terminate();
    EXPECT_EQ(defaults.arrayForKey(kKeyBind), QJsonArray());
}

TEST_F(KeyControllerTest, RebindingMovesTheKeyAndKeepsTheOtherKeys)
{
    DefaultsStore defaults = store();
    KeyController keys(defaults);
    keys.awakeFromNib();
    ASSERT_TRUE(keys.addBinding(MethodKey("j", 0), KeyController::NextLine));
    ASSERT_TRUE(keys.addBinding(MethodKey("n", 0), KeyController::NextMail));
    EXPECT_EQ(Bound(keys, "n"), 4);
    EXPECT_EQ(Bound(keys, "j"), 2);
    EXPECT_EQ(keys.keyArray().size(), 7);
    EXPECT_FALSE(keys.addBinding(MethodKey("q", 0), 9));
    for (qsizetype i = 1; i < keys.keyArray().size(); ++i)
        EXPECT_LE(keys.keyArray()[i - 1].serial, keys.keyArray()[i].serial);
    ASSERT_TRUE(keys.removeBindingAt(0)); // " " -> Next Page
    EXPECT_FALSE(Bound(keys, " "));
    EXPECT_FALSE(keys.removeBindingAt(99));
}

// The text view and a table in one window, routed like the application's.
class KeyRoutingTest : public KeyControllerTest {
protected:
    KeyRoutingTest() : defaults(store()), keys(defaults), router(&keys)
    {
        auto *layout = new QVBoxLayout(&window);
        view = new BrowserTextView;
        table = new QTableView;
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
        window.resize(400, 400);
        window.show();
        router.install({&window});
        QApplication::processEvents();
    }
    int scroll() const { return view->verticalScrollBar()->value(); }

    DefaultsStore defaults;
    KeyController keys;
    KeyRouter router;
    QWidget window;
    BrowserTextView *view;
    QTableView *table;
    QStringListModel model;
};

TEST_F(KeyRoutingTest, BoundKeysRunOnceAndNeverReachTheWidgets)
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

TEST_F(KeyRoutingTest, UnboundKeysReachTheFocusedWidget)
{
    defaults.setArray(kKeyBind, QJsonArray());
    keys.awakeFromNib();
    QTest::keyClick(view, Qt::Key_A, Qt::ControlModifier);
    EXPECT_TRUE(view->textCursor().hasSelection()) << "select-all reached the text view";
    EXPECT_EQ(scroll(), 0);

    table->setFocus();
    table->setCurrentIndex(model.index(0, 0));
    QTest::keyClick(table, Qt::Key_Down);
    EXPECT_EQ(table->currentIndex().row(), 1) << "an arrow still moves the table";

    // Another window's keys are not looked at.
    QWidget other;
    other.show();
    keys.addBinding(MethodKey("n", 0), KeyController::NextLine);
    QTest::keyClick(&other, Qt::Key_N);
    EXPECT_EQ(scroll(), 0);
    QTest::keyClick(view, Qt::Key_N);
    EXPECT_EQ(scroll(), 1);
}
