#include "ShellCommand.h"
#include "TestStore.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <gtest/gtest.h>
#include <optional>

using namespace wex;
using wex::test::ScopedEnv;
using wex::test::Exists;
using wex::test::ReadAll;
using wex::test::TestDir;

namespace {

// Runs the text and spins the event loop until it reports (or 10 s pass).
std::optional<int> RunAndWait(const QString &text, const QStringList &args = {})
{
    std::optional<int> status;
    QEventLoop loop;
    ShellCommand::run(text, args, [&](int s) {
        status = s;
        loop.quit();
    });
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    if (!status)
        loop.exec();
    return status;
}

} // namespace

TEST(ShellCommand, ReportsTheExitStatus)
{
    const struct {
        const char *text;
        int status;
    } cases[] = {{"true", 0}, {"false", 1}, {"exit 7", 7}, {"ps xw | grep no-such-process-xyz | grep -v grep > /dev/null", 1}};
    for (const auto &c : cases)
        EXPECT_EQ(RunAndWait(QString::fromLatin1(c.text)), std::optional<int>(c.status)) << c.text;
}

TEST(ShellCommand, ArgumentsAreNeverParsedByTheShell)
{
    TestDir dir;
    const QString out = dir.pathString() + QStringLiteral("/out");
    const QString hostile = QStringLiteral("a b; touch %1/pwned $(touch %1/pwned2) `touch %1/pwned3` \"'")
                                .arg(dir.pathString());
    ASSERT_EQ(RunAndWait(QStringLiteral("printf '%s' \"$1\" > \"$2\""), {hostile, out}), std::optional<int>(0));
    EXPECT_EQ(ReadAll(out.toUtf8()), hostile.toUtf8());
    EXPECT_FALSE(Exists(dir.at("pwned")));
    EXPECT_FALSE(Exists(dir.at("pwned2")));
    EXPECT_FALSE(Exists(dir.at("pwned3")));
}

TEST(ShellCommand, NeverBlocksTheEventLoop)
{
    QElapsedTimer clock;
    clock.start();
    bool ticked = false;
    std::optional<int> status;
    QEventLoop loop;
    ShellCommand::run(QStringLiteral("sleep 1"), {}, [&](int s) {
        status = s;
        loop.quit();
    });
    EXPECT_LT(clock.elapsed(), 500) << "run() waited for the child";
    QTimer::singleShot(50, [&] { ticked = !status.has_value(); });
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_TRUE(ticked) << "the event loop did not run while the child ran";
    EXPECT_EQ(status, std::optional<int>(0));
}

TEST(ShellCommand, BackgroundChildDoesNotDelayTheReport)
{
    TestDir dir;
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(RunAndWait(QStringLiteral("(sleep 2; touch \"$1\")&"), {dir.pathString() + "/late"}),
              std::optional<int>(0));
    EXPECT_LT(clock.elapsed(), 1500);
    EXPECT_FALSE(Exists(dir.at("late")));
}

TEST(ShellCommand, SuiteFolderComesFromTheEnvironment)
{
    ScopedEnv guard("WEX_SUITE");
    EXPECT_EQ(SuiteFolder(), QStringLiteral("/Applications/WEX_Suite"));
    qputenv("WEX_SUITE", "");
    EXPECT_EQ(SuiteFolder(), QStringLiteral("/Applications/WEX_Suite"));
    qputenv("WEX_SUITE", "/tmp/my suite");
    EXPECT_EQ(SuiteFolder(), QStringLiteral("/tmp/my suite"));
}
