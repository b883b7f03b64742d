#include "KeyEventConverter.h"

#include <QKeyEvent>
#include <gtest/gtest.h>

using namespace wex;

namespace {

constexpr uint32_t S = mod::Shift, C = mod::Control, A = mod::Alternate, K = mod::NumericPad,
                   F = mod::Function;

QString Char(char16_t c) { return QString(QChar(c)); }

} // namespace

TEST(KeyEventConverter, ConvertsKeysAsStoredBindingsExpect)
{
    const struct {
        int key;
        Qt::KeyboardModifiers modifiers;
        QString text; // what the platform says the key typed
        QString characters;
        uint32_t flags;
    } cases[] = {
        // Letters: from the key, Shift applied, Control and Alt ignored.
        {Qt::Key_N, Qt::NoModifier, "n", "n", 0},
        {Qt::Key_N, Qt::ShiftModifier, "N", "N", S},
        {Qt::Key_N, Qt::ControlModifier, "\x0e", "n", C},
        {Qt::Key_N, Qt::AltModifier, "", "n", A},
        {Qt::Key_Adiaeresis, Qt::ShiftModifier, QString::fromUtf8("Ä"), QString::fromUtf8("Ä"), S},
        // Other printable keys: the key code already carries Shift.
        {Qt::Key_Exclam, Qt::ShiftModifier, "!", "!", S},
        {Qt::Key_1, Qt::KeypadModifier, "1", "1", K},
        // Named keys.
        {Qt::Key_Enter, Qt::KeypadModifier, "\r", "\r", K},
        {Qt::Key_Backtab, Qt::ShiftModifier, "", "\t", S},
        {Qt::Key_Backspace, Qt::NoModifier, "\b", "\x7f", 0},
        // Function keys: private-use characters and the function bit.
        {Qt::Key_Up, Qt::NoModifier, "", Char(0xF700), F},
        {Qt::Key_Up, Qt::ShiftModifier | Qt::ControlModifier, "", Char(0xF700), S | C | F},
        {Qt::Key_F1, Qt::NoModifier, "", Char(0xF704), F},
        {Qt::Key_Delete, Qt::NoModifier, "\x7f", Char(0xF728), F},
    };
    for (const auto &c : cases) {
        const QKeyEvent event(QEvent::KeyPress, c.key, c.modifiers, c.text);
        const std::optional<MethodKey> key = MethodKeyFromEvent(event);
        ASSERT_TRUE(key) << std::hex << c.key;
        EXPECT_EQ(key->characters(), c.characters) << std::hex << c.key << " " << c.modifiers.toInt();
        EXPECT_EQ(key->modifierFlags(), c.flags) << std::hex << c.key << " " << c.modifiers.toInt();
        EXPECT_EQ(key->modifierFlags() & 0xFFFF, 0u);
    }
}

TEST(KeyEventConverter, PressesThatTypeNothingGiveNoKey)
{
    for (int key : {int(Qt::Key_Shift), int(Qt::Key_Control), int(Qt::Key_Alt), int(Qt::Key_Meta),
                    int(Qt::Key_CapsLock), int(Qt::Key_unknown), 0}) {
        const QKeyEvent event(QEvent::KeyPress, key, Qt::ShiftModifier);
        EXPECT_FALSE(MethodKeyFromEvent(event)) << std::hex << key;
    }
    // A key the platform cannot name still counts with what it typed.
    const QKeyEvent dead(QEvent::KeyPress, 0, Qt::NoModifier, QStringLiteral("´"));
    ASSERT_TRUE(MethodKeyFromEvent(dead));
    EXPECT_EQ(MethodKeyFromEvent(dead)->characters(), QStringLiteral("´"));
}
