#include "ProbeRunner.h"

#include "ShellCommand.h"

namespace wex {

namespace {

// Lives on the runner's thread; its ShellCommands are its children there.
class ProbeWorker : public QObject {
    Q_OBJECT
public:
    void start(quint64 id, const QString &fixedText, const QStringList &arguments)
    {
        ShellCommand::run(fixedText, arguments, [this, id](int status) { emit finished(id, status); }, this);
    }

signals:
    void finished(quint64 id, int status);
};

} // namespace

ProbeRunner::ProbeRunner(QObject *parent) : QObject(parent)
{
    thread_.setObjectName(QStringLiteral("ProbeRunner"));
    auto *worker = new ProbeWorker;
    worker->moveToThread(&thread_);
    // Deleted on its own thread as that thread ends, children with it.
    connect(&thread_, &QThread::finished, worker, &QObject::deleteLater);
    connect(this, &ProbeRunner::start, worker, &ProbeWorker::start);
    connect(worker, &ProbeWorker::finished, this, &ProbeRunner::finished);
    thread_.start();
}

ProbeRunner::~ProbeRunner()
{
    thread_.quit();
    thread_.wait();
}

void ProbeRunner::run(const QString &fixedText, const QStringList &arguments, QObject *context, Done done)
{
    const quint64 id = next_++;
    requests_.insert(id, Request{context, std::move(done)});
    emit start(id, fixedText, arguments);
}

void ProbeRunner::finished(quint64 id, int status)
{
    const Request request = requests_.take(id);
    if (request.context && request.done)
        request.done(status);
}

} // namespace wex

#include "ProbeRunner.moc"
