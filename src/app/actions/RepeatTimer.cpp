#include "RepeatTimer.h"

#include <algorithm>

namespace wex {

RepeatTimer::RepeatTimer(QObject *parent) : QObject(parent)
{
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &RepeatTimer::stepEnded);
}

void RepeatTimer::start(std::chrono::milliseconds period)
{
    period_ = std::max(period, std::chrono::milliseconds(1));
    due_ = QDeadlineTimer(period_, Qt::PreciseTimer);
    waitForDue();
}

void RepeatTimer::stop()
{
    timer_.stop();
}

std::chrono::milliseconds RepeatTimer::remainingTime() const
{
    return isActive() ? std::chrono::milliseconds(std::max<qint64>(due_.remainingTime(), 0))
                      : std::chrono::milliseconds(0);
}

void RepeatTimer::waitForDue()
{
    const qint64 left = std::max<qint64>(due_.remainingTime(), 0);
    timer_.start(std::chrono::milliseconds(std::min<qint64>(left, maxStep_.count())));
}

void RepeatTimer::stepEnded()
{
    if (!due_.hasExpired()) {
        waitForDue();
        return;
    }
    due_ += period_.count();
    if (due_.hasExpired())
        due_ = QDeadlineTimer(period_, Qt::PreciseTimer);
    // Re-armed before the signal: a receiver may stop() or start() it again.
    waitForDue();
    emit timeout();
}

} // namespace wex
