// The one move primitive of the program.
//
// Choices made here:
//  * renameat2(RENAME_NOREPLACE) makes "never replace" atomic; where a file
//    system does not offer it, a file is moved by link()+unlink() (link never
//    replaces) and a folder by a rename checked just before.
//  * Across file systems the item is copied to a hidden name in the
//    destination folder, flushed, and put in place without replacing. Only
//    then is the source taken away, first by renaming it to a hidden name in
//    its own folder: if even that fails, the copy is removed again and the
//    source is whole where it was. What follows cannot lose data: the item is
//    already in place.
//  * Every folder of a source tree must be writable, and no item of it
//    immutable or append-only, before anything is copied, so that its
//    removal afterwards does not stop half way.
//  * A destination folder that cannot be flushed once the copy is in place
//    takes the copy back: the source is not removed on the strength of a
//    copy that a power loss could still take away.
//  * A folder is removed by first renaming it to a hidden name (one atomic
//    step: the mail is whole or gone from view), then emptying that. A
//    removal that stops half way leaves only hidden debris, which is cleared
//    when the folder is next loaded or moved from (ClearLeftovers).
#include "SafeMove.h"

#include "FileTree.h"
#include "PathUtils.h"

#include <QtGlobal>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace wex {
namespace {

using namespace filetree;

MoveOutcome Result(MoveOutcome::Status status, int error, const QString &message)
{
    MoveOutcome o;
    o.status = status;
    o.error = error;
    o.message = message;
    return o;
}

QString Describe(const char *what, const QByteArray &a, const QByteArray &b, int error)
{
    QString text = QStringLiteral("%1 \"%2\"").arg(QLatin1String(what), Path2String(a));
    if (!b.isEmpty())
        text += QStringLiteral(" to \"%1\"").arg(Path2String(b));
    if (error)
        text += QStringLiteral(": ") + qt_error_string(error);
    return text;
}

// True when folder lies at or below tree (both resolved), where a folder
// move can never go.
bool IsInside(const QByteArray &folder, const QByteArray &tree)
{
    char *realFolder = ::realpath(folder.constData(), nullptr);
    char *realTree = ::realpath(tree.constData(), nullptr);
    bool inside = false;
    if (realFolder && realTree) {
        const QByteArray f(realFolder), t(realTree);
        inside = f == t || f.startsWith(t.endsWith('/') ? t : t + '/');
    }
    std::free(realFolder);
    std::free(realTree);
    return inside;
}

// Renames from to a fresh hidden name in its own folder; the name in *aside.
int MoveAside(const QByteArray &from, bool isFolder, RenameFeatures features, QByteArray *aside)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray name = HiddenName(from, "gone", attempt);
        const int error = RenameNoReplace(from, name, isFolder, features);
        if (error != EEXIST) {
            if (error == 0)
                *aside = name;
            return error;
        }
    }
    return EEXIST;
}

MoveOutcome MoveByCopy(const QByteArray &from, const QByteArray &to, bool isFolder, const MoveOptions &options)
{
    const RenameFeatures features{!options.noRenameFlag, !options.noHardLinks};
    const QByteArray destFolder = FolderOf(to);
    if (const CopyError check = CheckRemovable(from); check.error)
        return Result(MoveOutcome::Failed, check.error, Describe("Cannot remove", check.path, QByteArray(), check.error));
    QByteArray temp;
    CopyError copyError;
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp = HiddenName(to, "copy", attempt);
        copyError = CopyTree(from, temp); // leaves nothing behind on failure
        if (!copyError.nameTaken)
            break;
    }
    if (copyError.error) {
        return Result(MoveOutcome::Failed, copyError.error,
                      Describe("Cannot copy", copyError.path, QByteArray(), copyError.error));
    }
    if (const int error = SyncFolder(destFolder)) {
        RemoveTree(temp, true);
        return Result(MoveOutcome::Failed, error, Describe("Cannot flush", destFolder, QByteArray(), error));
    }
    if (options.beforePlacing)
        options.beforePlacing();

    if (const int error = RenameNoReplace(temp, to, isFolder, features)) {
        RemoveTree(temp, true);
        if (error == EEXIST)
            return Result(MoveOutcome::DestinationExists, error, Describe("Will not replace", to, QByteArray(), 0));
        return Result(MoveOutcome::Failed, error, Describe("Cannot move", from, to, error));
    }
    const int syncError = options.syncFolder ? options.syncFolder(destFolder) : SyncFolder(destFolder);
    if (syncError) {
        // Not known to be on disk: the source stays the mail.
        RemoveTree(to, true);
        SyncFolder(destFolder);
        return Result(MoveOutcome::Failed, syncError, Describe("Cannot flush", destFolder, QByteArray(), syncError));
    }

    QByteArray aside;
    if (const int error = MoveAside(from, isFolder, features, &aside)) {
        // The source cannot be taken away: take the copy back instead.
        RemoveTree(to, true);
        SyncFolder(destFolder);
        const auto status = error == ENOENT ? MoveOutcome::SourceMissing : MoveOutcome::Failed;
        return Result(status, error, Describe("Cannot remove", from, QByteArray(), error));
    }
    if (const int error = RemoveTree(aside, false)) {
        // The move itself is done; only debris under a hidden name is left.
        return Result(MoveOutcome::Moved, error,
                      Describe("Moved, but could not remove the leftover", aside, QByteArray(), error));
    }
    return Result(MoveOutcome::Moved, 0, QString());
}

