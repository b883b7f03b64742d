#pragma once
// Undo and Redo over the journal: the last step not yet taken back, a
// command that changed several mails as one step, each mail put back through
// the safe file layer (never replacing a file). A mail changed since (renamed
// again, moved, gone) is left as it is; the rest of the step is still done.
//
// The journal must outlive this object.
#include "Journal.h"

#include <optional>

namespace wex {

struct UndoStep {
    quint64 step = 0;
    ChangeKind kind = ChangeKind::Move;
    int mails = 0;
    QByteArray folder; // where a move took the mails (its last one's folder)
};

struct UndoOutcome {
    int changed = 0;           // mails put back (or moved again)
    std::vector<QByteArray> left; // paths of mails left as they are
    QString reason;            // the first failure's message, if any
};

class UndoSteps {
public:
    explicit UndoSteps(Journal &journal) : journal_(journal) {}

    // The step Undo would take back / Redo would make again; none when none.
    std::optional<UndoStep> nextUndo() const;
    std::optional<UndoStep> nextRedo() const;
    UndoOutcome undo();
    UndoOutcome redo();

private:
    std::vector<quint64> steps() const; // with changes made, oldest first
    UndoStep describe(quint64 step) const;
    UndoOutcome run(quint64 step, bool back);

    Journal &journal_;
};

} // namespace wex
