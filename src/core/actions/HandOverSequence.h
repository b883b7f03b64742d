#pragma once
// Hands a fixed list of items to other programs one at a time, with the
// "sleep 5" pause after each item handed over.
//
// The pause runs in the background (the shell's "sleep 5", see ShellCommand):
// the event loop goes on meanwhile and the next item follows when it ends.
// The items are the caller's own snapshot, taken before start(); the sequence
// only counts, so nothing that changes during a pause (a selection, a folder
// load) can redirect the rest of it.
#include <QObject>
#include <functional>

namespace wex {

class HandOverSequence : public QObject {
    Q_OBJECT
public:
    enum class Step {
        HandedOver, // the item went to a program: pause, then the next one
        Skipped,    // nothing handed over: the next one at once
        Stop,       // end the sequence here
    };
    using StepFunction = std::function<Step(int index)>;

    // Runs step(0) before returning; the later steps run from the event loop.
    // finished() comes from the event loop after the last pause (never inside
    // start()), then the sequence deletes itself; destroyed with its parent
    // first, it ends silently.
    static HandOverSequence *start(int count, StepFunction step, QObject *parent);

    // The shell text of the pause.
    static const char *pauseText();

signals:
    void finished();

private:
    HandOverSequence(int count, StepFunction step, QObject *parent);
    void runFrom(int index);

    int count_;
    StepFunction step_;
};

} // namespace wex
