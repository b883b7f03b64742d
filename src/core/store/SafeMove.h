#pragma once
// The one way this program renames, moves or deletes anything in the store.
//
// Guarantees, whatever happens:
//  * an existing item at the destination is never replaced;
//  * on failure the source is left whole where it was;
//  * across file systems a file or a whole folder is copied, flushed to disk,
//    and only then is the source removed;
//  * a move or removal that reports success with error set (message says
//    so) is done, but left hidden debris behind (see ClearLeftovers).
#include <QByteArray>
#include <QString>
#include <functional>

namespace wex {

struct MoveOutcome {
    enum Status {
        Moved,             // done
        DestinationExists, // refused: something already has the new name
        SourceMissing,     // nothing to move
        Failed,            // any other failure; the source is untouched
    };
    Status status = Failed;
    int error = 0;   // errno of the failing call, 0 when none
    QString message; // one line for a user or a log
    bool ok() const { return status == Moved; }
};

// Test seams: each makes a path that only some machines take run anywhere.
struct MoveOptions {
    // Take the copy path even on one file system. The copy path is what runs
    // across file systems.
    bool forceCopy = false;
    // Act as a file system without renameat2(RENAME_NOREPLACE) and, with
    // noHardLinks, without link() as well: the fallbacks of such file
    // systems run.
    bool noRenameFlag = false;
    bool noHardLinks = false;
    // Copy path: runs once the hidden copy is complete, just before it is
    // put in place under the destination name.
    std::function<void()> beforePlacing;
    // Copy path: flushes the destination folder once the copy is in place
    // (0 or an errno value); unset, the folder is really flushed.
    std::function<int(const QByteArray &folder)> syncFolder;
};

MoveOutcome SafeMove(const QByteArray &from, const QByteArray &to, MoveOptions options = {});

// Removes a file or a whole folder tree (links are removed, never followed).
// Everything the removal needs (permissions, no immutable or append-only
// item) is checked before anything goes; a folder then leaves view in one
// rename. A failure leaves the item whole; a removal that is done but left
// hidden debris is Moved with error and message set.
MoveOutcome SafeRemove(const QByteArray &path);

// Whether a folder entry's name is such debris: a hidden name of a move or
// removal, never a mail.
bool IsMoveLeftoverName(const QByteArray &name);

// Removes the debris that stopped moves and removals left in folder (a
// crash, a kill, a failed clean-up): that of processes no longer running,
// and with includeOwn this process's own, which only a caller none of whose
// moves runs may ask for. Debris is never a mail's only copy: a copy is put
// in place before its source goes aside. Returns how many items went.
int ClearMoveLeftovers(const QByteArray &folder, bool includeOwn);

} // namespace wex
