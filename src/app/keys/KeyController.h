#pragma once
// The key bindings and the navigation commands they run.
//
// Holds the command table (serials 0..8) and the binding registry: keyArray
// (bindings sorted by serial; a key table's rows) and a lookup by exact key
// (characters and the whole modifier word). Bindings come from "Key Bind" in
// the defaults store (the six defaults when the key is absent) and are written
// back by saveBindings().
//
// The navigation commands page the mail text view and move the title list's
// selection; the view and the list must outlive the controller.
#include "KeyMethod.h"
#include "MethodKey.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <optional>

class QKeyEvent;

namespace wex {

class BrowserTextView;
class DefaultsStore;
class MailTitles;

// One binding: a key and the serial of the command it runs.
struct KeyBinding {
    MethodKey key;
    int serial = -1;
};

class KeyController : public QObject {
    Q_OBJECT
public:
    enum Command { NextPage, PrevPage, NextLine, PrevLine, NextMail, PrevMail, NextPageMail, PrevPageMail,
                   UnreadMail, CommandCount };

    KeyController(DefaultsStore &defaults, MailTitles &titles, BrowserTextView &view, QObject *parent = nullptr);

    // Loads the bindings from the store (the defaults when "Key Bind" is absent).
    void restoreBindings();
    // Writes the bindings to the store as [characters, flags, serial, name].
    void saveBindings();

    // Runs the command bound to the event's key; true when one ran.
    bool handleKeyDown(const QKeyEvent *event);
    // Whether the event's key is bound (nothing runs).
    bool isBound(const QKeyEvent *event) const;
    // Runs the command bound to a key; true when one ran.
    bool handleKey(const MethodKey &key);

    // The command table, in serial order.
    const QList<KeyMethod> &methodArray() const { return methods_; }
    // The bindings, sorted by serial (stable).
    const QList<KeyBinding> &keyArray() const { return keyArray_; }
    // The serial bound to a key, if any.
    std::optional<int> serialForKey(const MethodKey &key) const;
    // Adds or replaces the binding of a key; false for a serial outside the table.
    bool addBinding(const MethodKey &key, int serial);
    // Removes the binding at a row of keyArray(); false when out of range.
    bool removeBindingAt(int row);
    void setBindings(const QList<KeyBinding> &bindings);
    static QList<KeyBinding> defaultBindings();

    // Runs a command by serial; false for an unknown serial.
    bool performCommand(int serial);

    // The navigation commands.
    void nextPage();
    void prevPage();
    void nextLine();
    void prevLine();
    void nextMail();
    void prevMail();
    void nextPageMail();
    void prevPageMail();
    void unreadMail();

private:
    void rebuildLookup();

    DefaultsStore &defaults_;
    MailTitles &titles_;
    BrowserTextView &view_;
    QList<KeyMethod> methods_;
    QList<KeyBinding> keyArray_;
    QHash<StoredKey, int> lookup_;
};

} // namespace wex
