#include "RepeatTimer.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <climits>

namespace wex {
namespace {

using namespace std::chrono_literals;

TEST(RepeatTimer, WaitsInStepsAndFiresOncePerPeriod)
{
    RepeatTimer timer;
    timer.setMaxStep(5ms);
    QSignalSpy fired(&timer, &RepeatTimer::timeout);
    timer.start(200ms);
    QTest::qWait(60);
    EXPECT_EQ(fired.count(), 0) << "the steps are not firings";
    EXPECT_TRUE(fired.wait(2000));
    EXPECT_TRUE(fired.wait(2000)) << "and it repeats";
    timer.stop();
    EXPECT_FALSE(timer.isActive());
    EXPECT_EQ(timer.remainingTime(), 0ms);
}

TEST(RepeatTimer, HoldsPeriodsBeyondWhatAQTimerCan)
{
    RepeatTimer timer;
    const std::chrono::milliseconds period = std::chrono::hours(24 * 365 * 60);
    timer.start(period);
    EXPECT_TRUE(timer.isActive());
    EXPECT_EQ(timer.period(), period);
    EXPECT_GT(timer.remainingTime().count(), qint64(INT_MAX));
}

} // namespace
} // namespace wex
