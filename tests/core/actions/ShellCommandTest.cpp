#include "ShellCommand.h"
#include "CoreTest.h"

#include <QEventLoop>
#include <QTimer>

// Runs the text and spins the event loop until it reports (or 10 s pass).
static std::optional<int> RunAndWait(const QString &text, const QStringList &args = {})
{
    std::optional<int> status;
    QEventLoop loop;
    ShellCommand::run(text, args, [&](int s) { status = s, loop.quit(); });
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    if (!status)
        loop.exec();
    return status;
}

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

// The child waits for a file only the event loop makes; a background child does not hold the report.
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
