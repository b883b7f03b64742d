#pragma once
// A repeating timer for periods longer than a QTimer can hold (its interval
// is an int of milliseconds, about 24.8 days). It waits in steps of at most
// maxStep() and fires when a whole period is over. The first firing comes one
// period after start(); each next one a period after the one before, so a late
// step does not shift the phase (periods missed while the machine slept are
// dropped, not fired in a burst).
#include <QDeadlineTimer>
#include <QObject>
#include <QTimer>
#include <chrono>

namespace wex {

class RepeatTimer : public QObject {
    Q_OBJECT
public:
    explicit RepeatTimer(QObject *parent = nullptr);

    // (Re)starts with a period of at least one millisecond.
    void start(std::chrono::milliseconds period);
    void stop();
    bool isActive() const { return timer_.isActive(); }
    std::chrono::milliseconds period() const { return period_; }
    // Until the next firing; 0 when stopped.
    std::chrono::milliseconds remainingTime() const;

    // The longest single wait: one hour. A test seam.
    void setMaxStep(std::chrono::milliseconds step) { maxStep_ = std::max(step, std::chrono::milliseconds(1)); }
    std::chrono::milliseconds maxStep() const { return maxStep_; }

signals:
    void timeout();

private:
    void waitForDue();
    void stepEnded();

    QTimer timer_;
    QDeadlineTimer due_;
    std::chrono::milliseconds period_{0};
    std::chrono::milliseconds maxStep_ = std::chrono::hours(1);
};

} // namespace wex
