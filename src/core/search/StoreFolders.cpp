#include "StoreFolders.h"

#include "MailName.h"
#include "TitleScanner.h"

#include <QList>
#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <vector>

namespace wex {

namespace {

// The sub-folders of folder to walk into, in byte order of their names.
QList<QByteArray> SubFolders(const QByteArray &folder, bool atRoot)
{
    QList<QByteArray> out;
    DIR *dir = ::opendir(folder.constData());
    if (!dir)
        return out;
    while (const dirent *d = ::readdir(dir)) {
        const QByteArray name(d->d_name);
        // A folder named as a mail is an attachment folder: a mail, listed
        // with the folder that holds it.
        const QByteArrayView extension = mailname::extension(name);
        if (name.startsWith('.') || (atRoot && name == "temp") || extension == "mpart"
            || TitleScanner::isMailExtension(extension))
            continue;
        unsigned char type = d->d_type;
        if (type == DT_UNKNOWN) {
            struct stat st;
            type = ::fstatat(::dirfd(dir), d->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode) ? DT_DIR
                                                                                                           : DT_REG;
        }
        if (type == DT_DIR) // a link is never followed
            out.append(name);
    }
    ::closedir(dir);
    std::sort(out.begin(), out.end());
    return out;
}

} // namespace

void WalkStoreFolders(const QByteArray &top, bool topIsRoot, const std::atomic<bool> *cancel,
                      const std::function<void(const QByteArray &folder)> &visit)
{
    // Without recursion: a deep tree cannot exhaust the stack.
    std::vector<std::pair<QByteArray, bool>> pending{{top, topIsRoot}};
    while (!pending.empty() && !(cancel && cancel->load(std::memory_order_relaxed))) {
        const auto [folder, atRoot] = pending.back();
        pending.pop_back();
        visit(folder);
        const QList<QByteArray> subs = SubFolders(folder, atRoot);
        for (auto it = subs.crbegin(); it != subs.crend(); ++it)
            pending.push_back({folder + '/' + *it, false});
    }
}

} // namespace wex
