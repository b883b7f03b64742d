#include "KeyEventConverter.h"

#include <QKeyEvent>

// Characters follow the key, not event->text(): Control and Alt change or
// empty the text a key types, yet a binding must see "n" for Ctrl-n and
// Alt-n alike. Letter keys give their letter, upper case only with Shift; other
// printable keys give the character of their key code, which the platform
// already reports with Shift applied. Special keys use the private-use
// characters the stored bindings were written with.

namespace wex {

namespace {

struct SpecialKey {
    int key;
    char16_t character;
};

constexpr SpecialKey kSpecialKeys[] = {
    {Qt::Key_Space, u' '},        {Qt::Key_Return, u'\r'},     {Qt::Key_Enter, u'\r'},
    {Qt::Key_Tab, u'\t'},         {Qt::Key_Backtab, u'\t'},    {Qt::Key_Escape, u'\x1b'},
    {Qt::Key_Backspace, u'\x7f'}, {Qt::Key_Up, 0xF700},        {Qt::Key_Down, 0xF701},
    {Qt::Key_Left, 0xF702},       {Qt::Key_Right, 0xF703},     {Qt::Key_Insert, 0xF727},
    {Qt::Key_Delete, 0xF728},     {Qt::Key_Home, 0xF729},      {Qt::Key_End, 0xF72B},
    {Qt::Key_PageUp, 0xF72C},     {Qt::Key_PageDown, 0xF72D},  {Qt::Key_Print, 0xF72E},
    {Qt::Key_ScrollLock, 0xF72F}, {Qt::Key_Pause, 0xF730},     {Qt::Key_SysReq, 0xF731},
    {Qt::Key_Menu, 0xF735},       {Qt::Key_Clear, 0xF739},     {Qt::Key_Help, 0xF746},
};

bool IsModifierOnly(int key)
{
    switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Meta:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
    case Qt::Key_Mode_switch:
        return true;
    default:
        return false;
    }
}

std::optional<QString> CharactersOfKey(const QKeyEvent &event, bool shift)
{
    const int key = event.key();
    for (const SpecialKey &special : kSpecialKeys)
        if (special.key == key)
            return QString(QChar(special.character));
    if (key >= Qt::Key_F1 && key <= Qt::Key_F35)
        return QString(QChar(char16_t(0xF704 + (key - Qt::Key_F1))));
    if (key > 0x20 && key < 0x01000000 && !IsModifierOnly(key)) {
        // Key codes below 0x01000000 are Unicode code points (letters in upper case).
        const QString text = QString::fromUcs4(reinterpret_cast<const char32_t *>(&key), 1);
        if (text.size() == 1 && text.at(0).isLetter())
            return shift ? text.toUpper() : text.toLower();
        return text;
    }
    if (key == 0 || key == Qt::Key_unknown) {
        // A key the platform cannot name (some dead keys): whatever it typed.
        if (!event.text().isEmpty() && !event.text().at(0).isNull())
            return event.text();
    }
    return std::nullopt;
}

} // namespace

std::optional<MethodKey> MethodKeyFromEvent(const QKeyEvent &event)
{
    if (IsModifierOnly(event.key()))
        return std::nullopt;
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    const std::optional<QString> characters = CharactersOfKey(event, modifiers & Qt::ShiftModifier);
    if (!characters)
        return std::nullopt;

    uint32_t flags = 0;
    if (modifiers & Qt::ShiftModifier)
        flags |= mod::Shift;
    if (modifiers & Qt::ControlModifier)
        flags |= mod::Control;
    if (modifiers & Qt::AltModifier)
        flags |= mod::Alternate;
    if (modifiers & Qt::MetaModifier)
        flags |= mod::Command;
    if (modifiers & Qt::KeypadModifier)
        flags |= mod::NumericPad;
    const QChar first = characters->isEmpty() ? QChar() : characters->at(0);
    if (first.unicode() >= 0xF700 && first.unicode() <= 0xF8FF)
        flags |= mod::Function;
    return MethodKey(*characters, flags);
}

} // namespace wex
