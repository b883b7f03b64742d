// Finishing what a stopped process left half done.
//
// A change without a confirmation was stopped somewhere between its record
// and its confirmation. SafeMove only ever puts a complete, flushed copy
// under the destination name, and takes the source aside only after that, so
// what is found tells where it stopped:
//  * source and destination both there with the same bytes: killed after the
//    copy was put in place: the source goes (SafeRemove), the move is done;
//  * both there, the destination a shorter copy of the source's first bytes:
//    an incomplete copy: the copy goes, the source stays the mail;
//  * both there and different: the destination is another mail (the move
//    never began): both stay;
//  * only the destination: done; only the source: never made (passed over);
//  * hidden copies and set-aside sources named by the record (the process's
//    id and the item's name) are cleared, a copy only while the source is
//    there and a set-aside source only while the destination is there, so
//    such debris is never a mail's only copy.
#include "Journal.h"

#include "PathUtils.h"
#include "SafeMove.h"

#include <QFile>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace wex {
namespace {

bool Exists(const QByteArray &path)
{
    struct stat st;
    return ::lstat(path.constData(), &st) == 0;
}

QByteArray FolderPart(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
}

QByteArray NamePart(const QByteArray &path) { return path.mid(path.lastIndexOf('/') + 1); }

QList<QByteArray> Names(const QByteArray &folder)
{
    QList<QByteArray> names;
    if (DIR *dir = ::opendir(folder.constData())) {
        while (const dirent *entry = ::readdir(dir)) {
            const QByteArray name(entry->d_name);
            if (name != "." && name != "..")
                names.append(name);
        }
        ::closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

QByteArray Contents(const QByteArray &path, bool *ok)
{
    QFile file(QFile::decodeName(path));
    *ok = file.open(QIODevice::ReadOnly);
    return *ok ? file.readAll() : QByteArray();
}

// Whether b is a whole copy of a: same kind, same bytes, same tree.
bool SameTree(const QByteArray &a, const QByteArray &b)
{
    struct stat sa, sb;
    if (::lstat(a.constData(), &sa) != 0 || ::lstat(b.constData(), &sb) != 0 || (sa.st_mode & S_IFMT) != (sb.st_mode & S_IFMT))
        return false;
    if (S_ISDIR(sa.st_mode)) {
        const QList<QByteArray> names = Names(a);
        if (names != Names(b))
            return false;
        return std::all_of(names.begin(), names.end(),
                           [&](const QByteArray &n) { return SameTree(a + '/' + n, b + '/' + n); });
    }
    if (S_ISLNK(sa.st_mode)) {
        char la[4096], lb[4096];
        const ssize_t na = ::readlink(a.constData(), la, sizeof la), nb = ::readlink(b.constData(), lb, sizeof lb);
        return na >= 0 && na == nb && std::memcmp(la, lb, size_t(na)) == 0;
    }
    bool okA = false, okB = false;
    return sa.st_size == sb.st_size && Contents(a, &okA) == Contents(b, &okB) && okA && okB;
}

// Whether copy is a file holding fewer bytes than source, all its first ones.
bool IncompleteCopy(const QByteArray &source, const QByteArray &copy)
{
    struct stat ss, sc;
    if (::lstat(source.constData(), &ss) != 0 || ::lstat(copy.constData(), &sc) != 0 || !S_ISREG(ss.st_mode)
        || !S_ISREG(sc.st_mode) || sc.st_size >= ss.st_size)
        return false;
    bool okS = false, okC = false;
    const QByteArray s = Contents(source, &okS), c = Contents(copy, &okC);
    return okS && okC && s.startsWith(c);
}

// Removes the hidden items of process pid tagged tag for the item at path.
void ClearNamed(const QByteArray &path, const char *tag, qint64 pid)
{
    const QByteArray folder = FolderPart(path);
    const QByteArray prefix = ".wex-" + QByteArray(tag) + '-' + QByteArray::number(pid) + '-';
    const QByteArray tail = '-' + NamePart(path).left(100);
    for (const QByteArray &name : Names(folder)) {
        if (!name.startsWith(prefix) || !name.endsWith(tail) || !IsMoveLeftoverName(name))
            continue;
        const QByteArray attempt = name.mid(prefix.size(), name.size() - prefix.size() - tail.size());
        bool number = false;
        attempt.toInt(&number);
        if (number)
            SafeRemove(folder + '/' + name);
    }
}

bool Runs(qint64 pid) { return pid > 0 && pid != ::getpid() && (::kill(pid_t(pid), 0) == 0 || errno != ESRCH); }

} // namespace

std::vector<QString> Journal::recover()
{
    std::vector<QString> told;
    // Copied: finish() appends and may move the vector's elements.
    std::vector<JournalChange> pending;
    for (const JournalChange &c : changes_)
        if (c.state == JournalChange::Pending && !Runs(c.pid))
            pending.push_back(c);
    for (const JournalChange &c : pending) {
        const bool fromThere = Exists(c.from);
        const bool toThere = Exists(c.to);
        bool done = toThere && !fromThere;
        if (fromThere && toThere) {
            if (SameTree(c.from, c.to) && SafeRemove(c.from).ok()) {
                done = true;
                told.push_back(Localize(QT_TRANSLATE_NOOP("WEX", "Finished moving %1 to %2")).arg(Path2String(c.from), Path2String(c.to)));
            } else if (IncompleteCopy(c.from, c.to) && SafeRemove(c.to).ok()) {
                told.push_back(Localize(QT_TRANSLATE_NOOP("WEX", "Removed the incomplete copy %1")).arg(Path2String(c.to)));
            }
        }
        if (Exists(c.from))
            ClearNamed(c.to, "copy", c.pid);
        if (Exists(c.to))
            ClearNamed(c.from, "gone", c.pid);
        finish(c.seq, done);
    }
    return told;
}

} // namespace wex
