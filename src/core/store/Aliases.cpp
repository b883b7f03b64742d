// Store aliases are symbolic links.
//
// A chain is followed link by link (not with realpath()) so that only the
// links of the final item are resolved: folders along the way keep the names
// the caller gave, which is what an alias resolution answers.
#include "Aliases.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace wex {
namespace {

constexpr int MaxLinks = 40; // the kernel's own limit for one path walk

// Absolute, without doubled or trailing slashes ("/" stays "/").
QByteArray Normalise(const QByteArray &path)
{
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

// The target of the link at path; errno value in *error on failure.
bool ReadLink(const QByteArray &path, QByteArray *target, int *error)
{
    QByteArray buf(256, '\0');
    for (;;) {
        const ssize_t n = ::readlink(path.constData(), buf.data(), size_t(buf.size()));
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
    for (const QByteArray &part : normalised.split('/')) {
        if (part == "." || part == "..")
            return true;
    }
    return false;
}

// Replaces the folders of *path by their real path; the final item keeps its
// name (it may be the next link of the chain) unless it is "." or "..".
bool ResolveDots(QByteArray *path, int *error)
{
    const QByteArray base = path->mid(path->lastIndexOf('/') + 1);
    const bool whole = base == "." || base == "..";
    const QByteArray folder = whole ? *path : FolderOf(*path);
    char *real = ::realpath(folder.constData(), nullptr);
    if (!real) {
        *error = errno;
        return false;
    }
    const QByteArray resolved(real);
    std::free(real);
    *path = whole ? resolved : Normalise(resolved + '/' + base);
    return true;
}

} // namespace

int SFResolveAliasPath(const QByteArray &path, QByteArray *out)
{
    if (path.isEmpty() || path.contains('\0'))
        return ENOENT;
    QByteArray current = Normalise(path);
    for (int links = 0;; ++links) {
        struct stat st;
        if (::lstat(current.constData(), &st) != 0)
            return errno ? errno : ENOENT;
        if (!S_ISLNK(st.st_mode)) {
            if (out)
                *out = current;
            return 0;
        }
        if (links == MaxLinks)
            return ELOOP;
        QByteArray target;
        int error = 0;
        if (!ReadLink(current, &target, &error))
            return error;
        if (target.isEmpty())
            return ENOENT;
        QByteArray next = Normalise(target.startsWith('/') ? target : FolderOf(current) + '/' + target);
        if (HasDotComponent(next)) {
            // "." and ".." can only be read against real folders: let the
            // file system resolve everything before the final item.
            int error = 0;
            if (!ResolveDots(&next, &error))
                return error;
        }
        current = next;
    }
}

} // namespace wex
