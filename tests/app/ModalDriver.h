#pragma once
// Acts on modal windows from inside their run: WhenModal<T>(action) waits
// (polling the event loop) until a T is the active modal window, then runs
// the action on it once. A window that never comes fails the test, and
// whatever modal window then runs is rejected, so a test never hangs.
#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace wex::test {

template <class T>
void WhenModal(std::function<void(T *)> action, int timeoutMs = 5000)
{
    auto *timer = new QTimer;
    timer->setInterval(5);
    const QDeadlineTimer deadline(timeoutMs);
    QObject::connect(timer, &QTimer::timeout, [timer, deadline, action] {
        QWidget *modal = QApplication::activeModalWidget();
        T *window = qobject_cast<T *>(modal);
        if (window && window->isVisible()) {
            timer->stop();
            timer->deleteLater();
            action(window);
            return;
        }
        if (deadline.hasExpired()) {
            timer->stop();
            timer->deleteLater();
            ADD_FAILURE() << "no modal " << T::staticMetaObject.className() << " came";
            if (auto *dialog = qobject_cast<QDialog *>(modal))
                dialog->reject();
        }
    });
    timer->start();
}

} // namespace wex::test
