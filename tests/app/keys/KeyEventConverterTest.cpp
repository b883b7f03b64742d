// Key presses turned into the keys stored bindings name.
#include "KeyEventConverter.h"

#include <QKeyEvent>
#include <gtest/gtest.h>

namespace wex {

TEST(KeyEventConverter, ConvertsKeysAsStoredBindingsExpect)
{
    constexpr uint32_t S = mod::Shift, C = mod::Control, A = mod::Alternate, K = mod::NumericPad, F = mod::Function;
    const struct {
        int key;
        Qt::KeyboardModifiers modifiers;
        QString text, characters; // text: what the platform says the key typed
        uint32_t flags;
    } cases[] = {
        {Qt::Key_N, Qt::ShiftModifier, "N", "N", S}, // letters: from the key, Shift applied, Control and Alt not
        {Qt::Key_N, Qt::ControlModifier, "\x0e", "n", C},
        {Qt::Key_N, Qt::AltModifier, "", "n", A},
        {Qt::Key_Adiaeresis, Qt::ShiftModifier, QString::fromUtf8("Ä"), QString::fromUtf8("Ä"), S},
        {Qt::Key_Enter, Qt::KeypadModifier, "\r", "\r", K}, // named keys
        {Qt::Key_Backtab, Qt::ShiftModifier, "", "\t", S},
        {Qt::Key_Backspace, Qt::NoModifier, "\b", "\x7f", 0},
        {Qt::Key_Up, Qt::ShiftModifier | Qt::ControlModifier, "", QString(QChar(0xF700)), S | C | F}, // function keys
        {Qt::Key_Delete, Qt::NoModifier, "\x7f", QString(QChar(0xF728)), F},
        {0, Qt::NoModifier, QStringLiteral("´"), QStringLiteral("´"), 0}, // unnamed: what it typed
    };
    for (const auto &c : cases) {
        const std::optional<MethodKey> key = MethodKeyFromEvent(QKeyEvent(QEvent::KeyPress, c.key, c.modifiers, c.text));
        ASSERT_TRUE(key) << std::hex << c.key;
        EXPECT_EQ(key->characters(), c.characters) << std::hex << c.key << " " << c.modifiers.toInt();
        EXPECT_EQ(key->modifierFlags(), c.flags) << std::hex << c.key << " " << c.modifiers.toInt();
    }
    for (int key : {int(Qt::Key_Shift), int(Qt::Key_Control), int(Qt::Key_Alt), int(Qt::Key_CapsLock), 0})
        EXPECT_FALSE(MethodKeyFromEvent(QKeyEvent(QEvent::KeyPress, key, Qt::ShiftModifier))) << "typed nothing";
}

} // namespace wex
