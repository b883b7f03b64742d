#pragma once
// The moves of mails that Undo can take back: SafeMove, recorded in the
// journal the program installed before the move and confirmed after it.
#include "Journal.h"
#include "SafeMove.h"

namespace wex {

// The journal is handed to whoever moves mails; without one (tests,
// headless commands) a move is a plain SafeMove.

// A new step for a command that changes several mails (0 without a journal:
// each change is then its own step).
quint64 NewJournalStep(Journal *journal);

// SafeMove from -> to, journaled as kind in step (0: a step of its own).
MoveOutcome JournaledMove(Journal *journal, const QByteArray &from, const QByteArray &to, ChangeKind kind,
                          quint64 step = 0);

} // namespace wex
