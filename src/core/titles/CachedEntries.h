#pragma once
// Single mails looked up in the header cache of the folder that holds them,
// as that folder's own listing would find them: for the lists that scan mails
// one by one from many folders (the unread list, the related mails).
//
// Read-only: a miss is scanned by the scanner as usual and nothing is
// written back (only a whole folder's scan knows which entries are gone). A
// folder's cache file is read once, when the first of its mails is asked
// for; the last few folders' caches are kept.
#include "TitleCache.h"
#include "TitleScanner.h"

#include <QByteArray>
#include <vector>

namespace wex {

class CachedEntries : public TitleScanner::EntryCache {
public:
    // Becomes the scanner's entry cache for its lifetime, unless useCache is
    // false or WEX_NO_CACHE is set. The scanner must outlive it.
    explicit CachedEntries(TitleScanner &scanner, bool useCache = true, QByteArray cacheDirectory = QByteArray());
    ~CachedEntries() override;
    CachedEntries(const CachedEntries &) = delete;
    CachedEntries &operator=(const CachedEntries &) = delete;

    bool appendCachedTitle(const QByteArray &path, bool followLinks, TitleArray &titles) override;
    size_t hits() const { return hits_; }

private:
    const FolderTitleCache &cacheOf(const QByteArray &folder);

    TitleScanner &scanner_;
    bool enabled_;
    QByteArray directory_;
    QByteArray fingerprint_;
    Title prototype_;
    struct Loaded {
        QByteArray folder;
        FolderTitleCache cache;
    };
    std::vector<Loaded> loaded_; // most recently used last
    size_t hits_ = 0;
};

} // namespace wex
