#include "ShellCommand.h"
#include "TestStore.h"

#include <QEventLoop>
#include <QTimer>
#include <gtest/gtest.h>
#include <optional>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace wex;
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

TEST(ShellCommand, ArgumentsAreNeverParsedByTheShell)
{
    TestDir dir;
    const QString out = dir.pathString() + QStringLiteral("/out");
    const QString hostile = QStringLiteral("a b; touch %1/pwned $(touch %1/pwned2) `touch %1/pwned3` \"'")
                                .arg(dir.pathString());
    ASSERT_EQ(RunAndWait(QStringLiteral("printf '%s' \"$1\" > \"$2\""), {hostile, out}), std::optional<int>(0));
    EXPECT_EQ(ReadAll(out.toUtf8()), hostile.toUtf8());
    for (const char *name : {"pwned", "pwned2", "pwned3"})
        EXPECT_FALSE(Exists(dir.at(name))) << name;
}

// The first child waits for a file that only the event loop makes: were run()
// or the loop to wait for the child, it would never end. A child left running
// in the background (on a pipe the test opens only after the report) does not
// hold the report back.
TEST(ShellCommand, NeverBlocksTheEventLoopNorWaitsForBackgroundChildren)
{
    TestDir dir;
    QTimer::singleShot(0, [&] { dir.write("go", ""); });
    EXPECT_EQ(RunAndWait(QStringLiteral("i=0; while [ ! -e \"$1\" ] && [ $i -lt 500 ]; do i=$((i+1)); sleep 0.02; done; "
                                        "[ -e \"$1\" ]"),
                         {dir.pathString() + QStringLiteral("/go")}),
              std::optional<int>(0));
    const QByteArray pipe = dir.at("pipe");
    ASSERT_EQ(::mkfifo(pipe.constData(), 0600), 0);
    EXPECT_EQ(RunAndWait(QStringLiteral("(read x < \"$1\")&"), {QString::fromUtf8(pipe)}), std::optional<int>(0));
    ::close(::open(pipe.constData(), O_WRONLY)); // the child ends on the pipe's end
}
