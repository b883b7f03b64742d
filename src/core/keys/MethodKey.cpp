// A key press: its characters and the whole modifier word.
#include "MethodKey.h"

#include <cmath>

namespace wex {
namespace {

QString Label(uint32_t flags, uint32_t bit, const char *label)
{
    return (flags & bit) ? QString::fromLatin1(label) : QString();
}

} // namespace

std::optional<MethodKey> MethodKey::fromArray(const QJsonArray &array)
{
    if (array.size() < 2 || !array.at(0).isString() || !array.at(1).isDouble())
        return std::nullopt;
    // A modifier word is a whole number of 32 bits; anything else is damage.
    const double flags = array.at(1).toDouble();
    if (!std::isfinite(flags) || flags < 0 || flags > 4294967295.0 || std::trunc(flags) != flags)
        return std::nullopt;
    return MethodKey(array.at(0).toString(), uint32_t(flags));
}

QJsonArray MethodKey::toArray() const
{
    return QJsonArray{characters_, qint64(modifierFlags_)};
}

QString MethodKey::shiftString() const { return Label(modifierFlags_, mod::Shift, "Shift+"); }
QString MethodKey::capsLockString() const { return Label(modifierFlags_, mod::CapsLock, "Caps+"); }
QString MethodKey::optionString() const { return Label(modifierFlags_, mod::Alternate, "Opt+"); }
QString MethodKey::controlString() const { return Label(modifierFlags_, mod::Control, "Ctrl+"); }
QString MethodKey::functionString() const { return Label(modifierFlags_, mod::Function, "F+"); }

QString MethodKey::keyString() const
{
    static const char *const names[16] = {
        "UpArrow", "DownArrow", "LeftArrow", "RightArrow", "F1", "F2", "F3", "F4",
        "F5", "F6", "F7", "F8", "F9", "F10", "F11", "F12",
    };
    if (characters_ == QLatin1String(" "))
        return QStringLiteral("Space");
    if (characters_ == QLatin1String("\r"))
        return QStringLiteral("Return");
    if (characters_.isEmpty())
        return QString();
    const char16_t first = characters_.at(0).unicode();
    if (first >= 0xF700 && first <= 0xF70F)
        return QString::fromLatin1(names[first - 0xF700]);
    return characters_;
}

QString MethodKey::valueForIdentifier(const QString &identifier) const
{
    using Getter = QString (MethodKey::*)() const;
    static const struct { const char *name; Getter get; } columns[] = {
        {"shiftString", &MethodKey::shiftString},     {"capsLockString", &MethodKey::capsLockString},
        {"optionString", &MethodKey::optionString},   {"controlString", &MethodKey::controlString},
        {"functionString", &MethodKey::functionString}, {"keyString", &MethodKey::keyString},
    };
    for (const auto &column : columns) {
        if (identifier == QLatin1String(column.name))
            return (this->*column.get)();
    }
    return QString();
}

} // namespace wex
