#include "ProbeRunner.h"
#include "TestStore.h"
#include "Wait.h"

#include <QElapsedTimer>
#include <QThread>
#include <gtest/gtest.h>
#include <memory>
#include <signal.h>

namespace wex::test {
namespace {

TEST(ProbeRunner, StatusesComeBackOnTheOwnersThreadOnlyWhileTheContextLives)
{
    TestDir dir;
    const QString done = dir.pathString() + QStringLiteral("/done");
    ProbeRunner runner;
    QObject context;
    auto gone = std::make_unique<QObject>();
    QList<int> statuses;
    QList<QThread *> threads;
    bool late = false;
    runner.run(QStringLiteral(": > \"$1\""), {done}, gone.get(), [&](int) { late = true; });
    // Ends only after the first one has.
    runner.run(QStringLiteral("while [ ! -e \"$1\" ]; do :; done; exit \"$2\""), {done, QStringLiteral("3")}, &context,
               [&](int status) {
                   statuses.append(status);
                   threads.append(QThread::currentThread());
               });
    gone.reset();
    EXPECT_TRUE(statuses.isEmpty()) << "never inside run()";
    EXPECT_TRUE(WaitUntil([&] { return !statuses.isEmpty(); }));
    EXPECT_EQ(statuses, QList<int>({3}));
    EXPECT_EQ(threads, QList<QThread *>({QThread::currentThread()}));
    EXPECT_FALSE(late);
}

TEST(ProbeRunner, GoingAwayKillsWhatStillRunsAndReportsNothing)
{
    TestDir dir;
    const QByteArray pidFile = dir.at("pid");
    QObject context;
    bool reported = false;
    QElapsedTimer clock;
    {
        ProbeRunner runner;
        runner.run(QStringLiteral("echo $$ > \"$1\"; exec sleep 30"), {QFile::decodeName(pidFile)}, &context,
                   [&](int) { reported = true; });
        ASSERT_TRUE(WaitUntil([&] { return ReadAll(pidFile).endsWith('\n'); }));
        clock.start();
    }
    EXPECT_LT(clock.elapsed(), 10000) << "the child was killed, not waited for";
    EXPECT_NE(::kill(ReadAll(pidFile).trimmed().toInt(), 0), 0) << "the child is gone";
    QCoreApplication::processEvents();
    EXPECT_FALSE(reported);
}

} // namespace
} // namespace wex::test
