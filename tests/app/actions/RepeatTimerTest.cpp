#include "RepeatTimer.h"
#include "Wait.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>
#include <climits>

namespace wex {
namespace {

using namespace std::chrono_literals;

TEST(RepeatTimer, WaitsInStepsAndFiresOncePerPeriod)
{
    RepeatTimer timer;
    timer.setMaxStep(5ms);
    QList<qint64> firedAt;
    QElapsedTimer clock;
    QObject::connect(&timer, &RepeatTimer::timeout, [&] { firedAt.append(clock.elapsed()); });
    clock.start();
    timer.start(100ms);
    ASSERT_TRUE(test::WaitUntil([&] { return firedAt.size() == 2; }));
    // The 5 ms steps are not firings: a whole period lies before each one.
    EXPECT_GE(firedAt[0], 100);
    EXPECT_GE(firedAt[1], 200);
    timer.stop();
    EXPECT_EQ(timer.remainingTime(), 0ms);
}

QStringList warnings;
void Collect(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type != QtDebugMsg && type != QtInfoMsg)
        warnings.append(message);
}

TEST(RepeatTimer, HoldsPeriodsBeyondWhatAQTimerCan)
{
    // A QTimer handed such a period silently does not run; Qt only warns.
    warnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(Collect);
    // 30 days is a negative int of milliseconds; the largest interval (about
    // 68 years) far beyond.
    for (const std::chrono::milliseconds period : {std::chrono::milliseconds(std::chrono::hours(24 * 30)),
                                                  std::chrono::milliseconds(std::chrono::minutes(INT_MAX / 60))}) {
        RepeatTimer timer;
        timer.start(period);
        EXPECT_TRUE(timer.isActive()) << period.count();
        EXPECT_EQ(timer.period(), period);
        EXPECT_GT(timer.remainingTime().count(), qint64(INT_MAX));
    }
    qInstallMessageHandler(previous);
    EXPECT_EQ(warnings, QStringList());
}

} // namespace
} // namespace wex
