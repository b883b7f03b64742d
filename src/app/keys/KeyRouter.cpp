#include "KeyRouter.h"

#include "KeyController.h"

#include <QApplication>
#include <QKeyEvent>

// Why an application filter: the bindings must work whichever of the three
// windows is active and whichever widget in it has the focus (the folder
// browser, the mail table or the text), before any of them acts on the key.
//
// Once only: a bound key runs its command at the first offer and is consumed,
// so neither the widgets nor the text view's own offer ever see it. An unbound
// key may be offered again (Qt hands an ignored key on to the parent widgets,
// and the text view offers what reaches it), but looking up an unbound key
// changes nothing, so nothing runs twice.

namespace wex {

KeyRouter::KeyRouter(KeyController *keys, QObject *parent) : QObject(parent), keys_(keys) {}

void KeyRouter::install(const QList<QWidget *> &windows)
{
    windows_.clear();
    for (QWidget *window : windows)
        if (window)
            windows_.append(window);
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

bool KeyRouter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || !keys_ || !belongsToWindows(watched))
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    if (keys_->handleKeyDown(key)) {
        key->accept();
        return true;
    }
    return false;
}

} // namespace wex
