#include "KeyController.h"

#include "DefaultsStore.h"
#include "KeyEventConverter.h"
#include "PathUtils.h"

#include <QJsonValue>
#include <QKeyEvent>
#include <algorithm>
#include <cmath>

// The registry keeps two views of one set of bindings: keyArray_ (rows of the
// key table, stable-sorted by serial, so bindings of one command keep the
// order they were made in) and lookup_ (exact key -> serial), rebuilt from
// keyArray_ whenever it changes. Commands are found by serial, so the order of
// the command table is part of the stored "Key Bind" format.

namespace wex {

namespace {

const QString kKeyBind = QStringLiteral("Key Bind");

constexpr const char *kCommandNames[KeyController::CommandCount] = {
    QT_TRANSLATE_NOOP("WEX", "Next Page"),      QT_TRANSLATE_NOOP("WEX", "Previous Page"),
    QT_TRANSLATE_NOOP("WEX", "Next Line"),      QT_TRANSLATE_NOOP("WEX", "Previous Line"),
    QT_TRANSLATE_NOOP("WEX", "Next Mail"),      QT_TRANSLATE_NOOP("WEX", "Previous Mail"),
    QT_TRANSLATE_NOOP("WEX", "Next Page Mail"), QT_TRANSLATE_NOOP("WEX", "Previous Page Mail"),
    QT_TRANSLATE_NOOP("WEX", "Unread Mail"),
};

// A whole, non-negative number that fits the type, or nullopt.
std::optional<qint64> WholeNumber(const QJsonValue &value, qint64 max)
{
    if (!value.isDouble())
        return std::nullopt;
    const double d = value.toDouble();
    if (!(d >= 0 && d <= double(max)) || std::floor(d) != d)
        return std::nullopt;
    return qint64(d);
}

// A usable saved entry: [characters, flags, serial, ...]; nullopt otherwise.
std::optional<KeyBinding> BindingFromEntry(const QJsonValue &entry)
{
    if (!entry.isArray())
        return std::nullopt;
    const QJsonArray array = entry.toArray();
    if (array.size() < 3)
        return std::nullopt;
    const std::optional<MethodKey> key = MethodKey::fromArray(array);
    const std::optional<qint64> serial = WholeNumber(array.at(2), KeyController::CommandCount - 1);
    if (!key || !serial)
        return std::nullopt;
    return KeyBinding{*key, int(*serial)};
}

} // namespace

KeyController::KeyController(DefaultsStore &defaults, MailTitles &titles, BrowserTextView &view, QObject *parent)
    : QObject(parent), defaults_(defaults), titles_(titles), view_(view)
{
    for (int serial = 0; serial < CommandCount; ++serial)
        methods_.append(KeyMethod(serial, Localize(kCommandNames[serial])));
}

QList<KeyBinding> KeyController::defaultBindings()
{
    const uint32_t option = mod::Alternate;
    return {
        {MethodKey(QStringLiteral(" "), 0), NextPage}, {MethodKey(QStringLiteral("b"), 0), PrevPage},
        {MethodKey(QStringLiteral("n"), 0), NextLine}, {MethodKey(QStringLiteral("p"), 0), PrevLine},
        {MethodKey(QStringLiteral("n"), option), NextMail}, {MethodKey(QStringLiteral("p"), option), PrevMail},
    };
}

void KeyController::restoreBindings()
{
    const std::optional<QJsonArray> saved = defaults_.arrayForKey(kKeyBind);
    if (!saved) {
        setBindings(defaultBindings());
        return;
    }
    QList<KeyBinding> bindings;
    for (const QJsonValue &entry : *saved)
        if (std::optional<KeyBinding> binding = BindingFromEntry(entry))
            bindings.append(*binding);
    setBindings(bindings);
}

void KeyController::saveBindings()
{
    QJsonArray entries;
    for (const KeyBinding &binding : keyArray_) {
        QJsonArray entry = binding.key.toArray();
        entry.append(binding.serial);
        entry.append(methods_.at(binding.serial).name());
        entries.append(entry);
    }
    defaults_.setArray(kKeyBind, entries);
}

void KeyController::setBindings(const QList<KeyBinding> &bindings)
{
    keyArray_.clear();
    for (const KeyBinding &binding : bindings)
        addBinding(binding.key, binding.serial);
    rebuildLookup(); // also when bindings is empty: no key may run a command then
}

bool KeyController::addBinding(const MethodKey &key, int serial)
{
    if (serial < 0 || serial >= CommandCount)
        return false;
    // A key runs one command: a new binding of a bound key replaces the old one.
    const StoredKey stored = key.makeKey();
    keyArray_.removeIf([&](const KeyBinding &b) { return b.key.makeKey() == stored; });
    keyArray_.append(KeyBinding{key, serial});
    std::stable_sort(keyArray_.begin(), keyArray_.end(),
                     [](const KeyBinding &a, const KeyBinding &b) { return a.serial < b.serial; });
    rebuildLookup();
    return true;
}

bool KeyController::removeBindingAt(int row)
{
    if (row < 0 || row >= keyArray_.size())
        return false;
    keyArray_.removeAt(row);
    rebuildLookup();
    return true;
}

void KeyController::rebuildLookup()
{
    lookup_.clear();
    for (const KeyBinding &binding : keyArray_)
        lookup_.insert(binding.key.makeKey(), binding.serial);
}

std::optional<int> KeyController::serialForKey(const MethodKey &key) const
{
    const auto it = lookup_.constFind(key.makeKey());
    if (it == lookup_.constEnd())
        return std::nullopt;
    return *it;
}

bool KeyController::handleKeyDown(const QKeyEvent *event)
{
    if (!event)
        return false;
    const std::optional<MethodKey> key = MethodKeyFromEvent(*event);
    return key && handleKey(*key);
}

bool KeyController::isBound(const QKeyEvent *event) const
{
    const std::optional<MethodKey> key = event ? MethodKeyFromEvent(*event) : std::nullopt;
    return key && serialForKey(*key);
}

bool KeyController::handleKey(const MethodKey &key)
{
    const std::optional<int> serial = serialForKey(key);
    return serial && performCommand(*serial);
}

bool KeyController::performCommand(int serial)
{
    // A switch, not a table of member pointers: the serial is the stored
    // format's command number, and each case names its command.
    switch (serial) {
    case NextPage: nextPage(); return true;
    case PrevPage: prevPage(); return true;
    case NextLine: nextLine(); return true;
    case PrevLine: prevLine(); return true;
    case NextMail: nextMail(); return true;
    case PrevMail: prevMail(); return true;
    case NextPageMail: nextPageMail(); return true;
    case PrevPageMail: prevPageMail(); return true;
    case UnreadMail: unreadMail(); return true;
    default: return false;
    }
}

} // namespace wex
