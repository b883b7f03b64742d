// Redo follows the common editor rule: only the steps taken back since the
// last new command can be made again; a new command ends that run.
#include "UndoSteps.h"

#include "JournaledMove.h"

#include <sys/stat.h>

namespace wex {
namespace {

bool Forward(const JournalChange &c)
{
    return c.state == JournalChange::Done
        && (c.kind == ChangeKind::Read || c.kind == ChangeKind::Replied || c.kind == ChangeKind::Move);
}

bool Exists(const QByteArray &path)
{
    struct stat st;
    return ::lstat(path.constData(), &st) == 0;
}

} // namespace

std::vector<quint64> UndoSteps::steps() const
{
    std::vector<quint64> order;
    for (const JournalChange &c : journal_.changes())
        if (Forward(c) && std::find(order.begin(), order.end(), c.step) == order.end())
            order.push_back(c.step);
    return order;
}

UndoStep UndoSteps::describe(quint64 step) const
{
    UndoStep s;
    s.step = step;
    for (const JournalChange &c : journal_.changes()) {
        if (c.step != step || !Forward(c))
            continue;
        s.kind = c.kind;
        ++s.mails;
        s.folder = c.to.left(c.to.lastIndexOf('/'));
    }
    return s;
}

std::optional<UndoStep> UndoSteps::nextUndo() const
{
    const std::vector<quint64> order = steps();
    for (auto s = order.rbegin(); s != order.rend(); ++s)
        if (!journal_.undone(*s))
            return describe(*s);
    return std::nullopt;
}

std::optional<UndoStep> UndoSteps::nextRedo() const
{
    const std::vector<quint64> order = steps();
    std::optional<UndoStep> found;
    for (auto s = order.rbegin(); s != order.rend() && journal_.undone(*s); ++s)
        found = describe(*s);
    return found;
}

UndoOutcome UndoSteps::undo()
{
    const std::optional<UndoStep> s = nextUndo();
    return s ? run(s->step, true) : UndoOutcome();
}

UndoOutcome UndoSteps::redo()
{
    const std::optional<UndoStep> s = nextRedo();
    return s ? run(s->step, false) : UndoOutcome();
}

UndoOutcome UndoSteps::run(quint64 step, bool back)
{
    std::vector<JournalChange> changes; // copied: the moves below append to the journal
    for (const JournalChange &c : journal_.changes())
        if (c.step == step && Forward(c))
            changes.push_back(c);
    if (back)
        std::reverse(changes.begin(), changes.end());
    UndoOutcome outcome;
    for (const JournalChange &c : changes) {
        const QByteArray &from = back ? c.to : c.from;
        const QByteArray &to = back ? c.from : c.to;
        // Where the change left it, and nothing under the name it goes back
        // to: otherwise the mail was changed since and stays as it is.
        if (!Exists(from) || Exists(to)) {
            outcome.left.push_back(from);
            continue;
        }
        const MoveOutcome moved = JournaledMove(&journal_, from, to, back ? ChangeKind::Undo : ChangeKind::Redo, step);
        if (moved.ok()) {
            ++outcome.changed;
        } else {
            outcome.left.push_back(from);
            if (outcome.reason.isEmpty())
                outcome.reason = moved.message;
        }
    }
    journal_.markStep(step, back);
    return outcome;
}

} // namespace wex
