#include "KeyRouter.h"

#include "KeyController.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

// Why an application filter: the bindings must work whichever of the three
// windows is active and whichever widget in it has the focus (the folder
// browser, the mail table or the text), before any of them acts on the key;
// only the movement keys of the browser and the table go to them first, and
// reach the bindings when they pass them on.
//
// A binding wins over a menu's default key: Qt offers a key to the menus'
// shortcuts before it is pressed anywhere, unless the shortcut override is
// accepted, which a bound key's is. Keys typed into a text field (the quick
// filter) are the field's: a binding on a letter must not eat what is typed.
//
// Once only: a bound key runs its command at the first offer and is consumed,
// so neither the widgets nor the text view's own offer ever see it. An unbound
// key may be offered again (Qt hands an ignored key on to the parent widgets,
// and the text view offers what reaches it), but looking up an unbound key
// changes nothing, so nothing runs twice.

namespace wex {

KeyRouter::KeyRouter(KeyController &keys, QObject *parent) : QObject(parent), keys_(keys) {}

void KeyRouter::install(const QList<QWidget *> &windows, const QList<QWidget *> &movementKeyOwners)
{
    windows_.clear();
    for (QWidget *window : windows)
        if (window)
            windows_.append(window);
    movementKeyOwners_.clear();
    for (QWidget *owner : movementKeyOwners)
        if (owner)
            movementKeyOwners_.append(owner);
    qApp->removeEventFilter(this);
    qApp->installEventFilter(this);
}

bool KeyRouter::belongsToWindows(QObject *watched) const
{
    if (!watched->isWidgetType())
        return false;
    const QWidget *window = static_cast<QWidget *>(watched)->window();
    for (const QPointer<QWidget> &w : windows_)
        if (w && w == window)
            return true;
    return false;
}

bool KeyRouter::ownsMovementKey(QObject *watched, const QKeyEvent &key) const
{
    switch (key.key()) {
    case Qt::Key_Up: case Qt::Key_Down: case Qt::Key_Left: case Qt::Key_Right:
    case Qt::Key_PageUp: case Qt::Key_PageDown: case Qt::Key_Home: case Qt::Key_End:
    case Qt::Key_Tab: case Qt::Key_Backtab:
        break;
    default:
        return false;
    }
    // Item views move with plain, Shift and Control keys; Alt and Meta are
    // left to the bindings.
    if (key.modifiers() & (Qt::AltModifier | Qt::MetaModifier))
        return false;
    const auto *widget = static_cast<const QWidget *>(watched);
    for (const QPointer<QWidget> &owner : movementKeyOwners_)
        if (owner && (owner == widget || owner->isAncestorOf(widget)))
            return true;
    return false;
}

bool KeyRouter::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if ((type != QEvent::KeyPress && type != QEvent::ShortcutOverride) || !belongsToWindows(watched)
        || qobject_cast<QLineEdit *>(watched))
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    if (ownsMovementKey(watched, *key))
        return false;
    if (type == QEvent::ShortcutOverride) {
        if (keys_.isBound(key))
            key->accept(); // delivered as a key press, where the binding runs
        return false;
    }
    if (keys_.handleKeyDown(key)) {
        key->accept();
        return true;
    }
    return false;
}

} // namespace wex
