#include "ProbeRunner.h"

#include <QElapsedTimer>
#include <QTest>
#include <QThread>
#include <gtest/gtest.h>
#include <memory>

namespace wex {
namespace {

TEST(ProbeRunner, StatusesComeBackOnTheOwnersThreadOnlyWhileTheContextLives)
{
    ProbeRunner runner;
    QObject context;
    auto gone = std::make_unique<QObject>();
    QList<int> statuses;
    QList<QThread *> threads;
    bool late = false;
    runner.run(QStringLiteral("exit \"$1\""), {QStringLiteral("3")}, &context, [&](int status) {
        statuses.append(status);
        threads.append(QThread::currentThread());
    });
    runner.run(QStringLiteral("true"), {}, gone.get(), [&](int) { late = true; });
    gone.reset();
    EXPECT_TRUE(statuses.isEmpty()) << "never inside run()";
    EXPECT_TRUE(QTest::qWaitFor([&] { return !statuses.isEmpty(); }, 5000));
    QTest::qWait(100);
    EXPECT_EQ(statuses, QList<int>({3}));
    EXPECT_EQ(threads, QList<QThread *>({QThread::currentThread()}));
    EXPECT_FALSE(late);
}

TEST(ProbeRunner, GoingAwayKillsWhatStillRunsAndReportsNothing)
{
    QObject context;
    bool reported = false;
    QElapsedTimer clock;
    {
        ProbeRunner runner;
        runner.run(QStringLiteral("exec sleep 30"), {}, &context, [&](int) { reported = true; });
        QTest::qWait(200);
        clock.start();
    }
    EXPECT_LT(clock.elapsed(), 10000) << "the child was killed, not waited for";
    QTest::qWait(50);
    EXPECT_FALSE(reported);
}

} // namespace
} // namespace wex
