#pragma once
// The one way this program renames, moves or deletes anything in the store.
//
// Guarantees, whatever happens:
//  * an existing item at the destination is never replaced;
//  * on failure the source is left whole where it was;
//  * across file systems a file or a whole folder is copied, flushed to disk,
//    and only then is the source removed.
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
};

MoveOutcome SafeMove(const QByteArray &from, const QByteArray &to, MoveOptions options = {});

// Removes a file or a whole folder tree (links are removed, never followed).
MoveOutcome SafeRemove(const QByteArray &path);

} // namespace wex
