// Building blocks of SafeMove. All of them work on paths of file-system bytes
// and report errno values; none of them throws or prints.
#include "FileTree.h"

#include <QList>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace wex::filetree {
namespace {

// Names in a folder, "." and ".." left out; errno in *error on failure.
QList<QByteArray> ListFolder(const QByteArray &path, int *error)
{
    QList<QByteArray> names;
    DIR *dir = ::opendir(path.constData());
    if (!dir) {
        *error = errno;
        return names;
    }
    errno = 0;
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name != "." && name != "..")
            names.append(name);
        errno = 0;
    }
    *error = errno;
    ::closedir(dir);
    return names;
}

bool CanEmpty(const QByteArray &folder)
{
    return ::faccessat(AT_FDCWD, folder.constData(), R_OK | W_OK | X_OK, AT_EACCESS) == 0;
}

// Whether another program of this machine runs under pid.
bool ProcessRuns(long pid)
{
    return pid > 0 && (::kill(pid_t(pid), 0) == 0 || errno != ESRCH);
}

int SyncFd(int fd)
{
    // Some file systems cannot flush folders; that is no reason to fail.
    if (::fsync(fd) != 0 && errno != EINVAL && errno != EROFS)
        return errno;
    return 0;
}

// Only a privileged mover can hand a copy to another owner; for anyone else
// the copy is theirs already, so a refusal is no failure.
void KeepOwner(int fd, const struct stat &st)
{
    [[maybe_unused]] const int owned = ::fchown(fd, st.st_uid, st.st_gid);
}

// Gives a finished copy the source's owner (where allowed), permissions and
// times; returns the first error. Called last, once the copy is filled.
int KeepAttributes(int fd, const struct stat &st)
{
    KeepOwner(fd, st);
    if (::fchmod(fd, st.st_mode & 07777) != 0)
        return errno;
    const struct timespec times[2] = {st.st_atim, st.st_mtim};
    if (::futimens(fd, times) != 0)
        return errno;
    return 0;
}

int WriteAll(int fd, const char *data, ssize_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size_t(size));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        data += n;
        size -= n;
    }
    return 0;
}

