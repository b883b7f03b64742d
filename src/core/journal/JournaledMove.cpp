#include "JournaledMove.h"

namespace wex {
quint64 NewJournalStep(Journal *journal) { return journal ? journal->newStep() : 0; }

MoveOutcome JournaledMove(Journal *journal, const QByteArray &from, const QByteArray &to, ChangeKind kind,
                          quint64 step)
{
    if (!journal)
        return SafeMove(from, to);
    // Written and flushed before the move: a kill in between leaves a record
    // the next start finishes or passes over.
    const qint64 seq = journal->begin(kind, from, to, step);
    MoveOutcome outcome = SafeMove(from, to);
    journal->finish(seq, outcome.ok());
    return outcome;
}

} // namespace wex
