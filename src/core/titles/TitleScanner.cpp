#include "TitleScanner.h"

#include "ExtData.h"
#include "MailExtensions.h"
#include "MailName.h"
#include "MailPieceReader.h"
#include "PathUtils.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// Choices made by the scan:
//  * Entries are listed with opendir/readdir and sorted by name in byte order,
//    so a folder lists the same way every time.
//  * A name is judged before anything is opened or stat'ed: most entries that
//    are no mail cost nothing beyond their directory entry.
//  * Files are opened non-blocking and must be regular files (fstat): a FIFO,
//    a device, a socket or a folder where a mail file is expected counts as a
//    file that cannot be opened, so nothing can make the scan hang.
//  * Lines are the pieces the standard line read with a 4096-byte buffer
//    would give (MailPieceReader), so long lines, CR LF files and embedded NUL
//    bytes come out as they always did. A From or Subject value is at most one
//    piece (4095 bytes less its tag); nothing is cut shorter than that.

namespace wex {

namespace {

void funcDummySet(Title &) {}
void funcSetUnread(Title &t) { t.setUnreadState(true); }
void funcSetReply(Title &t) { t.setReplyState(true); }
void funcSetHTML(Title &t) { t.setHtmlState(true); t.setUnreadState(true); }
void funcSetSend(Title &t) { t.setSendState(true); }
void funcSetHTM(Title &t) { t.setHtmlState(true); }
void funcSetUnreadNoMain(Title &t) { t.setUnreadState(true); t.setNoMainState(true); }
void funcSetNoMain(Title &t) { t.setNoMainState(true); }

constexpr char kUploadPrefix[] = "upload";
constexpr char kErrorPrefix[] = "error-mail-original";
constexpr char kAttachmentExtension[] = "mpart";

constexpr char kFromTag[] = "From: ";
constexpr char kToTag[] = "To: ";
constexpr char kSubjectTag[] = "Subject: ";
constexpr char kDateTag[] = "Date: ";
constexpr char kWexCharsetTag[] = "X-WEX-CharSet: ";
// Tried in this order; the first that matches decides.
constexpr const char *kContentTypeTags[] = {
    "Content-Type: text/plain; charset=",
    "Content-Type: text/plain;\r\tcharset=",
    "Content-Type: text/plain;\tcharset=",
    "Content-Type: text/plain;charset=",
};

template <size_t N> constexpr size_t tagLength(const char (&)[N]) { return N - 1; }

// Whether an entry of this name could possibly give a title, as a file or as
// an attachment folder. Entries that fail it are never stat'ed or opened.
bool mightBeMail(QByteArrayView name)
{
    const QByteArrayView ext = mailname::extension(name);
    return TitleScanner::isMailExtension(ext) || ext == kAttachmentExtension
        || name.startsWith(kUploadPrefix) || name.startsWith(kErrorPrefix);
}

// Raw value of a header line after its tag: the bytes up to the line's NUL.
void takeValue(std::string &value, const char *rest) { value.assign(rest, std::strlen(rest)); }

} // namespace

const ExtRow extData[kExtRowCount] = {
    {kMailExtensions[0].data(), funcSetUnread}, {kMailExtensions[1].data(), funcDummySet},
    {kMailExtensions[2].data(), funcSetReply},  {kMailExtensions[3].data(), funcSetReply},
    {kMailExtensions[4].data(), funcSetHTML},   {kMailExtensions[5].data(), funcSetSend},
    {kMailExtensions[6].data(), funcSetHTM},    {kMailExtensions[7].data(), funcSetUnreadNoMain},
    {kMailExtensions[8].data(), funcSetNoMain},
};
static_assert(kMailExtensions.size() == kExtRowCount);

TitleScanner::TitleScanner(const Coding &coding) : coding_(coding), prototype_() {}

bool TitleScanner::isMailExtension(QByteArrayView extension)
{
    for (const ExtRow &row : extData) {
        if (extension == row.extension)
            return true;
    }
    return false;
}

bool TitleScanner::setState(QByteArrayView extension, Title &title)
{
    for (const ExtRow &row : extData) {
        if (extension == row.extension) {
            row.setState(title);
            return true;
        }
    }
    return false;
}

int TitleScanner::readContentType(const char *tag, const char *line, Title &title) const
{
    if (!HeadStrCL(tag, line))
        return 0;
    const char *rest = line + std::strlen(tag);
    title.setCode(coding_.codeFromCharset(QByteArrayView(rest, qsizetype(std::strlen(rest))), false));
    return 1;
}

std::optional<QString> TitleScanner::stringWithCString(const char *bytes, uint32_t encoding)
{
    return decoder_.decode(QByteArrayView(bytes, qsizetype(std::strlen(bytes))), encoding);
}

TitleArray TitleScanner::loadTitleArray(const QByteArray &folder, bool *listed)
{
    TitleArray titles;
    DIR *dir = ::opendir(folder.constData());
    if (!dir) {
        if (listed)
            *listed = false;
        return titles; // errno still tells why
    }
    if (listed)
        *listed = true;

    // The folder stays open while its entries are read: they are opened
    // relative to it.
    struct Entry {
        size_t offset; // into names_, NUL-terminated there
        unsigned char type;
    };
    std::vector<Entry> entries;
    names_.clear();
    while (const dirent *d = ::readdir(dir)) {
        if (d->d_name[0] == '.')
            continue;
        const size_t n = std::strlen(d->d_name);
        if (!mightBeMail(QByteArrayView(d->d_name, qsizetype(n))))
            continue;
        entries.push_back({names_.size(), d->d_type});
        names_.insert(names_.end(), d->d_name, d->d_name + n + 1);
    }

    const char *names = names_.data();
    std::sort(entries.begin(), entries.end(), [names](const Entry &a, const Entry &b) {
        return std::strcmp(names + a.offset, names + b.offset) < 0;
    });

    QByteArray prefix = folder;
    if (!prefix.endsWith('/'))
        prefix += '/';
    titles.reserve(entries.size());
    for (const Entry &e : entries) {
        const char *name = names + e.offset;
        QByteArray path;
        path.reserve(prefix.size() + qsizetype(std::strlen(name)) + 8);
        path += prefix;
        path += name;
        addTitleOfEntry(std::move(path), e.type, ::dirfd(dir), titles);
    }
    ::closedir(dir);
    return titles;
}

void TitleScanner::setStateOfEntry(QByteArrayView name, QByteArrayView extension, Title &title)
{
    if (setState(extension, title))
        return;
    if (title.archiveState() && extension.isEmpty()) {
        title.setUnreadState(true);
    } else if (extension == "txt" && name.startsWith(kUploadPrefix)) {
        title.setSendState(true);
    } else if (name.startsWith(kErrorPrefix)) {
        if (extension == "txt")
            title.setUnreadState(true);
        title.setErrorState(true);
    }
}

bool TitleScanner::isAcceptedEntry(QByteArrayView name, QByteArrayView extension, bool archive)
{
    return isMailExtension(extension) || name.startsWith(kUploadPrefix) || (archive && extension.isEmpty())
        || name.startsWith(kErrorPrefix);
}

bool TitleScanner::isMailName(QByteArrayView name) { return !name.startsWith('.') && mightBeMail(name); }

void TitleScanner::addTitleOf(const QByteArray &path, TitleArray &titles)
{
    if (entryCache_ && entryCache_->appendCachedTitle(path, true, titles))
        return;
    addTitleOfEntry(path, DT_UNKNOWN, -1, titles);
}

bool TitleScanner::addTitleOf(const QByteArray &path, unsigned char entryType, int folderFd, TitleArray &titles)
{
    if (entryCache_ && entryCache_->appendCachedTitle(path, entryType != kEntryNotFollowed, titles))
        return true;
    return addTitleOfEntry(path, entryType, folderFd, titles);
}

bool TitleScanner::addTitleOfEntry(QByteArray path, unsigned char entryType, int folderFd, TitleArray &titles,
                                   struct stat *afterRead)
{
    // The entry's own name decides the prefixes, even when an attachment
    // folder's main text file takes its place below.
    const QByteArray entry = path;
    const QByteArrayView name = mailname::baseName(entry);
    constexpr int kOpenFlags = O_RDONLY | O_CLOEXEC | O_NONBLOCK;
    if (name.isEmpty() || !mightBeMail(name)) {
        // A name that is no mail's may still be an alias leading to one.
        struct stat st;
        return entryType != kEntryNotFollowed || name.isEmpty()
            || (folderFd >= 0 ? ::fstatat(folderFd, name.data(), &st, AT_SYMLINK_NOFOLLOW)
                              : ::lstat(path.constData(), &st)) != 0
            || !S_ISLNK(st.st_mode);
    }

