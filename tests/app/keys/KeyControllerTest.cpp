// The key bindings: exact matching, stored bindings with damage skipped, rebinding.
#include "ReadingFixture.h"

#include <QJsonArray>

namespace wex::test {

const QString kKeyBind = QStringLiteral("Key Bind");

class KeyControllerTest : public ::testing::Test {
protected:
    std::optional<int> bound(const char *characters, uint32_t flags = 0) const
    {
        return f.keys.serialForKey(MethodKey(QString::fromLatin1(characters), flags));
    }
    ReadingFixture f; // the default bindings
};

TEST_F(KeyControllerTest, SavedBindingsRoundTripAndDamageIsSkipped)
{
    f.defaults.setArray(kKeyBind, QJsonArray{
        QJsonArray{"x", 0}, QJsonArray{"x", 0, 9}, QJsonArray{"x", 0, 2.5}, QJsonArray{1, 0, 2}, // damaged: skipped
        QJsonArray{"x", "0", 2}, QJsonArray{"x", -1, 2}, "not an entry", QJsonArray{"a", 0, 8, "Unread Mail"},
        QJsonArray{"z", 524288, 1},              // the name is optional
        QJsonArray{"a", 0, 6, "Next Page Mail"}, // the same key again: the later wins
        QJsonArray{"c", 262144, 6, "Whatever"},
    });
    f.keys.restoreBindings();
    EXPECT_FALSE(bound("x"));
    EXPECT_FALSE(bound(" ")) << "saved bindings replace the defaults";
    f.keys.saveBindings();
    // Grouped by command in serial order; a command's keys keep their order.
    const QJsonArray expected = {QJsonArray{"z", 524288, 1, "Previous Page"}, QJsonArray{"a", 0, 6, "Next Page Mail"},
                                 QJsonArray{"c", 262144, 6, "Next Page Mail"}};
    EXPECT_EQ(*f.defaults.arrayForKey(kKeyBind), expected);

    f.defaults.setArray(kKeyBind, QJsonArray()); // an empty array is no bindings, and saved as such
    f.keys.restoreBindings();
    EXPECT_TRUE(f.keys.keyArray().isEmpty());
    f.keys.saveBindings();
    EXPECT_EQ(f.defaults.arrayForKey(kKeyBind), QJsonArray());
}

TEST_F(KeyControllerTest, AKeyMatchesWithItsWholeModifierWordAndRebindingMovesIt)
{
    ASSERT_EQ(bound("n", mod::Alternate), KeyController::NextMail);
    for (const uint32_t flags : {uint32_t(mod::Shift), uint32_t(mod::Alternate | mod::CapsLock), 1u})
        EXPECT_FALSE(bound("n", flags)) << flags;
    EXPECT_FALSE(f.keys.performCommand(KeyController::CommandCount));
    const qsizetype before = f.keys.keyArray().size();
    ASSERT_TRUE(f.keys.addBinding(MethodKey("j", 0), KeyController::NextLine));
    ASSERT_TRUE(f.keys.addBinding(MethodKey("n", 0), KeyController::NextMail));
    EXPECT_EQ(bound("n"), KeyController::NextMail);
    EXPECT_EQ(bound("j"), KeyController::NextLine);
    EXPECT_EQ(f.keys.keyArray().size(), before + 1);
    EXPECT_FALSE(f.keys.addBinding(MethodKey("q", 0), KeyController::CommandCount));
    for (qsizetype i = 1; i < f.keys.keyArray().size(); ++i)
        EXPECT_LE(f.keys.keyArray()[i - 1].serial, f.keys.keyArray()[i].serial);
    const MethodKey first = f.keys.keyArray()[0].key;
    ASSERT_TRUE(f.keys.removeBindingAt(0));
    EXPECT_FALSE(f.keys.serialForKey(first));
    EXPECT_FALSE(f.keys.removeBindingAt(99));
}

} // namespace wex::test
