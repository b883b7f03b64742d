#include "FolderEntries.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <sys/stat.h>

namespace wex {

bool ListFolderSorted(const QByteArray &folder, std::vector<FolderEntry> *entries)
{
    entries->clear();
    if (folder.isEmpty() || folder.contains('\0')) {
        errno = ENOENT;
        return false;
    }
    DIR *dir = ::opendir(folder.constData());
    if (!dir)
        return false;
    while (const dirent *d = ::readdir(dir)) {
        const char *name = d->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
            continue;
        entries->push_back({QByteArray(name), d->d_type});
    }
    ::closedir(dir);
    // QByteArray compares as unsigned bytes: byte order.
    std::sort(entries->begin(), entries->end(),
              [](const FolderEntry &a, const FolderEntry &b) { return a.name < b.name; });
    return true;
}

namespace {

bool IsRealFolder(const QByteArray &path, unsigned char type)
{
    if (type != DT_UNKNOWN)
        return type == DT_DIR;
    struct stat st; // links not followed: a link to a folder is no folder here
    return ::lstat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

void AddFolder(const QByteArray &folder, std::vector<FolderEntry> entries, std::vector<QByteArray> *paths)
{
    for (FolderEntry &entry : entries) {
        QByteArray path = folder;
        path += '/';
        path += entry.name;
        const bool descend = IsRealFolder(path, entry.type);
        paths->push_back(path);
        std::vector<FolderEntry> inner;
        // A path grows with every level, so even a bind-mounted loop ends
        // when the path becomes too long to open.
        if (descend && ListFolderSorted(path, &inner))
            AddFolder(path, std::move(inner), paths);
    }
}

} // namespace

bool WalkFolderDepthFirst(const QByteArray &folder, std::vector<QByteArray> *paths)
{
    std::vector<FolderEntry> entries;
    if (!ListFolderSorted(folder, &entries))
        return false;
    AddFolder(folder, std::move(entries), paths);
    return true;
}

} // namespace wex
