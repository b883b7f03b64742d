#pragma once
// A key press: its characters and the whole modifier word.
//
// The stored form (characters, flags) is the key of the binding table, so two
// presses run the same command only when both parts are exactly equal.
#include <QJsonArray>
#include <QString>
#include <QHash>
#include <cstdint>
#include <optional>

namespace wex {

// Modifier bits of the modifier word.
namespace mod {
inline constexpr uint32_t CapsLock = 1u << 16, Shift = 1u << 17, Control = 1u << 18,
                          Alternate = 1u << 19, Command = 1u << 20, NumericPad = 1u << 21,
                          Function = 1u << 23;
}

struct StoredKey {
    QString characters;
    uint32_t modifierFlags = 0;
    bool operator==(const StoredKey &o) const = default;
};
inline size_t qHash(const StoredKey &k, size_t seed = 0) { return qHashMulti(seed, k.characters, k.modifierFlags); }

class MethodKey {
public:
    MethodKey() = default;
    MethodKey(const QString &characters, uint32_t modifierFlags)
        : characters_(characters), modifierFlags_(modifierFlags) {}
    explicit MethodKey(const StoredKey &stored) : MethodKey(stored.characters, stored.modifierFlags) {}
    // From the first two elements of a stored entry ([characters, flags, ...]);
    // nullopt when they are missing or of the wrong type.
    static std::optional<MethodKey> fromArray(const QJsonArray &array);

    const QString &characters() const { return characters_; }
    uint32_t modifierFlags() const { return modifierFlags_; }

    StoredKey makeKey() const { return {characters_, modifierFlags_}; }
    QJsonArray toArray() const; // [characters, flags]

    QString shiftString() const;    // "Shift+" or ""
    QString capsLockString() const; // "Caps+" or ""
    QString optionString() const;   // "Opt+" or ""
    QString controlString() const;  // "Ctrl+" or ""
    QString functionString() const; // "F+" or ""
    QString keyString() const;      // "Space", "Return", "UpArrow", "F1".."F12", else the characters
    // The display value under a key-table column identifier ("shiftString", ...).
    QString valueForIdentifier(const QString &identifier) const;

private:
    QString characters_;
    uint32_t modifierFlags_ = 0;
};

} // namespace wex
