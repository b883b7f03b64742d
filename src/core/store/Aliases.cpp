// Store aliases are symbolic links.
//
// A chain is followed link by link (not with realpath()) so that only the
// links of the final item are resolved: folders along the way keep the names
// the caller gave, which is what an alias resolution answers.
#include "Aliases.h"

#include "MailExtensions.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace wex {
namespace {

constexpr int MaxLinks = 40; // the kernel's own limit for one path walk

// Absolute, without doubled or trailing slashes ("/" stays "/").
QByteArray Normalise(const QByteArray &path)
{
    // Most paths are normal already: those are handed back without a copy.
    if (path.startsWith('/') && !path.contains("//") && (path.size() == 1 || !path.endsWith('/')))
        return path;
    QByteArray abs = path;
    if (!abs.startsWith('/'))
        abs = QFile::encodeName(QDir::currentPath()) + '/' + abs;
    QByteArray out;
    out.reserve(abs.size());
    for (const char c : abs) {
        if (c == '/' && out.endsWith('/'))
            continue;
        out.append(c);
    }
    if (out.size() > 1 && out.endsWith('/'))
        out.chop(1);
    return out;
}

QByteArray FolderOf(const QByteArray &normalised)
{
    const qsizetype slash = normalised.lastIndexOf('/');
    return slash <= 0 ? QByteArray("/") : normalised.left(slash);
}

// The target of the link at path (relative to folderFd when it is an open
// folder); errno value in *error on failure.
bool ReadLink(int folderFd, const QByteArray &path, QByteArray *target, int *error)
{
    QByteArray buf(256, '\0');
    for (;;) {
        const ssize_t n = ::readlinkat(folderFd, path.constData(), buf.data(), size_t(buf.size()));
        if (n < 0) {
            *error = errno;
            return false;
        }
        if (n < buf.size()) {
            *target = buf.left(n);
            return true;
        }
        if (buf.size() >= (1 << 20)) { // no real link target is this long
            *error = ENAMETOOLONG;
            return false;
        }
        buf.resize(buf.size() * 2);
    }
}

bool HasDotComponent(const QByteArray &normalised)
{
    // Components are separated by single slashes here.
    for (qsizetype start = 0; start < normalised.size();) {
        qsizetype end = normalised.indexOf('/', start);
        if (end < 0)
            end = normalised.size();
        const qsizetype n = end - start;
        const bool dots = (n == 1 || n == 2) && normalised[start] == '.' && normalised[end - 1] == '.';
        if (dots)
            return true;
        start = end + 1;
    }
    return false;
}

// The real path of folder, through the cache.
bool RealFolder(const QByteArray &folder, QHash<QByteArray, QByteArray> &cache, QByteArray *real, int *error)
{
    if (const auto known = cache.constFind(folder); known != cache.constEnd()) {
        *real = *known;
        return true;
    }
    char *resolved = ::realpath(folder.constData(), nullptr);
    if (!resolved) {
        *error = errno;
        return false;
    }
    *real = QByteArray(resolved);
    std::free(resolved);
    cache.insert(folder, *real);
    return true;
}

// Replaces the folders of *path by their real path; the final item keeps its
// name (it may be the next link of the chain) unless it is "." or "..".
bool ResolveDots(QByteArray *path, QHash<QByteArray, QByteArray> &cache, int *error)
{
    const QByteArray base = path->mid(path->lastIndexOf('/') + 1);
    const bool whole = base == "." || base == "..";
    QByteArray resolved;
    if (!RealFolder(whole ? *path : FolderOf(*path), cache, &resolved, error))
        return false;
    *path = whole ? resolved : Normalise(resolved + '/' + base);
    return true;
}

// A link names its mail as it was when the link was made; reading or
// answering the mail since renamed it to another state's extension. The
// mail at lookup (relative to at) is gone: finds it under another mail
// extension, when exactly one such file exists, and writes its path (in the
// form of current) to *found.
bool FindRenamedMail(int at, const QByteArray &lookup, const QByteArray &current, QByteArray *found)
{
    const qsizetype base = current.lastIndexOf('/') + 1;
    const qsizetype dot = current.lastIndexOf('.');
    if (dot <= base)
        return false;
    const std::string_view extension(current.constData() + dot + 1, size_t(current.size() - dot - 1));
    if (std::find(kMailExtensions.begin(), kMailExtensions.end(), extension) == kMailExtensions.end())
        return false;
    const qsizetype lookupStem = lookup.size() - (current.size() - dot);
    int matches = 0;
    for (const std::string_view other : kMailExtensions) {
        if (other == extension)
            continue;
        const QByteArray tail = '.' + QByteArray(other.data(), qsizetype(other.size()));
        struct stat st;
        if (::fstatat(at, (lookup.left(lookupStem) + tail).constData(), &st, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        if (++matches > 1)
            return false;
        *found = current.left(dot) + tail;
    }
    return matches == 1;
}

} // namespace

int SFResolveAliasPath(const QByteArray &path, QByteArray *out)
{
    return AliasResolver(false).resolve(path, out);
}

AliasResolver::AliasResolver(bool keepFolders) : keepFolders_(keepFolders) {}

AliasResolver::~AliasResolver()
{
    for (const int fd : std::as_const(folderFds_))
        if (fd >= 0)
            ::close(fd);
}

int AliasResolver::resolve(const QByteArray &path, QByteArray *out, mode_t *type, int *folderFd)
{
    if (path.isEmpty() || path.contains('\0'))
        return ENOENT;
    return follow(Normalise(path), 0, out, type, folderFd);
}

int AliasResolver::resolveTarget(const QByteArray &item, QByteArray *out, mode_t *type, int *folderFd)
{
    if (item.isEmpty() || item.contains('\0'))
        return ENOENT;
    return follow(Normalise(item), 1, out, type, folderFd);
}

int AliasResolver::nextItem(const QByteArray &link, const QByteArray &target, QByteArray *next, int *folderFdOut)
{
    if (link.isEmpty() || link.contains('\0') || target.isEmpty() || target.contains('\0'))
        return ENOENT;
    const QByteArray linkFolder = FolderOf(Normalise(link));
    // Aliases of one folder mostly name mails of a few folders: when this
    // target's folder part is the last one's, so is its result.
    const qsizetype cut = target.lastIndexOf('/');
    const QByteArrayView base = QByteArrayView(target).sliced(cut + 1);
    const bool plainBase = !base.isEmpty() && base != "." && base != "..";
    const QByteArrayView targetFolder = QByteArrayView(target).first(cut < 0 ? 0 : cut);
    if (plainBase && cut > 0 && !lastFolder_.isEmpty() && lastLinkFolder_ == linkFolder
        && QByteArrayView(lastTargetFolder_) == targetFolder) {
        *next = lastFolder_;
        if (!next->endsWith('/'))
            *next += '/';
        *next += base;
        *folderFdOut = lastFolderFd_;
        return 0;
    }

    if (const int error = step(Normalise(link), target, next))
        return error;
    const qsizetype slash = next->lastIndexOf('/');
    const QByteArray nextBase = next->mid(slash + 1);
    const bool plainName = !nextBase.isEmpty() && nextBase != "." && nextBase != "..";
    const QByteArray folder = slash == 0 ? QByteArray("/") : next->left(slash);
    *folderFdOut = plainName ? folderFd(folder) : -1;
    if (plainBase && plainName && cut > 0) {
        lastLinkFolder_ = linkFolder;
        lastTargetFolder_ = targetFolder.toByteArray();
        lastFolder_ = folder;
        lastFolderFd_ = *folderFdOut;
    }
    return 0;
}

int AliasResolver::step(const QByteArray &link, const QByteArray &target, QByteArray *next)
{
    if (target.isEmpty() || target.contains('\0'))
        return ENOENT;
    *next = Normalise(target.startsWith('/') ? target : FolderOf(link) + '/' + target);
    if (HasDotComponent(*next)) {
        // "." and ".." can only be read against real folders: let the file
        // system resolve everything before the final item.
        int error = 0;
        if (!ResolveDots(next, realFolders_, &error))
            return error;
    }
    return 0;
}

int AliasResolver::folderFd(const QByteArray &folder)
{
    if (!keepFolders_)
        return -1;
    if (const auto known = folderFds_.constFind(folder); known != folderFds_.constEnd())
        return *known;
    // Bounded: a pass over aliases into very many folders keeps the first
    // ones open and reaches the rest by their paths.
    constexpr qsizetype kMaxFolders = 256;
    const int fd = folderFds_.size() < kMaxFolders
        ? ::open(folder.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC)
        : -1;
    folderFds_.insert(folder, fd);
    return fd;
}

int AliasResolver::follow(QByteArray current, int links, QByteArray *out, mode_t *type, int *folderFdOut)
{
    bool renamed = false; // the mail was found under another extension once
    for (;; ++links) {
        // The item is looked up in its folder's open descriptor where there
        // is one: a walk of one name instead of the whole path.
        const qsizetype slash = current.lastIndexOf('/');
        const QByteArray base = current.mid(slash + 1);
        const bool plainName = !base.isEmpty() && base != "." && base != "..";
        const int fd = plainName ? folderFd(slash == 0 ? QByteArray("/") : current.left(slash)) : -1;
        const QByteArray &lookup = fd >= 0 ? base : current;
        const int at = fd >= 0 ? fd : AT_FDCWD;
        struct stat st;
        if (::fstatat(at, lookup.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
            const int error = errno ? errno : ENOENT;
            // Only a link's target may have changed state since the link was
            // made; a path the caller gave is taken as it is.
            QByteArray moved;
            if (error != ENOENT || links == 0 || renamed || !FindRenamedMail(at, lookup, current, &moved))
                return error;
            renamed = true;
            current = moved;
            --links; // no link was followed to get here
            continue;
        }
        if (!S_ISLNK(st.st_mode)) {
            if (out)
                *out = current;
            if (type)
                *type = st.st_mode & S_IFMT;
            if (folderFdOut)
                *folderFdOut = fd;
            return 0;
        }
        if (links == MaxLinks)
            return ELOOP;
        QByteArray target;
        int error = 0;
        if (!ReadLink(at, lookup, &target, &error))
            return error;
        QByteArray next;
        if ((error = step(current, target, &next)))
            return error;
        current = next;
    }
}

} // namespace wex
