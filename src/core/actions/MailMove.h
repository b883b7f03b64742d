#pragma once
// Moves mails of one folder into another through the safe file layer: a mail
// file alone, an attachment folder (the folder holding a mail's main text
// and parts) whole, under the name it had.
//
// Never replaces anything at the destination; a mail that cannot move stays
// whole where it was.
#include "SafeMove.h"

#include <QByteArray>

namespace wex {

class Journal;

struct MailMoveResult {
    enum Kind {
        Moved,
        AlreadyThere, // the mail already lies in the destination: nothing done
        Failed,       // outcome says why; the mail is where it was
    };
    Kind kind = Failed;
    MoveOutcome outcome;
    bool moved() const { return kind == Moved; }
};

// The item that moves for a mail at mailPath: the file itself, or for an
// attachment folder (archive) the folder that holds that main text file.
QByteArray MailMoveSource(const QByteArray &mailPath, bool archive);

class MailMover {
public:
    // folder: the destination, an absolute path. The moves are journaled in
    // journal (none: not journaled), which must outlive the mover.
    explicit MailMover(const QByteArray &folder, Journal *journal = nullptr);

    const QByteArray &folder() const { return folder_; }
    // Moves the mail into the folder, keeping its name.
    MailMoveResult move(const QByteArray &mailPath, bool archive);

private:
    bool liesInFolder(const QByteArray &source);

    QByteArray folder_;
    QByteArray realFolder_; // empty when the folder cannot be resolved
    // The last source folder resolved: a run of mails shares one.
    QByteArray lastParent_, lastRealParent_;
    Journal *journal_;
    // The journal step of this mover's moves: Undo takes them back as one.
    quint64 step_;
};

} // namespace wex
