#pragma once
// Runs the real wex-browser binary (WEX_BINARY) as a child process, as a script would.
#include "CoreTest.h"

#include <QProcess>
#include <QProcessEnvironment>

namespace wex::test {

struct ChildRun {
    int exitCode = -1;
    QByteArray out, err;

    // The last path components of the listed mails, in order.
    QByteArray names() const
    {
        QByteArray list;
        for (const QByteArray &line : out.split('\n'))
            if (!line.isEmpty())
                list += line.mid(line.lastIndexOf('/') + 1) + " ";
        return list.trimmed();
    }
};

// The binary, or an empty string (the caller skips) when WEX_BINARY is unset.
inline QString WexBinary() { return qEnvironmentVariable("WEX_BINARY"); }

// env: variables set; workingDir: the child's folder (ours when empty).
inline ChildRun RunWex(const QStringList &args, const QList<QPair<QString, QString>> &env = {},
                       const QString &workingDir = QString())
{
    QProcess p;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TZ"), QStringLiteral("JST-9"));
    for (const auto &[name, value] : env)
        environment.insert(name, value);
    p.setProcessEnvironment(environment);
    p.setWorkingDirectory(workingDir);
    p.start(WexBinary(), args);
    EXPECT_TRUE(p.waitForFinished(60000));
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(), p.readAllStandardError()};
}

// A test of a headless command: skipped when WEX_BINARY names no binary.
class CommandTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (WexBinary().isEmpty())
            GTEST_SKIP() << "WEX_BINARY does not name the wex-browser binary";
    }
};

} // namespace wex::test
