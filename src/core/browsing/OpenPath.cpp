#include "OpenPath.h"

#include "PathUtils.h"
#include "TitleScanner.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <sys/stat.h>

namespace wex {

namespace {

QString ErrorText(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

// The canonical path (links resolved) of an existing item; empty on failure, errno says why.
QByteArray RealPath(const QByteArray &path)
{
    char *real = ::realpath(path.constData(), nullptr);
    if (!real)
        return QByteArray();
    QByteArray result(real);
    std::free(real);
    return result;
}

OpenPath Nothing(const QString &reason)
{
    OpenPath result;
    result.reason = reason;
    return result;
}

// The title path of the entry named name in the folder, or empty when the
// scanner takes it for no mail.
QByteArray MailPath(const QByteArray &folder, const QByteArray &name, TitleScanner &scanner)
{
    TitleArray titles;
    scanner.addTitleOf((folder == "/" ? folder : folder + '/') + name, titles);
    return titles.empty() ? QByteArray() : titles.front().path();
}

} // namespace

OpenPath ResolveOpenPath(const QByteArray &argument, TitleScanner &scanner)
{
    if (argument.isEmpty() || argument.contains('\0'))
        return Nothing(ErrorText(ENOENT));
    struct stat st;
    if (::stat(argument.constData(), &st) != 0)
        return Nothing(ErrorText(errno));

    // The folder and the name the scan sees: a folder of its own, or the
    // containing folder for a file (the file itself may be a link).
    const QByteArray real = RealPath(argument);
    if (real.isEmpty())
        return Nothing(ErrorText(errno));
    QByteArray folder, name;
    if (S_ISDIR(st.st_mode)) {
        const qsizetype slash = real.lastIndexOf('/');
        folder = slash > 0 ? real.left(slash) : QByteArray("/");
        name = real.mid(slash + 1);
    } else {
        // The link itself, not its target, is the entry of its folder.
        QByteArray trimmed = argument;
        while (trimmed.size() > 1 && trimmed.endsWith('/'))
            trimmed.chop(1);
        const qsizetype slash = trimmed.lastIndexOf('/');
        folder = RealPath(slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : trimmed.left(slash));
        if (folder.isEmpty())
            return Nothing(ErrorText(errno));
        name = trimmed.mid(slash + 1);
    }

    OpenPath result;
    if (!name.isEmpty() && !(S_ISDIR(st.st_mode) && real == "/")) {
        result.mail = MailPath(folder, name, scanner);
        if (!result.mail.isEmpty()) {
            result.kind = OpenPath::Mail;
            result.folder = folder;
            return result;
        }
    }
    if (!S_ISDIR(st.st_mode))
        return Nothing(Localize(QT_TRANSLATE_NOOP("WEX", "neither a mail nor a folder")));
    DIR *dir = ::opendir(real.constData());
    if (!dir)
        return Nothing(ErrorText(errno));
    ::closedir(dir);
    result.kind = OpenPath::Folder;
    result.folder = real;
    return result;
}

} // namespace wex
