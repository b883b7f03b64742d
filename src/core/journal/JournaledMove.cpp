#include "JournaledMove.h"

namespace wex {
namespace {

Journal *installed = nullptr;

} // namespace

void InstallJournal(Journal *journal) { installed = journal; }

Journal *InstalledJournal() { return installed; }

quint64 NewJournalStep() { return installed ? installed->newStep() : 0; }

MoveOutcome JournaledMove(const QByteArray &from, const QByteArray &to, ChangeKind kind, quint64 step)
{
    if (!installed)
        return SafeMove(from, to);
    // Written and flushed before the move: a kill in between leaves a record
    // the next start finishes or passes over.
    const qint64 seq = installed->begin(kind, from, to, step);
    MoveOutcome outcome = SafeMove(from, to);
    installed->finish(seq, outcome.ok());
    return outcome;
}

} // namespace wex
