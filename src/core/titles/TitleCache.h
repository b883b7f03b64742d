#pragma once
// The header cache of one mail folder: what a scan gave for each mail file,
// kept under $XDG_CACHE_HOME/wex-browser/ so that a folder shown again needs
// a stat per mail instead of a read of every byte.
//
// Contract of an entry: it describes the file (or attachment folder and its
// main text) whose identity and times it records, and it is used only while
// that identity is unchanged: same device, inode, size, modification and
// change time to the nanosecond. The title's path never comes from the cache:
// it is rebuilt from the folder listing. A cache file that is missing,
// unreadable, truncated, damaged (checksum), foreign, from another format
// version, written for another folder or under other scan settings (coding
// list, default texts, library versions) is ignored as a whole.
//
// Nothing here writes into a mail folder: the cache lives in its own folder,
// and a cache folder that lies inside the folder being scanned or inside the
// store root is not written to.
#include "Title.h"

#include <QByteArray>
#include <QByteArrayView>
#include <cstdint>
#include <ctime>
#include <memory>
#include <optional>
#include <sys/stat.h>
#include <vector>

namespace wex {

class Coding;

// The identity and times of a file as stat gives them (links followed).
struct FileKey {
    uint64_t device = 0;
    uint64_t inode = 0;
    int64_t size = 0;
    int64_t mtimeSec = 0;
    uint32_t mtimeNsec = 0;
    int64_t ctimeSec = 0;
    uint32_t ctimeNsec = 0;

    static FileKey of(const struct stat &st);
    bool operator==(const FileKey &) const = default;
    // True when neither time lies after `before`: the file has not changed
    // since then (a time in the future is never settled).
    bool settledBefore(const timespec &before) const;
};

// The cache folder: $XDG_CACHE_HOME/wex-browser when XDG_CACHE_HOME is an
// absolute path, else $HOME/.cache/wex-browser; empty when neither is known.
QByteArray TitleCacheDirectory();
// The cache file of a folder inside the cache folder: a hash of the folder's
// path bytes and a readable tail of its last component.
QByteArray TitleCacheFileName(const QByteArray &folder);
// False when WEX_NO_CACHE is set to anything but "" or "0".
bool TitleCacheEnabledByEnvironment();

// A file must have stood unchanged this long before its entry is kept (its
// content may still be changing). Two seconds; tests may shorten it.
int64_t TitleCacheSettleNanoseconds();
void SetTitleCacheSettleNanosecondsForTesting(int64_t nanoseconds);
// The moment before which a file must have last changed to be cached, for a
// scan that starts now.
timespec TitleCacheSettleLimit();

// Digest of everything besides a file's bytes that a scan's result depends
// on: the scan's own revision, the coding tables, the default From and
// Subject texts, the Qt and C library versions. A cache written under
// another fingerprint is not used.
QByteArray TitleCacheFingerprint(const Coding &coding, const Title &prototype);

// The checksum a cache file carries over its body (tests forge files with it).
uint64_t TitleCacheChecksum(const char *data, size_t size);

// One folder's cache file, read and checked as a whole when loaded; its
// entries are decoded from the file's bytes when asked for.
class FolderTitleCache {
public:
    enum Kind : uint8_t { File = 0, AttachmentFolder = 1 };

    // One entry; its views point into the cache's own bytes and live as long
    // as the cache does.
    struct Entry {
        QByteArrayView name;     // entry name in the folder
        Kind kind = File;
        FileKey key;             // the file, or the attachment folder
        FileKey mainKey;         // attachment folders: the main text file
        QByteArrayView mainName; // attachment folders: the main text's name in it
        QByteArrayView raw;      // the entry's bytes, copied as they are on write-back
    };

    FolderTitleCache() = default;
    // Reads the cache of folder from directory; an empty cache when there is
    // none or it is not to be trusted (see the contract above).
    static FolderTitleCache load(const QByteArray &directory, const QByteArray &folder,
                                 const QByteArrayView fingerprint);
    // The same check of a cache file's bytes already in memory.
    static FolderTitleCache fromBytes(const std::vector<char> &bytes, QByteArrayView folder,
                                      QByteArrayView fingerprint);

    size_t size() const { return spans_.size(); }
    Entry entry(size_t i) const;
    QByteArrayView name(size_t i) const;
    // Entries are in byte order of their names; -1 when name has none.
    ptrdiff_t find(QByteArrayView name) const;
    // The title entry i records, with the given path. The prototype gives the
    // defaults; a mail in send state takes the local time of its file's
    // modification as its date, as a scan does.
    Title title(size_t i, const Title &prototype, const QByteArray &path) const;
    // The same into a title that exists already: every field a scan sets is
    // overwritten.
    void fillTitle(size_t i, const QByteArray &path, Title *title) const;

private:
    // Takes the file's bytes (size_ of them) and keeps them when they pass
    // every check; otherwise the cache ends up empty.
    void adopt(std::unique_ptr<char[]> bytes, size_t size, QByteArrayView folder, QByteArrayView fingerprint);
    bool parse(QByteArrayView folder, QByteArrayView fingerprint);

    struct Span {
        uint32_t offset;
        uint32_t length;
    };
    // Not a vector: a cache file of many megabytes is read straight into
    // memory that was never zero-filled first.
    std::unique_ptr<char[]> bytes_;
    size_t size_ = 0;
    std::vector<Span> spans_;
};

// Builds a folder's cache file entry by entry, in byte order of the names,
// and puts it in place atomically (written whole under a temporary name in
// the cache folder, then renamed over the old file).
class FolderTitleCacheWriter {
public:
    FolderTitleCacheWriter(const QByteArray &folder, const QByteArray &fingerprint);
    // An entry of a fresh scan. For an attachment folder, mainKey is its main
    // text's key and the title's path ends in the main text's name.
    void add(QByteArrayView name, const Title &title, const FileKey &key, const FileKey *mainKey);
    // An unchanged entry of the old cache, copied as it was.
    void addUnchanged(const FolderTitleCache::Entry &entry);
    size_t count() const { return count_; }
    // Writes the file into directory (made when missing, mode 0700). False
    // when anything fails; the old cache file is then left as it was.
    bool commit(const QByteArray &directory);

private:
    QByteArray folder_;
    std::vector<char> body_;
    size_t countAt_ = 0;
    size_t count_ = 0;
};

} // namespace wex
