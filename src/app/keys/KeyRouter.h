#pragma once
// App-wide key filter: the key controller sees key presses of the program's
// windows first, whichever window is active. Bound keys are consumed; unbound
// keys go on to the focused widget. A key is offered at most once.
#include <QList>
#include <QObject>
#include <QPointer>
#include <QWidget>

namespace wex {

class KeyController;

class KeyRouter : public QObject {
    Q_OBJECT
public:
    KeyRouter(KeyController *keys, QObject *parent = nullptr);
    // Installs the filter on qApp; only key presses aimed at these windows (or
    // widgets inside them) are looked at.
    void install(const QList<QWidget *> &windows);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool belongsToWindows(QObject *watched) const;

    QPointer<KeyController> keys_;
    QList<QPointer<QWidget>> windows_;
};

} // namespace wex
