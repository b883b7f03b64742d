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

// The first item of the tree that could not be removed by RemoveTree.
CopyError CheckRemovable(const QByteArray &path);

// Removes a file, symlink (never followed) or folder tree, as much as it
// can; returns the first errno met, 0 when all is gone. makeWritable opens
// up folders first (for copies of our own whose permissions were restored).
int RemoveTree(const QByteArray &path, bool makeWritable);

// Flushes a folder's entries to disk; best effort.
void SyncFolder(const QByteArray &path);

} // namespace wex::filetree
