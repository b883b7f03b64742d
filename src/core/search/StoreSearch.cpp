#include "StoreSearch.h"

#include "Coding.h"
#include "FolderScan.h"
#include "MailFile.h"
#include "StoreFolders.h"

namespace wex {

namespace {

// A mail text larger than this is not searched for body words.
constexpr qint64 kMaxBodyBytes = 32 << 20;

} // namespace

StoreSearch::StoreSearch(const Coding &coding, FindQuery query, bool useCache)
    : coding_(coding), query_(std::move(query)), useCache_(useCache)
{
}

TitleArray StoreSearch::run(const QByteArray &root, const std::atomic<bool> *cancel,
                            const std::function<void(int folders)> &progress)
{
    TitleArray found;
    int folders = 0;
    WalkStoreFolders(root, true, cancel, [&](const QByteArray &folder) {
        searchFolder(folder, found);
        if (progress)
            progress(++folders);
    });
    return found;
}

void StoreSearch::searchFolder(const QByteArray &folder, TitleArray &found)
{
    FolderScanOptions options;
    options.useCache = useCache_;
    FolderScan scan(coding_, folder, options);
    scan.run();
    TitleArray titles = scan.takeTitles();
    for (Title &title : titles)
        if (query_.matchesTitle(title) && (!query_.needsBody() || bodyMatches(title)))
            found.push_back(std::move(title));
}

bool StoreSearch::bodyMatches(const Title &title)
{
    const MailFileBytes file = ReadMailFile(title.path(), kMaxBodyBytes);
    if (file.status != MailFileBytes::Read)
        return false;
    const std::optional<QString> text = decoder_.decode(file.bytes, coding_.fileCodeFromCode(title.code()));
    return text && query_.matchesBody(*text);
}

} // namespace wex
