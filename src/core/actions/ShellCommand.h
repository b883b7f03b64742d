#pragma once
// Runs one of the program's fixed shell texts in the background.
//
// The text is a constant of the program; anything variable (the suite folder)
// travels as a positional argument: /bin/sh -c TEXT sh ARG1 ARG2 ... so "$1"
// in the text stands for ARG1 and is never parsed as shell syntax.
// The event loop never waits for the child.
#include <QObject>
#include <QProcess>
#include <QStringList>
#include <functional>

namespace wex {

// The WEX suite folder: $WEX_SUITE when set and not empty, else "/Applications/WEX_Suite".
QString SuiteFolder();

class ShellCommand : public QObject {
    Q_OBJECT
public:
    // Called once with the exit status; -1 when the shell could not be started
    // or did not exit normally.
    using Done = std::function<void(int status)>;

    // Starts the text; done runs once, from the event loop (never inside run()),
    // and the object deletes itself afterwards. Destroyed earlier (with its
    // parent), it kills the child and reports nothing.
    static ShellCommand *run(const QString &fixedText, const QStringList &arguments, Done done,
                             QObject *parent = nullptr);

    ~ShellCommand() override;

signals:
    void finished(int status);

private:
    ShellCommand(Done done, QObject *parent);
    void report(int status);

    QProcess process_;
    Done done_;
    bool reported_ = false;
};

} // namespace wex
