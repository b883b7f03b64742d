#include "TitleCache.h"

#include "Coding.h"
#include "MailName.h"
#include "StoreLocations.h"

#include <QCryptographicHash>
#include <QtEndian>
#include <QtGlobal>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <gnu/libc-version.h>
#include <unistd.h>
#include <utility>

// File layout (little-endian throughout):
//   header  "WEXTCACH", u32 version, u32 reserved (0), u64 body length,
//           u64 checksum of the body
//   body    u32 length + fingerprint, u32 length + folder path bytes,
//           u32 entry count, entries in byte order of their names
//   entry   u16 name length + name; u8 kind; u8 flags (bit k: the k-th state
//           flag A U R H S X E); u32 code; u8 date kind (0 empty, 1 set);
//           i64 seconds; i32 offset; key; for an attachment folder also the
//           main text's key and u16 length + its name; u32 units + From,
//           u32 units + Subject (UTF-16)
//   key     u64 device, u64 inode, i64 size, i64 mtime s, u32 mtime ns,
//           i64 ctime s, u32 ctime ns
// Every length is checked against what is left before it is used, so no
// file, however made, can make the reader overrun or allocate beyond the
// file's own size.

namespace wex {

namespace {

constexpr char kMagic[8] = {'W', 'E', 'X', 'T', 'C', 'A', 'C', 'H'};
constexpr uint32_t kVersion = 1;
constexpr size_t kHeaderSize = 8 + 4 + 4 + 8 + 8;
// Far beyond any folder (100,000 mails take about 25 MB); a larger file is
// not read at all.
constexpr int64_t kMaxFileSize = int64_t(1) << 30;
// Raised whenever the scan's result for the same bytes changes, so that no
// cache written by an older scan is used.
constexpr int kScanRevision = 1;

std::atomic<int64_t> gSettleNanoseconds{2'000'000'000};

// Sums every byte: each 8-byte step is a bijection of the running state, so
// a change confined to one word always changes the result.
uint64_t Checksum(const char *p, size_t n)
{
    constexpr uint64_t kMul = 0xff51afd7ed558ccdull;
    uint64_t h = 0x9e3779b97f4a7c15ull ^ n;
    size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        uint64_t w;
        std::memcpy(&w, p + i, 8);
        h = (h ^ qFromLittleEndian(w)) * kMul;
        h ^= h >> 32;
    }
    for (; i < n; ++i) {
        h = (h ^ uint8_t(p[i])) * kMul;
        h ^= h >> 32;
    }
    h ^= h >> 29;
    h *= 0xc4ceb9fe1a85ec53ull;
    return h ^ (h >> 32);
}

// Bounds-checked reading of the little-endian fields.
class Cursor {
public:
    Cursor(const char *data, size_t size) : p_(data), left_(size) {}
    template <typename T> bool get(T *v)
    {
        if (left_ < sizeof(T))
            return false;
        T raw;
        std::memcpy(&raw, p_, sizeof raw);
        *v = qFromLittleEndian(raw);
        p_ += sizeof raw;
        left_ -= sizeof raw;
        return true;
    }
    bool bytes(size_t n, const char **at)
    {
        if (left_ < n)
            return false;
        *at = p_;
        p_ += n;
        left_ -= n;
        return true;
    }
    const char *position() const { return p_; }

private:
    const char *p_;
    size_t left_;
};

template <typename T> void put(std::vector<char> &out, T v)
{
    const T le = qToLittleEndian(v);
    const char *p = reinterpret_cast<const char *>(&le);
    out.insert(out.end(), p, p + sizeof le);
}

void putBytes(std::vector<char> &out, QByteArrayView bytes) { out.insert(out.end(), bytes.begin(), bytes.end()); }

void putKey(std::vector<char> &out, const FileKey &k)
{
    put(out, k.device);
    put(out, k.inode);
    put(out, k.size);
    put(out, k.mtimeSec);
    put(out, k.mtimeNsec);
    put(out, k.ctimeSec);
    put(out, k.ctimeNsec);
}

bool getKey(Cursor &c, FileKey *k)
{
    return c.get(&k->device) && c.get(&k->inode) && c.get(&k->size) && c.get(&k->mtimeSec) && c.get(&k->mtimeNsec)
        && c.get(&k->ctimeSec) && c.get(&k->ctimeNsec) && k->mtimeNsec < 1'000'000'000u
        && k->ctimeNsec < 1'000'000'000u && k->size >= 0;
}

void putText(std::vector<char> &out, const QString &text)
{
    put(out, uint32_t(text.size()));
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    const char *units = reinterpret_cast<const char *>(text.utf16());
    out.insert(out.end(), units, units + size_t(text.size()) * 2);
#else
    const char16_t *s = reinterpret_cast<const char16_t *>(text.utf16());
    for (qsizetype i = 0; i < text.size(); ++i)
        put(out, s[i]);
#endif
}

QString textOf(const char *units, uint32_t count)
{
    QString s(qsizetype(count), Qt::Uninitialized);
    std::memcpy(s.data(), units, size_t(count) * 2);
#if Q_BYTE_ORDER == Q_BIG_ENDIAN
    for (QChar &c : s)
        c = QChar(qFromLittleEndian(c.unicode()));
#endif
    return s;
}

// A name that can stand in a folder listing as a mail: no "/", no NUL, not
// hidden, not empty.
bool plainName(QByteArrayView name)
{
    return !name.isEmpty() && name[0] != '.' && !name.contains('/') && !name.contains('\0');
}

// Byte order of names, as the scan sorts them (strcmp on names without NUL).
int compareNames(QByteArrayView a, QByteArrayView b)
{
    const int c = std::memcmp(a.data(), b.data(), size_t(std::min(a.size(), b.size())));
    if (c != 0)
        return c;
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

constexpr uint8_t kArchiveBit = 1;

uint8_t flagsOf(const Title &t)
{
    const uint8_t flags[] = {t.archiveState(), t.unreadState(), t.replyState(), t.htmlState(),
                             t.sendState(),    t.noMainState(), t.errorState()};
    uint8_t bits = 0;
    for (size_t k = 0; k < sizeof flags; ++k)
        bits |= uint8_t((flags[k] ? 1u : 0u) << k);
    return bits;
}

// Everything an entry holds, decoded and checked.
struct Decoded {
    FolderTitleCache::Entry entry;
    uint8_t flags = 0;
    uint32_t code = 0;
    uint8_t dateKind = 0;
    int64_t seconds = 0;
    int32_t offset = 0;
    const char *from = nullptr;
    uint32_t fromUnits = 0;
    const char *subject = nullptr;
    uint32_t subjectUnits = 0;
};

// The date an entry records; nullopt when the fields are not a date a scan
// can produce (then the cache is not to be trusted).
std::optional<MailDate> dateOf(uint8_t kind, int64_t seconds, int32_t offset)
{
    if (kind == 0)
        return MailDate();
    constexpr int64_t kBound = int64_t(1) << 62;
    if (kind != 1 || seconds > kBound || seconds < -kBound)
        return std::nullopt;
    const MailDate d = MailDate::fromFields(1970, 1, 1, 0, 0, seconds + offset, offset);
    if (d.secondsSinceEpoch() != seconds || d.offsetSeconds() != offset)
        return std::nullopt;
    return d;
}

// Decodes the entry at the start of data; its length, or 0 when it is not
// a well-formed entry. The date is checked only when checkDate is set: the
// whole file was checked when it was loaded.
size_t decodeEntry(const char *data, size_t size, Decoded *out, bool checkDate = true)
{
    Cursor c(data, size);
    uint16_t nameLength = 0;
    const char *name = nullptr;
    uint8_t kind = 0;
    if (!c.get(&nameLength) || !c.bytes(nameLength, &name) || !c.get(&kind) || !c.get(&out->flags)
        || !c.get(&out->code) || !c.get(&out->dateKind) || !c.get(&out->seconds) || !c.get(&out->offset)
        || !getKey(c, &out->entry.key))
        return 0;
    out->entry.name = QByteArrayView(name, nameLength);
    if (!plainName(out->entry.name) || kind > FolderTitleCache::AttachmentFolder || out->flags > 0x7F
        || bool(out->flags & kArchiveBit) != (kind == FolderTitleCache::AttachmentFolder))
        return 0;
    out->entry.kind = FolderTitleCache::Kind(kind);
    out->entry.mainKey = FileKey();
    out->entry.mainName = QByteArrayView();
    if (kind == FolderTitleCache::AttachmentFolder) {
        uint16_t mainLength = 0;
        const char *main = nullptr;
        if (!getKey(c, &out->entry.mainKey) || !c.get(&mainLength) || !c.bytes(mainLength, &main))
            return 0;
        out->entry.mainName = QByteArrayView(main, mainLength);
        if (mainLength == 0 || out->entry.mainName.contains('/') || out->entry.mainName.contains('\0'))
            return 0;
    }
    if (!c.get(&out->fromUnits) || !c.bytes(size_t(out->fromUnits) * 2, &out->from) || !c.get(&out->subjectUnits)
        || !c.bytes(size_t(out->subjectUnits) * 2, &out->subject))
        return 0;
    if (checkDate && !dateOf(out->dateKind, out->seconds, out->offset))
        return 0;
    const size_t length = size_t(c.position() - data);
    out->entry.raw = QByteArrayView(data, qsizetype(length));
    return length;
}

bool absolute(const char *path) { return path && path[0] == '/'; }

// The path with links resolved as far as it exists; the rest appended as
// written. Empty when not even "/" resolves.
QByteArray resolved(const QByteArray &path)
{
    QByteArray head = path, tail;
    for (;;) {
        if (char *r = ::realpath(head.isEmpty() ? "/" : head.constData(), nullptr)) {
            QByteArray out(r);
            std::free(r);
            if (!tail.isEmpty())
                out += (out.endsWith('/') ? "" : "/") + tail;
            return out;
        }
        const qsizetype slash = head.lastIndexOf('/');
        if (slash < 0)
            return QByteArray();
        tail = tail.isEmpty() ? head.mid(slash + 1) : head.mid(slash + 1) + '/' + tail;
        head.truncate(slash);
    }
}

// Whether inner is outer or lies below it, links resolved.
bool isInside(const QByteArray &inner, const QByteArray &outer)
{
    if (outer.isEmpty())
        return false;
    const QByteArray in = resolved(inner), out = resolved(outer);
    if (in.isEmpty() || out.isEmpty())
        return true; // cannot tell: the safe answer
    return in == out || (in.startsWith(out) && (out.endsWith('/') || in.at(out.size()) == '/'));
}

// Makes the folder and its missing parents with mode 0700.
bool makeFolders(const QByteArray &path)
{
    struct stat st;
    if (::stat(path.constData(), &st) == 0)
        return S_ISDIR(st.st_mode);
    const qsizetype slash = path.lastIndexOf('/');
    if (slash > 0 && !makeFolders(path.first(slash)))
        return false;
    return ::mkdir(path.constData(), 0700) == 0 || errno == EEXIST;
}

bool writeAll(int fd, const char *p, size_t n)
{
    while (n > 0) {
        const ssize_t w = ::write(fd, p, n);
        if (w < 0 && errno == EINTR)
            continue;
        if (w <= 0)
            return false;
        p += w;
        n -= size_t(w);
    }
    return true;
}

} // namespace

uint64_t TitleCacheChecksum(const char *data, size_t size) { return Checksum(data, size); }

FileKey FileKey::of(const struct stat &st)
{
    FileKey k;
    k.device = uint64_t(st.st_dev);
    k.inode = uint64_t(st.st_ino);
    k.size = int64_t(st.st_size);
    k.mtimeSec = int64_t(st.st_mtim.tv_sec);
    k.mtimeNsec = uint32_t(st.st_mtim.tv_nsec);
    k.ctimeSec = int64_t(st.st_ctim.tv_sec);
    k.ctimeNsec = uint32_t(st.st_ctim.tv_nsec);
    return k;
}

bool FileKey::settledBefore(const timespec &before) const
{
    auto earlier = [&](int64_t sec, uint32_t nsec) {
        return sec < int64_t(before.tv_sec) || (sec == int64_t(before.tv_sec) && int64_t(nsec) < before.tv_nsec);
    };
    return earlier(mtimeSec, mtimeNsec) && earlier(ctimeSec, ctimeNsec);
}

QByteArray TitleCacheDirectory()
{
    const char *xdg = std::getenv("XDG_CACHE_HOME");
    if (absolute(xdg))
        return QByteArray(xdg) + "/wex-browser";
    const char *home = std::getenv("HOME");
    if (absolute(home))
        return QByteArray(home) + "/.cache/wex-browser";
    return QByteArray();
}

QByteArray TitleCacheFileName(const QByteArray &folder)
{
    QByteArray name = QCryptographicHash::hash(folder, QCryptographicHash::Sha1).toHex();
    QByteArrayView tail = folder;
    while (tail.size() > 1 && tail.endsWith('/'))
        tail.chop(1);
    tail = mailname::baseName(tail);
    name += '-';
    qsizetype kept = 0;
    for (char c : tail) {
        if (kept == 40)
            break;
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-'
            || c == '_' || (c == '.' && kept > 0);
        name += plain ? c : '_';
        ++kept;
    }
    return name + ".titles";
}

bool TitleCacheEnabledByEnvironment()
{
    const char *off = std::getenv("WEX_NO_CACHE");
    return !off || !*off || std::strcmp(off, "0") == 0;
}

int64_t TitleCacheSettleNanoseconds() { return gSettleNanoseconds.load(std::memory_order_relaxed); }

void SetTitleCacheSettleNanosecondsForTesting(int64_t nanoseconds)
{
    gSettleNanoseconds.store(nanoseconds, std::memory_order_relaxed);
}

timespec TitleCacheSettleLimit()
{
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    const int64_t settle = TitleCacheSettleNanoseconds();
    int64_t sec = int64_t(now.tv_sec) - settle / 1'000'000'000;
    int64_t nsec = int64_t(now.tv_nsec) - settle % 1'000'000'000;
    if (nsec < 0) {
        nsec += 1'000'000'000;
        --sec;
    }
    return timespec{time_t(sec), long(nsec)};
}

QByteArray TitleCacheFingerprint(const Coding &coding, const Title &prototype)
{
    QCryptographicHash hash(QCryptographicHash::Sha1);
    auto number = [&](uint64_t v) {
        const uint64_t le = qToLittleEndian(v);
        hash.addData(QByteArrayView(reinterpret_cast<const char *>(&le), sizeof le));
    };
    auto text = [&](QByteArrayView bytes) {
        number(uint64_t(bytes.size()));
        hash.addData(bytes);
    };
    auto table = [&](const QHash<QByteArray, uint32_t> &dict) {
        QList<QByteArray> keys = dict.keys();
        std::sort(keys.begin(), keys.end());
        number(uint64_t(keys.size()));
        for (const QByteArray &k : keys) {
            text(k);
            number(dict.value(k));
        }
    };
    text("wex-browser titles");
    number(kScanRevision);
    text(qVersion());
    text(gnu_get_libc_version());
    number(coding.defaultCode());
    number(coding.multipartFileCoding());
    number(coding.sendFileCoding());
    for (uint32_t code = 0; code <= kCodeCount + 1; ++code)
        number(coding.fileCodeFromCode(code));
    table(coding.charsetCodeDict());
    table(coding.wexCharsetCodeDict());
    text(prototype.from().toUtf8());
    text(prototype.subject().toUtf8());
    const MailDate &d = prototype.date();
    number(d.isEmpty());
    number(uint64_t(d.secondsSinceEpoch()));
    number(uint64_t(int64_t(d.offsetSeconds())));
    number(prototype.code());
    return hash.result();
}

FolderTitleCache FolderTitleCache::load(const QByteArray &directory, const QByteArray &folder,
                                        const QByteArrayView fingerprint)
{
    if (directory.isEmpty())
        return FolderTitleCache();
    const QByteArray path = directory + '/' + TitleCacheFileName(folder);
    // Non-blocking: a FIFO put in the file's place must not hang the scan.
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0)
        return FolderTitleCache();
    std::unique_ptr<char[]> bytes;
    size_t size = 0;
    struct stat st;
    const bool usable = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid()
        && st.st_size >= off_t(kHeaderSize) && st.st_size <= kMaxFileSize;
    if (usable) {
        size = size_t(st.st_size);
        bytes.reset(new char[size]);
        size_t got = 0;
        while (got < size) {
            const ssize_t n = ::read(fd, bytes.get() + got, size - got);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            got += size_t(n);
        }
        // One more byte would mean the file grew while it was read.
        char extra;
        if (got != size || ::read(fd, &extra, 1) != 0) {
            bytes.reset();
            size = 0;
        }
    }
    ::close(fd);
    FolderTitleCache cache;
    cache.adopt(std::move(bytes), size, folder, fingerprint);
    return cache;
}

FolderTitleCache FolderTitleCache::fromBytes(const std::vector<char> &bytes, QByteArrayView folder,
                                             QByteArrayView fingerprint)
{
    std::unique_ptr<char[]> copy(new char[bytes.size() + 1]);
    if (!bytes.empty())
        std::memcpy(copy.get(), bytes.data(), bytes.size());
    FolderTitleCache cache;
    cache.adopt(std::move(copy), bytes.size(), folder, fingerprint);
    return cache;
}

void FolderTitleCache::adopt(std::unique_ptr<char[]> bytes, size_t size, QByteArrayView folder,
                             QByteArrayView fingerprint)
{
    bytes_ = std::move(bytes);
    size_ = size;
    if (!bytes_ || size_ < kHeaderSize || size_ > size_t(kMaxFileSize) || !parse(folder, fingerprint)) {
        bytes_.reset();
        size_ = 0;
        spans_.clear();
        spans_.shrink_to_fit();
    }
}

bool FolderTitleCache::parse(QByteArrayView folder, QByteArrayView fingerprint)
{
    const char *data = bytes_.get();
    const size_t size = size_;
    Cursor header(data, kHeaderSize);
    const char *magic = nullptr;
    uint32_t version = 0, reserved = 0;
    uint64_t bodyLength = 0, checksum = 0;
    if (!header.bytes(sizeof kMagic, &magic) || std::memcmp(magic, kMagic, sizeof kMagic) != 0
        || !header.get(&version) || version != kVersion || !header.get(&reserved) || !header.get(&bodyLength)
        || !header.get(&checksum) || bodyLength != size - kHeaderSize
        || Checksum(data + kHeaderSize, size - kHeaderSize) != checksum)
        return false;

    Cursor body(data + kHeaderSize, size - kHeaderSize);
    uint32_t length = 0, count = 0;
    const char *at = nullptr;
    if (!body.get(&length) || !body.bytes(length, &at) || QByteArrayView(at, length) != fingerprint
        || !body.get(&length) || !body.bytes(length, &at) || QByteArrayView(at, length) != folder
        || !body.get(&count))
        return false;
    // Every entry takes more than 64 bytes: a count beyond that is a lie.
    const size_t left = size - size_t(body.position() - data);
    if (count > left / 64)
        return false;
    spans_.reserve(count);
    const char *p = body.position();
    const char *end = data + size;
    QByteArrayView previous;
    for (uint32_t i = 0; i < count; ++i) {
        Decoded d;
        const size_t n = decodeEntry(p, size_t(end - p), &d);
        if (n == 0 || (i > 0 && compareNames(previous, d.entry.name) >= 0))
            return false;
        previous = d.entry.name;
        spans_.push_back({uint32_t(p - data), uint32_t(n)});
        p += n;
    }
    return p == end;
}

FolderTitleCache::Entry FolderTitleCache::entry(size_t i) const
{
    Decoded d;
    decodeEntry(bytes_.get() + spans_[i].offset, spans_[i].length, &d, false);
    return d.entry;
}

QByteArrayView FolderTitleCache::name(size_t i) const
{
    const char *p = bytes_.get() + spans_[i].offset;
    uint16_t n;
    std::memcpy(&n, p, sizeof n);
    return QByteArrayView(p + sizeof n, qFromLittleEndian(n));
}

ptrdiff_t FolderTitleCache::find(QByteArrayView name) const
{
    size_t lo = 0, hi = spans_.size();
    while (lo < hi) {
        const size_t mid = lo + (hi - lo) / 2;
        const int c = compareNames(this->name(mid), name);
        if (c == 0)
            return ptrdiff_t(mid);
        if (c < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    return -1;
}

Title FolderTitleCache::title(size_t i, const Title &prototype, const QByteArray &path) const
{
    Title t = prototype;
    fillTitle(i, path, &t);
    return t;
}

void FolderTitleCache::fillTitle(size_t i, const QByteArray &path, Title *title) const
{
    Decoded d;
    decodeEntry(bytes_.get() + spans_[i].offset, spans_[i].length, &d, false);
    Title &t = *title;
    t.setArchiveState(d.flags & (1u << 0));
    t.setUnreadState(d.flags & (1u << 1));
    t.setReplyState(d.flags & (1u << 2));
    t.setHtmlState(d.flags & (1u << 3));
    t.setSendState(d.flags & (1u << 4));
    t.setNoMainState(d.flags & (1u << 5));
    t.setErrorState(d.flags & (1u << 6));
    t.setCode(d.code);
    if (t.sendState()) {
        // The date of a mail being written is its file's, shown in the zone
        // of this run, which need not be the zone the cache was written in.
        const FileKey &read = d.entry.kind == AttachmentFolder ? d.entry.mainKey : d.entry.key;
        t.setDate(MailDate::fromUnixTimeLocal(read.mtimeSec));
    } else {
        t.setDate(*dateOf(d.dateKind, d.seconds, d.offset));
    }
    t.setFrom(textOf(d.from, d.fromUnits));
    t.setSubject(textOf(d.subject, d.subjectUnits));
    t.setPath(path);
}

FolderTitleCacheWriter::FolderTitleCacheWriter(const QByteArray &folder, const QByteArray &fingerprint)
    : folder_(folder)
{
    body_.reserve(4096);
    put(body_, uint32_t(fingerprint.size()));
    putBytes(body_, fingerprint);
    put(body_, uint32_t(folder.size()));
    putBytes(body_, folder);
    countAt_ = body_.size();
    put(body_, uint32_t(0)); // filled in by commit()
}

void FolderTitleCacheWriter::add(QByteArrayView name, const Title &title, const FileKey &key, const FileKey *mainKey)
{
    const bool attachment = mainKey != nullptr;
    const QByteArrayView mainName = mailname::baseName(title.path());
    if (name.size() > UINT16_MAX || mainName.size() > UINT16_MAX)
        return;
    const size_t start = body_.size();
    put(body_, uint16_t(name.size()));
    putBytes(body_, name);
    put(body_, uint8_t(attachment ? FolderTitleCache::AttachmentFolder : FolderTitleCache::File));
    put(body_, flagsOf(title));
    put(body_, title.code());
    const MailDate &date = title.date();
    put(body_, uint8_t(date.isEmpty() ? 0 : 1));
    put(body_, int64_t(date.secondsSinceEpoch()));
    put(body_, int32_t(date.offsetSeconds()));
    putKey(body_, key);
    if (attachment) {
        putKey(body_, *mainKey);
        put(body_, uint16_t(mainName.size()));
        putBytes(body_, mainName);
    }
    putText(body_, title.from());
    putText(body_, title.subject());
    // What the reader would refuse (and with it the whole file) is not kept.
    Decoded check;
    if (decodeEntry(body_.data() + start, body_.size() - start, &check) != body_.size() - start) {
        body_.resize(start);
        return;
    }
    ++count_;
}

void FolderTitleCacheWriter::addUnchanged(const FolderTitleCache::Entry &entry)
{
    putBytes(body_, entry.raw);
    ++count_;
}

bool FolderTitleCacheWriter::commit(const QByteArray &directory)
{
    // The cache is no mail: it is never written into the folder it describes
    // nor anywhere in the store, not even as a new folder.
    if (directory.isEmpty() || isInside(directory, folder_) || isInside(directory, wexRootPath())
        || !makeFolders(directory))
        return false;
    const uint32_t count = qToLittleEndian(uint32_t(count_));
    std::memcpy(body_.data() + countAt_, &count, sizeof count);

    std::vector<char> header;
    putBytes(header, QByteArrayView(kMagic, sizeof kMagic));
    put(header, kVersion);
    put(header, uint32_t(0));
    put(header, uint64_t(body_.size()));
    put(header, Checksum(body_.data(), body_.size()));

    static std::atomic<unsigned> serial{0};
    const QByteArray name = TitleCacheFileName(folder_);
    const QByteArray target = directory + '/' + name;
    const QByteArray temporary = directory + "/." + name + '.' + QByteArray::number(::getpid()) + '.'
        + QByteArray::number(serial.fetch_add(1)) + ".tmp";
    const int fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return false;
    bool ok = writeAll(fd, header.data(), header.size()) && writeAll(fd, body_.data(), body_.size());
    ok = ::close(fd) == 0 && ok;
    if (ok) {
        // An empty folder where the cache file belongs (a damaged cache
        // folder) would stop the rename; it holds nothing, so it goes.
        struct stat st;
        if (::lstat(target.constData(), &st) == 0 && S_ISDIR(st.st_mode))
            ::rmdir(target.constData());
        ok = ::rename(temporary.constData(), target.constData()) == 0;
    }
    if (!ok)
        ::unlink(temporary.constData());
    return ok;
}

} // namespace wex
