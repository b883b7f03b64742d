// Attachment folders: a folder in a mail folder that holds one mail's main
// text beside its parts. The folder is listed through its main text file; a
// folder without one gets a small dummy main text written from its name and
// creation date, once, so that every attachment folder yields a title.
#include "ExtData.h"
#include "MailName.h"
#include "SafeMove.h"
#include "TextDecoder.h"
#include "TitleScanner.h"

#include <cerrno>
#include <clocale>
#include <ctime>
#include <fcntl.h>
#include <locale.h>
#include <sys/stat.h>
#include <unistd.h>

namespace wex {

namespace {

constexpr char kAttachmentExtension[] = "mpart";
constexpr char kDummyExtension[] = "iygm";

// A folder's creation date: its birth time where the file system keeps one,
// else its modification time; links followed. The current time when the
// folder cannot be examined at all (it was just listed, so this is a race).
timespec FolderCreationTime(const QByteArray &folder)
{
    struct statx stx;
    if (::statx(AT_FDCWD, folder.constData(), AT_STATX_SYNC_AS_STAT, STATX_BTIME | STATX_MTIME, &stx) == 0) {
        const statx_timestamp &t = (stx.stx_mask & STATX_BTIME) ? stx.stx_btime : stx.stx_mtime;
        return timespec{time_t(t.tv_sec), long(t.tv_nsec)};
    }
    struct stat st;
    if (::stat(folder.constData(), &st) == 0)
        return st.st_mtim;
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return now;
}

// "%a, %d %b %Y %H:%M:%S %z(%Z)" in the local zone, with C-locale names
// whatever the user's locale is, so that the date reads back as a mail date.
QByteArray FormatDummyDate(time_t seconds)
{
    tzset();
    struct tm tm;
    if (!localtime_r(&seconds, &tm))
        return QByteArray();
    char text[128];
    size_t n = 0;
    if (locale_t c = ::newlocale(LC_ALL_MASK, "C", locale_t(nullptr))) {
        n = ::strftime_l(text, sizeof text, "%a, %d %b %Y %H:%M:%S %z(%Z)", &tm, c);
        ::freelocale(c);
    }
    return QByteArray(text, qsizetype(n));
}

bool WriteAll(int fd, const QByteArray &bytes)
{
    const char *p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        p += n;
        left -= n;
    }
    return true;
}

} // namespace

bool TitleScanner::CheckFileWithPath(const QByteArray &stem, const char *extension, QByteArray *out)
{
    QByteArray candidate = stem;
    if (extension) {
        candidate += '.';
        candidate += extension;
    }
    // Anything that exists counts, a folder too (links followed); the scan
    // then skips what cannot be read as a mail file.
    struct stat st;
    if (::stat(candidate.constData(), &st) != 0)
        return false;
    *out = candidate;
    return true;
}

QByteArray TitleScanner::wholeMailOf(const QByteArray &path)
{
    const QByteArrayView base = mailname::baseName(path);
    const qsizetype folderEnd = path.size() - base.size() - 1;
    if (folderEnd <= 0)
        return path;
    const QByteArrayView folder = QByteArrayView(path).first(folderEnd);
    if (mailname::extension(folder) != kAttachmentExtension)
        return path;
    // The main text is the folder's stem, bare or with extensions after it.
    const QByteArrayView stem = mailname::baseName(mailname::withoutExtension(folder));
    if (stem.isEmpty() || !base.startsWith(stem) || (base.size() > stem.size() && base[stem.size()] != '.'))
        return path;
    return folder.toByteArray();
}

bool TitleScanner::isAttachedMail(QByteArray *path)
{
    const QByteArrayView ext = mailname::extension(*path);
    if (!isMailExtension(ext) && ext != kAttachmentExtension)
        return false;
    QByteArray found = mainTextOf(*path);
    if (found.isEmpty())
        makeDummyMainAtPath(stemOf(*path), &found);
    *path = found;
    return true;
}

QByteArray TitleScanner::stemOf(const QByteArray &folder)
{
    // a/b/x.mpart has the stem a/b/x.mpart/x
    QByteArray stem = folder;
    stem += '/';
    stem += mailname::baseName(mailname::withoutExtension(folder));
    return stem;
}

QByteArray TitleScanner::mainTextOf(const QByteArray &folder)
{
    const QByteArray stem = stemOf(folder);
    QByteArray found;
    for (const ExtRow &row : extData)
        if (CheckFileWithPath(stem, row.extension, &found))
            return found;
    if (CheckFileWithPath(stem, "ygm.html", &found) || CheckFileWithPath(stem, nullptr, &found))
        return found;
    return QByteArray();
}

void TitleScanner::makeDummyMainAtPath(const QByteArray &stem, QByteArray *out)
{
    QByteArray file = stem;
    file += '.';
    file += kDummyExtension;
    *out = file;

    // The folder's main name is "sender|subject"; a name without "|" is taken
    // whole as the sender, with an empty subject. Fields after a second "|"
    // are not used.
    const QByteArrayView mainName = mailname::baseName(stem);
    const qsizetype bar = mainName.indexOf('|');
    QByteArrayView sender = bar < 0 ? mainName : mainName.first(bar);
    QByteArrayView subject;
    if (bar >= 0) {
        subject = mainName.sliced(bar + 1);
        const qsizetype second = subject.indexOf('|');
        if (second >= 0)
            subject = subject.first(second);
    }

    const QByteArray folder = stem.first(mailname::baseStart(stem) - 1);
    const timespec created = FolderCreationTime(folder);
    const QString text = QStringLiteral("From: ") + QString::fromUtf8(sender) + QStringLiteral("\nSubject: ")
        + QString::fromUtf8(subject) + QStringLiteral("\nDate: ") + QString::fromLatin1(FormatDummyDate(created.tv_sec))
        + QStringLiteral("\n\n No main text in this mail.");
    const QByteArray bytes = EncodeText(text, "CP932");

    // Never replaces anything (O_EXCL, and no link is followed): when the file
    // cannot be made, the scan's open of *out fails and the folder is skipped.
    const int fd = ::open(file.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd < 0)
        return;
    if (!WriteAll(fd, bytes)) {
        // A half-written dummy would stay for good; it was ours, so it goes.
        ::close(fd);
        SafeRemove(file);
        return;
    }
    const timespec times[2] = {{0, UTIME_OMIT}, created};
    ::futimens(fd, times);
    ::close(fd);
    // Writing the file touched the folder; it keeps its creation date.
    ::utimensat(AT_FDCWD, folder.constData(), times, 0);
}

} // namespace wex
