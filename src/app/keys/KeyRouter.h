#pragma once
// App-wide key filter: the key controller sees key presses of the program's
// windows first, whichever window is active. Bound keys are consumed; unbound
// keys go on to the focused widget. A key is offered at most once.
//
// Except movement keys at their owners: the folder browser and the mail table
// keep their arrows, Page Up/Down, Home/End and Tab/Backtab (without Alt or
// Meta) when they have the focus, so a binding on such a key never stops them
// moving. What such a widget does not use travels on to its parents, and
// there the key controller is offered it like any other key.
#include <QList>
#include <QObject>
#include <QPointer>
#include <QWidget>

class QKeyEvent;

namespace wex {

class KeyController;

class KeyRouter : public QObject {
    Q_OBJECT
public:
    explicit KeyRouter(KeyController &keys, QObject *parent = nullptr);
    // Installs the filter on qApp; only key presses aimed at these windows (or
    // widgets inside them) are looked at. movementKeyOwners (widgets inside
    // those windows) keep their movement keys while they or a widget inside
    // them has the focus. Neither list is owned; vanished widgets are skipped.
    void install(const QList<QWidget *> &windows, const QList<QWidget *> &movementKeyOwners = {});

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool belongsToWindows(QObject *watched) const;
    bool ownsMovementKey(QObject *watched, const QKeyEvent &key) const;

    KeyController &keys_;
    QList<QPointer<QWidget>> windows_;
    QList<QPointer<QWidget>> movementKeyOwners_;
};

} // namespace wex
