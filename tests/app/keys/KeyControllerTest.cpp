#include "DefaultsStore.h"
#include "KeyController.h"
#include "TestStore.h"

#include <QJsonArray>
#include <gtest/gtest.h>

using namespace wex;
using wex::test::TestDir;

namespace {

const QString kKeyBind = QStringLiteral("Key Bind");

class KeyControllerTest : public ::testing::Test {
protected:
    DefaultsStore store() { return DefaultsStore(dir.pathString() + "/defaults.json"); }
    TestDir dir;
    DefaultsStore defaults = store();
    KeyController keys{defaults};
};

std::optional<int> Bound(const KeyController &k, const char *characters, uint32_t flags = 0)
{
    return k.serialForKey(MethodKey(QString::fromLatin1(characters), flags));
}

} // namespace

TEST_F(KeyControllerTest, DefaultBindingsMatchExactly)
{
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
    keys.awakeFromNib();
    EXPECT_FALSE(Bound(keys, "x"));
    EXPECT_EQ(Bound(keys, "a"), 6);
    EXPECT_EQ(Bound(keys, "z", mod::Alternate), 1);
    EXPECT_EQ(Bound(keys, "c", mod::Control), 6);
    EXPECT_FALSE(Bound(keys, " ")) << "saved bindings replace the defaults";

    keys.terminate();
    // Grouped by command in serial order; a command's keys keep their order.
    const QJsonArray expected = {
        QJsonArray{"z", 524288, 1, "Previous Page"},
        QJsonArray{"a", 0, 6, "Next Page Mail"},
        QJsonArray{"c", 262144, 6, "Next Page Mail"},
    };
    EXPECT_EQ(*defaults.arrayForKey(kKeyBind), expected);
    ASSERT_TRUE(defaults.save());
    DefaultsStore reread = store();
    KeyController again(reread);
    again.awakeFromNib();
    EXPECT_EQ(again.keyArray().size(), 3);
    EXPECT_EQ(Bound(again, "z", mod::Alternate), 1);
}

TEST_F(KeyControllerTest, AnEmptySavedArrayMeansNoBindings)
{
    defaults.setArray(kKeyBind, QJsonArray());
    keys.awakeFromNib();
    EXPECT_TRUE(keys.keyArray().isEmpty());
    EXPECT_FALSE(keys.handleKey(MethodKey(" ", 0)));
    keys.terminate();
    EXPECT_EQ(defaults.arrayForKey(kKeyBind), QJsonArray());
}

TEST_F(KeyControllerTest, RebindingMovesTheKeyAndKeepsTheOtherKeys)
{
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
