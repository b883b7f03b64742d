#include "CachedEntries.h"

#include "MailName.h"

#include <algorithm>
#include <sys/stat.h>

namespace wex {

namespace {

constexpr size_t kFoldersKept = 8;

// The key of path; links followed (as the scan follows them) when follow.
bool keyOf(const QByteArray &path, bool follow, FileKey *key, mode_t *mode)
{
    struct stat st;
    if ((follow ? ::stat(path.constData(), &st) : ::lstat(path.constData(), &st)) != 0)
        return false;
    *key = FileKey::of(st);
    *mode = st.st_mode;
    return true;
}

} // namespace

CachedEntries::CachedEntries(TitleScanner &scanner, bool useCache, QByteArray cacheDirectory)
    : scanner_(scanner),
      enabled_(useCache && TitleCacheEnabledByEnvironment()),
      directory_(cacheDirectory.isEmpty() ? TitleCacheDirectory() : std::move(cacheDirectory))
{
    if (!enabled_ || directory_.isEmpty())
        return;
    fingerprint_ = TitleCacheFingerprint(scanner_.coding(), prototype_);
    scanner_.setEntryCache(this);
}

CachedEntries::~CachedEntries()
{
    if (enabled_ && !directory_.isEmpty())
        scanner_.setEntryCache(nullptr);
}

const FolderTitleCache &CachedEntries::cacheOf(const QByteArray &folder)
{
    for (size_t i = 0; i < loaded_.size(); ++i) {
        if (loaded_[i].folder == folder) {
            std::rotate(loaded_.begin() + ptrdiff_t(i), loaded_.begin() + ptrdiff_t(i) + 1, loaded_.end());
            return loaded_.back().cache;
        }
    }
    if (loaded_.size() == kFoldersKept)
        loaded_.erase(loaded_.begin());
    loaded_.push_back({folder, FolderTitleCache::load(directory_, folder, fingerprint_)});
    return loaded_.back().cache;
}

bool CachedEntries::appendCachedTitle(const QByteArray &path, bool followLinks, TitleArray &titles)
{
    const qsizetype base = mailname::baseStart(path);
    if (base == 0)
        return false;
    const QByteArrayView name = QByteArrayView(path).sliced(base);
    if (!TitleScanner::isMailName(name))
        return false;
    // A folder's cache is filed under its path without trailing slashes.
    QByteArray folder = path.first(base);
    while (folder.size() > 1 && folder.endsWith('/'))
        folder.chop(1);

    const FolderTitleCache &cache = cacheOf(folder);
    const ptrdiff_t found = cache.find(name);
    if (found < 0)
        return false;
    const FolderTitleCache::Entry e = cache.entry(size_t(found));
    FileKey key;
    mode_t mode = 0;
    if (!keyOf(path, followLinks, &key, &mode) || key != e.key)
        return false;
    if (e.kind == FolderTitleCache::File) {
        if (!S_ISREG(mode))
            return false;
        titles.push_back(cache.title(size_t(found), prototype_, path));
    } else {
        const QByteArray main = path + '/' + e.mainName.toByteArray();
        FileKey mainKey;
        mode_t mainMode = 0;
        if (!S_ISDIR(mode) || !keyOf(main, true, &mainKey, &mainMode) || mainKey != e.mainKey)
            return false;
        titles.push_back(cache.title(size_t(found), prototype_, main));
    }
    ++hits_;
    return true;
}

} // namespace wex
