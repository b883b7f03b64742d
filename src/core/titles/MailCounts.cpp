#include "MailCounts.h"

#include "MailName.h"
#include "TitleScanner.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace wex {

std::optional<MailCounts> CountMails(const QByteArray &folder)
{
    DIR *dir = ::opendir(folder.constData());
    if (!dir)
        return std::nullopt;
    const QByteArray prefix = folder.endsWith('/') ? folder : folder + '/';
    MailCounts counts;
    while (const dirent *d = ::readdir(dir)) {
        const QByteArrayView name(d->d_name);
        if (!TitleScanner::isMailName(name))
            continue;
        bool isFolder = d->d_type == DT_DIR;
        if (d->d_type == DT_LNK || d->d_type == DT_UNKNOWN) {
            struct stat st; // links followed, as the listing follows them
            if (::fstatat(::dirfd(dir), d->d_name, &st, 0) != 0 || !(S_ISREG(st.st_mode) || S_ISDIR(st.st_mode)))
                continue;
            isFolder = S_ISDIR(st.st_mode);
        } else if (d->d_type != DT_REG && !isFolder) {
            continue;
        }
        QByteArrayView extension = mailname::extension(name);
        QByteArray mainText;
        if (isFolder) {
            if (!TitleScanner::isMailExtension(extension) && extension != "mpart")
                continue;
            // Without a main text (empty extension) it is an unread mail, as
            // the dummy main text the listing writes for it is.
            mainText = TitleScanner::mainTextOf(prefix + name.toByteArray());
            extension = mailname::extension(mainText);
        }
        if (!TitleScanner::isAcceptedEntry(name, extension, isFolder))
            continue;
        Title title;
        title.setArchiveState(isFolder);
        TitleScanner::setStateOfEntry(name, extension, title);
        ++counts.mails;
        counts.unread += title.unreadState() ? 1 : 0;
    }
    ::closedir(dir);
    return counts;
}

} // namespace wex