    bool isFolder = false;
    int fd = -1; // opened already (a file reached without following a link)
    struct stat st;
    switch (entryType) {
    case kEntryNotFollowed:
        fd = folderFd >= 0 ? ::openat(folderFd, name.data(), kOpenFlags | O_NOFOLLOW)
                           : ::open(path.constData(), kOpenFlags | O_NOFOLLOW);
        if (fd < 0)
            return errno != ELOOP && errno != ENOENT;
        if (::fstat(fd, &st) != 0 || !(S_ISREG(st.st_mode) || S_ISDIR(st.st_mode))) {
            ::close(fd);
            return true;
        }
        if (S_ISDIR(st.st_mode)) {
            ::close(fd);
            fd = -1;
            isFolder = true;
        }
        break;
    case DT_REG:
        break;
    case DT_DIR:
        isFolder = true;
        break;
    case DT_LNK:
    case DT_UNKNOWN: {
        struct stat st; // links followed
        const int r = folderFd >= 0 ? ::fstatat(folderFd, name.data(), &st, 0) : ::stat(path.constData(), &st);
        isFolder = r == 0 && S_ISDIR(st.st_mode);
        break;
    }
    default:
        return true; // FIFOs, devices and sockets are never mails
    }
    bool archive = false;
    if (isFolder) {
        if (!isAttachedMail(&path))
            return true;
        archive = true;
    }

