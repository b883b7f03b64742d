#include "ChainWalk.h"

#include "Aliases.h"
#include "FolderEntries.h"
#include "LineReader.h"
#include "TitleScanner.h"

#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace wex {

namespace {

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

bool StartsWithIgnoringCase(QByteArrayView line, QByteArrayView tag)
{
    if (line.size() < tag.size())
        return false;
    for (qsizetype i = 0; i < tag.size(); ++i)
        if (LowerAscii(line[i]) != LowerAscii(tag[i]))
            return false;
    return true;
}

} // namespace

ChainWalk::ChainWalk(TitleScanner &scanner, const QByteArray &root) : scanner_(scanner), root_(root) {}

bool ChainWalk::IsReferenceId(QByteArrayView id)
{
    constexpr qsizetype kLongest = NAME_MAX - qsizetype(sizeof kAncestorExtension); // less "." + extension
    static_assert(sizeof kAncestorExtension == sizeof kDescendantExtension);
    return !id.isEmpty() && id != "." && id != ".." && !id.contains('/') && !id.contains('\0')
        && id.size() <= kLongest;
}

QByteArray ChainWalk::referenceFolder(QByteArrayView id, QByteArrayView extension) const
{
    QByteArray folder = root_;
    folder += "/temp/refByAliases/";
    folder += id;
    folder += '.';
    folder += extension;
    return folder;
}

TitleArray ChainWalk::chainTitleArray(const QByteArray &mail, bool *mailScanned)
{
    listed_.clear();
    keyOfResolved_.clear();
    followed_.clear();

    TitleArray titles;
    const QByteArray key = listOnce(mail, titles);
    if (mailScanned)
        *mailScanned = !titles.empty();
    // An alias usually names the mail by its real path, which may differ from
    // the path the mail was given by (a folder reached through a link).
    if (char *real = ::realpath(key.constData(), nullptr)) {
        keyOfResolved_.insert(QByteArray(real), key);
        std::free(real);
    }
    followed_[kAncestorExtension].insert(key);
    followed_[kDescendantExtension].insert(key);
    chainArray(titles, key, kInReplyToTag, kAncestorExtension, kLevels);
    chainArray(titles, key, kMessageIdTag, kDescendantExtension, kLevels);
    return titles;
}

QByteArray ChainWalk::listOnce(const QByteArray &resolved, TitleArray &titles)
{
    if (const auto known = keyOfResolved_.constFind(resolved); known != keyOfResolved_.constEnd())
        return *known;
    const size_t before = titles.size();
    scanner_.addTitleOf(TitleScanner::wholeMailOf(resolved), titles);
    QByteArray key = resolved;
    if (titles.size() > before) {
        key = titles.back().path();
        if (listed_.contains(key))
            titles.pop_back();
        else
            listed_.insert(key);
    }
    keyOfResolved_.insert(resolved, key);
    return key;
}

void ChainWalk::chainArray(TitleArray &titles, const QByteArray &mail, QByteArrayView header,
                           QByteArrayView extension, int count)
{
    if (count <= 0 || root_.isEmpty())
        return;
    QByteArray id;
    if (!inReplyToMID(&id, mail, header) || !IsReferenceId(id))
        return;
    std::vector<QByteArray> entries;
    if (!WalkFolderDepthFirst(referenceFolder(id, extension), &entries))
        return;
    const QByteArray direction = extension.toByteArray();
    QByteArray resolved;
    for (const QByteArray &entry : entries) {
        if (SFResolveAliasPath(entry, &resolved) != 0)
            continue; // an alias whose target is gone
        const QByteArray key = listOnce(resolved, titles);
        // A mail met at the last level is not marked: met again higher up,
        // it can still be followed.
        if (count <= 1)
            continue;
        QSet<QByteArray> &followed = followed_[direction];
        if (followed.contains(key))
            continue;
        followed.insert(key);
        chainArray(titles, key, header, extension, count - 1);
    }
}

bool ChainWalk::inReplyToMID(QByteArray *id, const QByteArray &mail, QByteArrayView header)
{
    if (mail.isEmpty() || mail.contains('\0'))
        return false;
    const int fd = ::open(mail.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    struct stat st;
    bool found = false;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        LineReader lines(buffer_, fd);
        QByteArrayView line;
        bool cut = false;
        while (lines.next(&line, &cut)) {
            if (!StartsWithIgnoringCase(line, header))
                continue;
            if (!cut && line.endsWith('\n'))
                line.chop(1);
            const qsizetype skip = header.size() + 1; // the tag and the blank after it
            *id = line.size() > skip ? line.sliced(skip).toByteArray() : QByteArray();
            found = true;
            break;
        }
    }
    ::close(fd);
    return found;
}

} // namespace wex
