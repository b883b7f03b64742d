#pragma once
// Runs the real wex-browser binary (named by WEX_BINARY) as a child process,
// as a script would: the headless commands' tests go through it.
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <gtest/gtest.h>

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

// env: variables set (a null value unsets one) on top of the test's own;
// workingDir: the child's working folder (the test's own when empty).
inline ChildRun RunWex(const QStringList &args, const QList<QPair<QString, QString>> &env = {},
                       const QString &workingDir = QString())
{
    QProcess p;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TZ"), QStringLiteral("JST-9"));
    for (const auto &[name, value] : env) {
        if (value.isNull())
            environment.remove(name);
        else
            environment.insert(name, value);
    }
    p.setProcessEnvironment(environment);
    p.setWorkingDirectory(workingDir);
    p.start(WexBinary(), args);
    EXPECT_TRUE(p.waitForFinished(60000));
    ChildRun r;
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

} // namespace wex::test
