#include "StoreSearch.h"

#include "Coding.h"
#include "FolderScan.h"

#include <QFile>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace wex {

namespace {

// A mail text larger than this is not searched for body words.
constexpr qint64 kMaxBodyBytes = 32 << 20;

// The sub-folders of folder to walk into, in byte order of their names.
QList<QByteArray> SubFolders(const QByteArray &folder, bool atRoot)
{
    QList<QByteArray> out;
    DIR *dir = ::opendir(folder.constData());
    if (!dir)
        return out;
    while (const dirent *d = ::readdir(dir)) {
        const QByteArray name(d->d_name);
        if (name.startsWith('.') || (atRoot && name == "temp") || name.endsWith(".mpart"))
            continue;
        unsigned char type = d->d_type;
        if (type == DT_UNKNOWN) {
            struct stat st;
            type = ::fstatat(::dirfd(dir), d->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode) ? DT_DIR
                                                                                                           : DT_REG;
        }
        if (type == DT_DIR) // a link is never followed
            out.append(name);
    }
    ::closedir(dir);
    std::sort(out.begin(), out.end());
    return out;
}

} // namespace

StoreSearch::StoreSearch(const Coding &coding, FindQuery query, bool useCache)
    : coding_(coding), query_(std::move(query)), useCache_(useCache)
{
}

TitleArray StoreSearch::run(const QByteArray &root, const std::atomic<bool> *cancel,
                            const std::function<void(int folders)> &progress)
{
    TitleArray found;
    // Depth first without recursion: a deep tree cannot exhaust the stack.
    std::vector<std::pair<QByteArray, bool>> pending{{root, true}};
    int folders = 0;
    while (!pending.empty() && !(cancel && cancel->load(std::memory_order_relaxed))) {
        const auto [folder, atRoot] = pending.back();
        pending.pop_back();
        searchFolder(folder, found);
        if (progress)
            progress(++folders);
        const QList<QByteArray> subs = SubFolders(folder, atRoot);
        for (auto it = subs.crbegin(); it != subs.crend(); ++it)
            pending.push_back({folder + '/' + *it, false});
    }
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
