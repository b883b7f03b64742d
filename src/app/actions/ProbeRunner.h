#pragma once
// Runs fixed shell texts (ShellCommand) from a thread of its own, so the
// thread that asks never waits while a child process is being created: on a
// busy machine creating one can hold the creating thread for several
// milliseconds, which on the main thread would be a stall of every window.
//
// Results come back on the thread that owns the runner, from its event loop,
// never inside run(). A request whose context object is gone by then is
// dropped. Destroying the runner stops its thread; children still running
// are killed and report nothing.
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QThread>
#include <functional>

namespace wex {

class ProbeRunner : public QObject {
    Q_OBJECT
public:
    using Done = std::function<void(int status)>;

    explicit ProbeRunner(QObject *parent = nullptr);
    ~ProbeRunner() override;

    // Starts the text with "$1", "$2", ... bound to the arguments; done (may
    // be empty) gets the exit status, -1 when the shell could not run.
    void run(const QString &fixedText, const QStringList &arguments, QObject *context, Done done);

signals:
    // To the worker, on its thread.
    void start(quint64 id, const QString &fixedText, const QStringList &arguments);

private:
    void finished(quint64 id, int status);

    struct Request {
        QPointer<QObject> context;
        Done done;
    };
    QThread thread_;
    QHash<quint64, Request> requests_;
    quint64 next_ = 0;
};

} // namespace wex
