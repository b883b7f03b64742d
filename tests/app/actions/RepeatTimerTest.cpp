#include "RepeatTimer.h"

#include <QSignalSpy>
#include <QStringList>
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
