#include "StoreSearch.h"

#include "Coding.h"
#include "FolderScan.h"
#include "StoreFolders.h"

#include <QFile>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
    const QByteArray &path = title.path();
    const int fd = path.contains('\0') ? -1 : ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > kMaxBodyBytes) {
        if (fd >= 0)
            ::close(fd);
        return false;
    }
    QFile file;
    file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
    const QByteArray bytes = file.readAll();
    const std::optional<QString> text = decoder_.decode(bytes, coding_.fileCodeFromCode(title.code()));
    return text && query_.matchesBody(*text);
}

} // namespace wex
