#pragma once
// Building blocks of SafeMove: whole-tree copy, removal and a rename that
// never replaces. Internal to the core; everything else calls SafeMove.
#include <QByteArray>

namespace wex::filetree {

struct CopyError {
    int error = 0;       // errno of the failing call, 0 on success
    QByteArray path;     // the item it failed on
    bool nameTaken = false; // the destination name itself already existed
};

// "a/b/" -> "a/b"; "/" stays "/".
QByteArray StripTrailingSlashes(const QByteArray &path);
// The folder holding path ("." for a bare name, "/" for a top-level item).
QByteArray FolderOf(const QByteArray &path);
// A hidden name beside path, distinct for each tag and attempt number.
QByteArray HiddenName(const QByteArray &path, const char *tag, int attempt);

// What RenameNoReplace may use. Real moves use everything the file system
// offers; tests turn features off to run the fallbacks anywhere.
struct RenameFeatures {
    bool noReplaceFlag = true; // renameat2(RENAME_NOREPLACE)
    bool hardLinks = true;     // link()
};

// Renames without ever replacing: 0, or an errno value (EEXIST when the name
// is taken). Falls back to link()+unlink() for non-folders and to a checked
// rename for folders where the file system lacks RENAME_NOREPLACE.
int RenameNoReplace(const QByteArray &from, const QByteArray &to, bool isFolder, RenameFeatures features = {});

// Copies a file, symlink (as a link) or folder tree to the new name to,
// keeping permissions and modification times, each file and folder flushed.
// Every source folder must be readable and writable (so it can be emptied
// later). On failure nothing of the copy is left.
CopyError CopyTree(const QByteArray &from, const QByteArray &to);

// EPERM when the item is immutable or append-only (no unlink, and for a
// folder no removal of its entries, whatever the permissions say), else 0.
int PinnedByFlags(const QByteArray &path);

// The first item of the tree that RemoveTree could not remove: a folder
// that cannot be listed and emptied, or an item pinned by its flags.
CopyError CheckRemovable(const QByteArray &path);

// Removes a file, symlink (never followed) or folder tree, as much as it
// can; returns the first errno met, 0 when all is gone. makeWritable opens
// up folders first (for copies of our own whose permissions were restored).
int RemoveTree(const QByteArray &path, bool makeWritable);

// Flushes a folder's entries to disk: 0, or the errno of the failure (a file
// system that cannot flush folders at all counts as done).
int SyncFolder(const QByteArray &path);

// Whether name is a hidden item of a move or removal (HiddenName with the
// tags "copy" or "gone"); *pid (when given) receives the process that made it.
bool IsLeftoverName(const QByteArray &name, long *pid = nullptr);

// As ClearMoveLeftovers (SafeMove.h).
int ClearLeftovers(const QByteArray &folder, bool includeOwn);

} // namespace wex::filetree
