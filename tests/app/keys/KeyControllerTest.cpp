// The key bindings: stored bindings with damage skipped, and commands and rows out of range.
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
        "not an entry", QJsonArray{"a", 0, 8, "Unread Mail"},
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

// Rebinding and removing through the editor are the key editor test's, and a
// key's whole modifier word the key descriptor test's; commands and rows out
// of range change nothing.
TEST_F(KeyControllerTest, OutOfRangeCommandsAndRowsChangeNothing)
{
    const qsizetype before = f.keys.keyArray().size();
    EXPECT_FALSE(f.keys.performCommand(KeyController::CommandCount));
    EXPECT_FALSE(f.keys.addBinding(MethodKey("q", 0), KeyController::CommandCount));
    EXPECT_FALSE(f.keys.removeBindingAt(99));
    EXPECT_EQ(f.keys.keyArray().size(), before);
}

} // namespace wex::test
