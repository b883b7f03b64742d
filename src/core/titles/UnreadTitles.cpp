#include "UnreadTitles.h"

#include "Aliases.h"
#include "FolderEntries.h"
#include "MailName.h"
#include "TitleScanner.h"

#include <cerrno>

namespace wex {

QByteArray UnreadAliasFolder(const QByteArray &root) { return root + "/temp/unreadAliases"; }

std::optional<TitleArray> loadUnreadTitleArray(TitleScanner &scanner, const QByteArray &root)
{
    if (root.isEmpty()) { // no store: not the "/temp" of the file system
        errno = ENOENT;
        return std::nullopt;
    }
    const QByteArray folder = UnreadAliasFolder(root);
    std::vector<FolderEntry> entries;
    if (!ListFolderSorted(folder, &entries))
        return std::nullopt;
    TitleArray titles;
    titles.reserve(entries.size());
    QByteArray alias, target;
    for (const FolderEntry &entry : entries) {
        if (entry.name.startsWith('.'))
            continue;
        alias = folder;
        alias += '/';
        alias += entry.name;
        if (SFResolveAliasPath(alias, &target) != 0)
            continue;
        if (mailname::baseName(target).startsWith('.'))
            continue;
        scanner.addTitleOf(target, titles);
    }
    return titles;
}

} // namespace wex
