#pragma once
// The tests' one way to wait: the event loop runs until a condition holds.
// Nothing waits a fixed time; a condition that never comes fails after ms.
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>
#include <functional>

namespace wex::test {

inline bool WaitUntil(const std::function<bool()> &done, int ms = 10000)
{
    const QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    return true;
}

} // namespace wex::test
