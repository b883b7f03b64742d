#include "HandOverSequence.h"

#include "ShellCommand.h"

#include <QPointer>

namespace wex {

const char *HandOverSequence::pauseText() { return "sleep 5"; }

HandOverSequence::HandOverSequence(int count, StepFunction step, QObject *parent)
    : QObject(parent), count_(count), step_(std::move(step))
{
}

HandOverSequence *HandOverSequence::start(int count, StepFunction step, QObject *parent)
{
    auto *sequence = new HandOverSequence(count, std::move(step), parent);
    sequence->runFrom(0);
    return sequence;
}

void HandOverSequence::runFrom(int index)
{
    for (; index < count_; ++index) {
        const Step step = step_(index);
        if (step == Step::Stop)
            break;
        if (step == Step::HandedOver) {
            // The pause is a child of the sequence: it dies with it, unreported.
            const QPointer<HandOverSequence> self(this);
            const int next = index + 1;
            ShellCommand::run(QString::fromLatin1(pauseText()), {}, [self, next](int) {
                if (self)
                    self->runFrom(next);
            }, this);
            return;
        }
    }
    // Always from the event loop, so a caller can connect after start().
    QMetaObject::invokeMethod(this, [this] {
        emit finished();
        deleteLater();
    }, Qt::QueuedConnection);
}

} // namespace wex