// Copies one regular file to the new name; the new file is removed on failure.
int CopyFile(const QByteArray &from, const QByteArray &to, const struct stat &st, bool *created)
{
    const int in = ::open(from.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (in < 0)
        return errno;
    const int out = ::open(to.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (out < 0) {
        const int error = errno;
        ::close(in);
        return error;
    }
    *created = true;
    int error = 0;
    static constexpr ssize_t BufferSize = 1 << 16;
    QByteArray buffer(BufferSize, Qt::Uninitialized);
    for (;;) {
        const ssize_t n = ::read(in, buffer.data(), BufferSize);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            error = errno;
            break;
        }
        if (n == 0 || (error = WriteAll(out, buffer.constData(), n)) != 0)
            break;
    }
    if (!error)
        error = SyncFd(out);
    if (!error)
        error = KeepAttributes(out, st);
    if (::close(out) != 0 && !error)
        error = errno;
    ::close(in);
    return error;
}

// Copies one item; on failure *failedAt names it. Folders recurse.
int CopyItem(const QByteArray &from, const QByteArray &to, QByteArray *failedAt, bool *created)
{
    *failedAt = from;
    struct stat st;
    if (::lstat(from.constData(), &st) != 0)
        return errno;

    if (S_ISREG(st.st_mode))
        return CopyFile(from, to, st, created);

    if (S_ISLNK(st.st_mode)) {
        QByteArray target(PATH_MAX + 1, '\0');
        const ssize_t n = ::readlink(from.constData(), target.data(), size_t(target.size()));
        if (n < 0)
            return errno;
        if (n >= target.size())
            return ENAMETOOLONG;
        target.truncate(n);
        if (::symlink(target.constData(), to.constData()) != 0)
            return errno;
        *created = true;
        [[maybe_unused]] const int owned = ::lchown(to.constData(), st.st_uid, st.st_gid); // as KeepOwner
        const struct timespec times[2] = {st.st_atim, st.st_mtim};
        ::utimensat(AT_FDCWD, to.constData(), times, AT_SYMLINK_NOFOLLOW); // a courtesy only
        return 0;
    }

    if (!S_ISDIR(st.st_mode))
        return ENOTSUP; // devices, pipes and sockets are no part of a mail store

    if (!CanEmpty(from))
        return errno;
    int error = 0;
    const QList<QByteArray> names = ListFolder(from, &error);
    if (error)
        return error;
    if (::mkdir(to.constData(), 0700) != 0)
        return errno;
    *created = true;
    for (const QByteArray &name : names) {
        bool childCreated = false;
        if ((error = CopyItem(from + '/' + name, to + '/' + name, failedAt, &childCreated)) != 0)
            return error;
    }
    *failedAt = to;
    const int fd = ::open(to.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    error = SyncFd(fd);
    // Permissions and times last: adding entries would change the time, and
    // a read-only folder could not be filled.
    if (!error)
        error = KeepAttributes(fd, st);
    ::close(fd);
    return error;
}

} // namespace

QByteArray StripTrailingSlashes(const QByteArray &path)
{
    QByteArray out = path;
    while (out.size() > 1 && out.endsWith('/'))
        out.chop(1);
    return out;
}

QByteArray FolderOf(const QByteArray &path)
{
    const QByteArray p = StripTrailingSlashes(path);
    const qsizetype slash = p.lastIndexOf('/');
    if (slash < 0)
        return ".";
    return slash == 0 ? QByteArray("/") : p.left(slash);
}

QByteArray HiddenName(const QByteArray &path, const char *tag, int attempt)
{
    const QByteArray p = StripTrailingSlashes(path);
    const QByteArray folder = FolderOf(p);
    const QByteArray base = p.mid(p.lastIndexOf('/') + 1).left(100);
    const QByteArray name = ".wex-" + QByteArray(tag) + '-' + QByteArray::number(::getpid()) + '-'
        + QByteArray::number(attempt) + '-' + base;
    return (folder.endsWith('/') ? folder : folder + '/') + name;
}

int RenameNoReplace(const QByteArray &from, const QByteArray &to, bool isFolder, RenameFeatures features)
{
    if (features.noReplaceFlag) {
        if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
            return 0;
        const int error = errno;
        if (error != EINVAL && error != ENOSYS)
            return error;
    }
    // No RENAME_NOREPLACE on this file system (EINVAL also answers a folder
    // moved into itself; the fallbacks refuse that on their own).
    struct stat st;
    if (!isFolder && features.hardLinks) {
        if (::link(from.constData(), to.constData()) == 0) {
            if (::unlink(from.constData()) == 0)
                return 0;
            const int unlinkError = errno;
            ::unlink(to.constData());
            return unlinkError;
        }
        if (errno != EPERM && errno != ENOTSUP && errno != EOPNOTSUPP)
            return errno;
        // No hard links either: the checked rename is all that is left.
    }
    if (::lstat(to.constData(), &st) == 0)
        return EEXIST;
    return ::rename(from.constData(), to.constData()) == 0 ? 0 : errno;
}

CopyError CopyTree(const QByteArray &from, const QByteArray &to)
{
    CopyError result;
    bool created = false;
    result.error = CopyItem(from, to, &result.path, &created);
    if (result.error) {
        if (created)
            RemoveTree(to, true);
        else if (result.error == EEXIST)
            result.nameTaken = true;
    }
    return result;
}

int PinnedByFlags(const QByteArray &path)
{
    // Links carry no flags; an item that cannot be opened to ask has none
    // that anyone could have set for it to keep.
    const int fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return 0;
    int flags = 0;
    const bool known = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    ::close(fd);
    return known && (flags & (FS_IMMUTABLE_FL | FS_APPEND_FL)) ? EPERM : 0;
}

CopyError CheckRemovable(const QByteArray &path)
{
    CopyError result;
    struct stat st;
    if (::lstat(path.constData(), &st) != 0 || S_ISLNK(st.st_mode))
        return result;
    if ((result.error = PinnedByFlags(path)) != 0) {
        result.path = path;
        return result;
    }
    if (!S_ISDIR(st.st_mode))
        return result;
    if (!CanEmpty(path)) {
        result.error = errno;
        result.path = path;
        return result;
    }
    int error = 0;
    const QList<QByteArray> names = ListFolder(path, &error);
    if (error) {
        result.error = error;
        result.path = path;
        return result;
    }
    for (const QByteArray &name : names) {
        result = CheckRemovable(path + '/' + name);
        if (result.error)
            break;
    }
    return result;
}

int RemoveTree(const QByteArray &path, bool makeWritable)
{
    struct stat st;
    if (::lstat(path.constData(), &st) != 0)
        return errno == ENOENT ? 0 : errno;
    if (!S_ISDIR(st.st_mode))
        return ::unlink(path.constData()) == 0 ? 0 : errno;
    if (makeWritable)
        ::chmod(path.constData(), 0700);
    int first = 0;
    const QList<QByteArray> names = ListFolder(path, &first);
    for (const QByteArray &name : names) {
        const int error = RemoveTree(path + '/' + name, makeWritable);
        if (!first)
            first = error;
    }
    if (::rmdir(path.constData()) != 0 && !first)
        first = errno;
    return first;
}

int SyncFolder(const QByteArray &path)
{
    const int fd = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    const int error = SyncFd(fd);
    ::close(fd);
    return error;
}

bool IsLeftoverName(const QByteArray &name, long *pid)
{
    static const QByteArray kTags[] = {".wex-copy-", ".wex-gone-"};
    for (const QByteArray &tag : kTags) {
        if (!name.startsWith(tag))
            continue;
        const qsizetype dash = name.indexOf('-', tag.size());
        bool number = false;
        const long value = dash > tag.size() ? name.mid(tag.size(), dash - tag.size()).toLong(&number) : 0;
        if (number && pid)
            *pid = value;
        return number;
    }
    return false;
}

int ClearLeftovers(const QByteArray &folder, bool includeOwn)
{
    int error = 0;
    const QList<QByteArray> names = ListFolder(folder, &error);
    int cleared = 0;
    const long self = long(::getpid());
    for (const QByteArray &name : names) {
        long pid = 0;
        if (!IsLeftoverName(name, &pid) || (pid == self ? !includeOwn : ProcessRuns(pid)))
            continue;
        if (RemoveTree(folder + '/' + name, true) == 0)
            ++cleared;
    }
    if (cleared > 0)
        SyncFolder(folder);
    return cleared;
}

} // namespace wex::filetree
