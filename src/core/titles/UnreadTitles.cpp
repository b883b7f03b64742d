#include "UnreadTitles.h"

#include "Aliases.h"
#include "FolderEntries.h"
#include "MailName.h"
#include "TitleScanner.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

// The list costs little more than a listing of a folder holding the same
// mails: each alias is read relative to the open alias folder, the folders
// its targets lie in are resolved and opened once for all aliases
// (AliasResolver), and the scanner opens each target relative to its open
// folder without a look-up of its own; only a target that is an alias again
// is resolved the long way.

namespace wex {

namespace {

// The content of the link name in the folder; false when it cannot be read.
bool ReadLinkAt(int folderFd, const QByteArray &name, QByteArray *target)
{
    target->resize(256);
    for (;;) {
        const ssize_t n = ::readlinkat(folderFd, name.constData(), target->data(), size_t(target->size()));
        if (n < 0)
            return false;
        if (n < target->size()) {
            target->truncate(n);
            return true;
        }
        if (target->size() >= (1 << 20))
            return false;
        target->resize(target->size() * 2);
    }
}

} // namespace

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
    AliasResolver resolver;
    const int aliasFd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    QByteArray alias = folder + '/', content, next, target;
    const qsizetype prefix = alias.size();
    mode_t type = 0;
    int targetFolder = -1;
    for (const FolderEntry &entry : entries) {
        if (entry.name.startsWith('.'))
            continue;
        alias.truncate(prefix);
        alias += entry.name;
        // The usual alias names its mail directly: the mail is opened as the
        // one item it names, and only a chain of aliases is followed further.
        if (entry.type == DT_LNK && aliasFd >= 0 && ReadLinkAt(aliasFd, entry.name, &content)) {
            if (resolver.nextItem(alias, content, &next, &targetFolder) != 0)
                continue;
            if (const QByteArray whole = TitleScanner::wholeMailOf(next); whole != next) {
                scanner.addTitleOf(whole, titles);
                continue;
            }
            if (!mailname::baseName(next).startsWith('.')
                && scanner.addTitleOf(next, TitleScanner::kEntryNotFollowed, targetFolder, titles))
                continue;
            if (resolver.resolveTarget(next, &target, &type, &targetFolder) != 0)
                continue;
        } else if (resolver.resolve(alias, &target, &type, &targetFolder) != 0) {
            continue;
        }
        if (mailname::baseName(target).startsWith('.'))
            continue;
        if (const QByteArray whole = TitleScanner::wholeMailOf(target); whole != target)
            scanner.addTitleOf(whole, titles);
        else
            scanner.addTitleOf(target, static_cast<unsigned char>(IFTODT(type)), targetFolder, titles);
    }
    if (aliasFd >= 0)
        ::close(aliasFd);
    return titles;
}

} // namespace wex