    const QByteArrayView ext = mailname::extension(path);
    if (!isAcceptedEntry(name, ext, archive)) {
        if (fd >= 0)
            ::close(fd);
        return true;
    }

    if (fd < 0) {
        fd = folderFd >= 0 && !archive ? ::openat(folderFd, name.data(), kOpenFlags)
                                       : ::open(path.constData(), kOpenFlags);
        if (fd < 0)
            return true;
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            ::close(fd);
            return true;
        }
    }

    Title &title = titles.emplace_back(prototype_);
    title.setArchiveState(archive);
    title.setCode(coding_.defaultCode());
    setStateOfEntry(name, ext, title);
    if (title.archiveState())
        title.setCode(coding_.multipartFileCoding());
    if (title.sendState())
        title.setCode(coding_.sendFileCoding());
    title.setPath(path);

    readHeaders(fd, st.st_size, title);
    if (afterRead && ::fstat(fd, afterRead) != 0)
        *afterRead = st;
    // A mail being written carries the date it was last saved, whatever its
    // Date line says (fstat of the opened file: links followed).
    if (title.sendState())
        title.setDate(MailDate::fromUnixTimeLocal(st.st_mtime));
    ::close(fd);
    return true;
}

void TitleScanner::readHeaders(int fd, off_t fileSize, Title &title)
{
    MailPieceReader reader(buffer_, fd, fileSize);
    const bool send = title.sendState();
    bool fromFound = false, subjectFound = false, bodyFollows = false;
    size_t len = 0;
    char *line;

    // Header phase: up to a piece whose first byte is "\n". A CR LF file has
    // none, so its header phase runs to the end of the file.
    while ((line = reader.next(&len))) {
        if (line[0] == '\n') {
            bodyFollows = true;
            break;
        }
        if (line[len - 1] == '\n')
            line[len - 1] = '\0'; // one trailing line feed goes
        if (!send && HeadStrCL(kFromTag, line)) {
            takeValue(fromValue_, line + tagLength(kFromTag));
            fromFound = true;
        } else if (send && HeadStrCL(kToTag, line)) {
            takeValue(fromValue_, line + tagLength(kToTag));
            fromFound = true;
        } else if (HeadStrCL(kSubjectTag, line)) {
            takeValue(subjectValue_, line + tagLength(kSubjectTag));
            subjectFound = true;
        } else if (HeadStrCL(kDateTag, line)) {
            const std::optional<MailDate> date = CString2Date(line + tagLength(kDateTag));
            title.setDate(date ? *date : MailDate());
        }
    }

    // Charset phase: lines keep their line feed, and only those whose first
    // byte is "C" or "X" (case-sensitive) are looked at. A known X-WEX-CharSet
    // wins over everything; otherwise the first Content-Type line counts and
    // the file is read to its end.
    bool charsetSeen = false, contentTypeSeen = false;
    while (bodyFollows && (line = reader.nextStartingWith('C', 'X', &len))) {
        if (!charsetSeen && HeadStrCL(kWexCharsetTag, line)) {
            charsetSeen = true;
            const char *rest = line + tagLength(kWexCharsetTag);
            const uint32_t code =
                coding_.codeFromCharset(QByteArrayView(rest, qsizetype(std::strlen(rest))), true);
            if (code != kCodeNotFound) {
                title.setCode(code);
                break;
            }
            if (contentTypeSeen)
                break;
            continue;
        }
        if (contentTypeSeen)
            continue;
        for (const char *tag : kContentTypeTags) {
            if (readContentType(tag, line, title)) {
                contentTypeSeen = true;
                break;
            }
        }
        if (contentTypeSeen && charsetSeen)
            break;
    }

    // Values whose bytes are not valid in the file coding show as empty text.
    if (fromFound || subjectFound) {
        const uint32_t encoding = coding_.fileCodeFromCode(title.code());
        if (fromFound)
            title.setFrom(decoder_.decode(QByteArrayView(fromValue_.data(), qsizetype(fromValue_.size())), encoding)
                              .value_or(QString()));
        if (subjectFound)
            title.setSubject(
                decoder_.decode(QByteArrayView(subjectValue_.data(), qsizetype(subjectValue_.size())), encoding)
                    .value_or(QString()));
    }
}

} // namespace wex