// Whether removing entries of folder is refused by its permissions or flags.
int FolderHolds(const QByteArray &folder)
{
    if (::faccessat(AT_FDCWD, folder.constData(), W_OK | X_OK, AT_EACCESS) != 0)
        return errno;
    return PinnedByFlags(folder);
}

} // namespace

MoveOutcome SafeMove(const QByteArray &fromPath, const QByteArray &toPath, MoveOptions options)
{
    const QByteArray from = StripTrailingSlashes(fromPath);
    const QByteArray to = StripTrailingSlashes(toPath);
    if (from.isEmpty() || to.isEmpty() || from.contains('\0') || to.contains('\0'))
        return Result(MoveOutcome::Failed, EINVAL, QStringLiteral("Cannot move: empty or invalid path"));

    struct stat st;
    if (::lstat(from.constData(), &st) != 0) {
        const int error = errno;
        const auto status = error == ENOENT ? MoveOutcome::SourceMissing : MoveOutcome::Failed;
        return Result(status, error, Describe("Cannot move", from, to, error));
    }
    const bool isFolder = S_ISDIR(st.st_mode);
    struct stat dest;
    if (::lstat(to.constData(), &dest) == 0)
        return Result(MoveOutcome::DestinationExists, EEXIST, Describe("Will not replace", to, QByteArray(), 0));
    if (isFolder && IsInside(FolderOf(to), from))
        return Result(MoveOutcome::Failed, EINVAL, Describe("Cannot move a folder into itself:", from, to, 0));

    if (!options.forceCopy) {
        const int error = RenameNoReplace(from, to, isFolder, {!options.noRenameFlag, !options.noHardLinks});
        if (error == 0)
            return Result(MoveOutcome::Moved, 0, QString());
        if (error == EEXIST)
            return Result(MoveOutcome::DestinationExists, error, Describe("Will not replace", to, QByteArray(), 0));
        if (error != EXDEV) {
            const bool gone = error == ENOENT && ::lstat(from.constData(), &st) != 0;
            return Result(gone ? MoveOutcome::SourceMissing : MoveOutcome::Failed, error,
                          Describe("Cannot move", from, to, error));
        }
    }
    return MoveByCopy(from, to, isFolder, options);
}

MoveOutcome SafeRemove(const QByteArray &pathIn)
{
    const QByteArray path = StripTrailingSlashes(pathIn);
    if (path.isEmpty() || path.contains('\0'))
        return Result(MoveOutcome::Failed, EINVAL, QStringLiteral("Cannot remove: empty or invalid path"));
    struct stat st;
    if (::lstat(path.constData(), &st) != 0) {
        const int error = errno;
        const auto status = error == ENOENT ? MoveOutcome::SourceMissing : MoveOutcome::Failed;
        return Result(status, error, Describe("Cannot remove", path, QByteArray(), error));
    }
    // A tree that cannot be emptied, or whose folder will not let it go, is
    // refused before anything goes.
    const QByteArray folder = FolderOf(path);
    if (const int error = FolderHolds(folder))
        return Result(MoveOutcome::Failed, error, Describe("Cannot remove", path, QByteArray(), error));
    const CopyError check = CheckRemovable(path);
    if (check.error)
        return Result(MoveOutcome::Failed, check.error, Describe("Cannot remove", check.path, QByteArray(), check.error));
    if (!S_ISDIR(st.st_mode)) {
        if (::unlink(path.constData()) != 0) {
            const int error = errno;
            return Result(MoveOutcome::Failed, error, Describe("Cannot remove", path, QByteArray(), error));
        }
        return Result(MoveOutcome::Moved, 0, QString());
    }
    QByteArray aside;
    if (const int error = MoveAside(path, true, RenameFeatures{}, &aside)) {
        const auto status = error == ENOENT ? MoveOutcome::SourceMissing : MoveOutcome::Failed;
        return Result(status, error, Describe("Cannot remove", path, QByteArray(), error));
    }
    if (const int error = RemoveTree(aside, false)) {
        // Gone from view as one step; what is left is hidden debris.
        return Result(MoveOutcome::Moved, error,
                      Describe("Deleted, but could not remove the leftover", aside, QByteArray(), error));
    }
    SyncFolder(folder);
    return Result(MoveOutcome::Moved, 0, QString());
}

bool IsMoveLeftoverName(const QByteArray &name) { return IsLeftoverName(name); }

int ClearMoveLeftovers(const QByteArray &folder, bool includeOwn)
{
    return ClearLeftovers(StripTrailingSlashes(folder), includeOwn);
}

} // namespace wex
