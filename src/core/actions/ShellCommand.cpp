#include "ShellCommand.h"

// Why a positional argument: the suite folder comes from the environment and
// may hold spaces or shell syntax. Passed as $1 of `sh -c TEXT sh ARG`, it is
// only ever expanded inside double quotes in the fixed text, never parsed.
//
// The child's standard streams are the null device: a text that leaves a
// process running in the background ("...&") must not keep pipes of ours open.

namespace wex {

QString SuiteFolder()
{
    const QString suite = qEnvironmentVariable("WEX_SUITE");
    return suite.isEmpty() ? QStringLiteral("/Applications/WEX_Suite") : suite;
}

ShellCommand::ShellCommand(Done done, QObject *parent) : QObject(parent), done_(std::move(done)) {}

ShellCommand::~ShellCommand()
{
    // Going away with the child still running (its owner is being destroyed):
    // the process is killed without a report, since the callback's owner may
    // be half gone already.
    reported_ = true;
    QObject::disconnect(&process_, nullptr, this, nullptr);
}

ShellCommand *ShellCommand::run(const QString &fixedText, const QStringList &arguments, Done done,
                                QObject *parent)
{
    auto *command = new ShellCommand(std::move(done), parent);
    QProcess &process = command->process_;
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    connect(&process, &QProcess::finished, command, [command](int exitCode, QProcess::ExitStatus status) {
        command->report(status == QProcess::NormalExit ? exitCode : -1);
    });
    connect(&process, &QProcess::errorOccurred, command, [command](QProcess::ProcessError error) {
        // A crash is followed by finished(); only a failed start ends here. It may
        // be raised inside start(): report later, never before run() returns.
        if (error == QProcess::FailedToStart)
            QMetaObject::invokeMethod(command, [command] { command->report(-1); }, Qt::QueuedConnection);
    });
    QStringList shellArguments{QStringLiteral("-c"), fixedText, QStringLiteral("sh")};
    shellArguments += arguments;
    process.start(QStringLiteral("/bin/sh"), shellArguments);
    return command;
}

void ShellCommand::report(int status)
{
    if (reported_)
        return;
    reported_ = true;
    emit finished(status);
    if (done_)
        done_(status);
    deleteLater();
}

} // namespace wex
