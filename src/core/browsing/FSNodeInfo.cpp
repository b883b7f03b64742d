// One folder of the file system as the column browser lists it.
//
// Linux lists a folder in no particular order, so subNodes() sorts the names
// by their bytes: the same contents give the same rows at every call, which
// the browser relies on when it counts a column and then asks for its cells.
#include "FSNodeInfo.h"

#include "PathUtils.h"

#include <QList>

#include <algorithm>
#include <dirent.h>
#include <sys/stat.h>

namespace wex {
namespace {

QString &SortFolderTagStorage()
{
    static QString tag = QStringLiteral("name");
    return tag;
}

std::optional<qint64> ModificationTime(const QByteArray &path)
{
    struct stat st;
    if (path.isEmpty() || ::stat(path.constData(), &st) != 0)
        return std::nullopt;
    return qint64(st.st_mtim.tv_sec);
}

} // namespace

FSNodeInfo::FSNodeInfo(const FSNodeInfo *parent, const QByteArray &relativePath)
    : relativePath_(relativePath), parent_(parent), modDate_(ModificationTime(absolutePath()))
{
}

FSNodeInfo FSNodeInfo::nodeWithParent(const FSNodeInfo *parent, const QByteArray &relativePath)
{
    return FSNodeInfo(parent, relativePath);
}

QString FSNodeInfo::sortFolderTag() { return SortFolderTagStorage(); }
void FSNodeInfo::setSortFolderTag(const QString &tag) { SortFolderTagStorage() = tag; }

QByteArray FSNodeInfo::absolutePath() const
{
    if (!parent_)
        return relativePath_;
    QByteArray base = parent_->absolutePath();
    if (base == "/")
        base.clear();
    return base + '/' + relativePath_;
}

QByteArray FSNodeInfo::lastPathComponent() const
{
    QByteArray path = relativePath_;
    while (path.size() > 1 && path.endsWith('/'))
        path.chop(1);
    if (path == "/")
        return path;
    return path.mid(path.lastIndexOf('/') + 1);
}


bool FSNodeInfo::isVisible() const
{
    const QByteArray name = lastPathComponent();
    return !name.isEmpty() && !name.startsWith('.');
}

std::vector<FSNodeInfo> FSNodeInfo::subNodes() const
{
    std::vector<FSNodeInfo> nodes;
    const QByteArray folder = absolutePath();
    DIR *dir = ::opendir(folder.constData());
    if (!dir)
        return nodes;
    QList<QByteArray> names;
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name == "." || name == "..")
            continue;
        // The entry type spares a stat for plain entries; a link or an
        // unknown type must be looked at through the link.
        const unsigned char type = entry->d_type;
        if (type == DT_DIR || ((type == DT_LNK || type == DT_UNKNOWN)
                               && IsPathDirectory(folder + (folder.endsWith('/') ? "" : "/") + name)))
            names.append(name);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end()); // byte order
    nodes.reserve(size_t(names.size()));
    for (const QByteArray &name : names)
        nodes.push_back(FSNodeInfo(this, name));
    return nodes;
}

std::vector<FSNodeInfo> FSNodeInfo::visibleSubNodes() const { return visibleSubNodes(sortFolderTag()); }

std::vector<FSNodeInfo> FSNodeInfo::visibleSubNodes(const QString &sortTag) const
{
    std::vector<FSNodeInfo> nodes = subNodes();
    std::erase_if(nodes, [](const FSNodeInfo &n) { return !n.isVisible(); });
    if (sortTag == QLatin1String("modDate") && !nodes.empty()) {
        std::stable_sort(nodes.begin(), nodes.end(),
                         [](const FSNodeInfo &a, const FSNodeInfo &b) { return a.compareByDate(b) < 0; });
    }
    return nodes;
}

int FSNodeInfo::compareByDate(const FSNodeInfo &other) const
{
    // Undated nodes go after every dated one and keep their order among themselves.
    if (!modDate_ || !other.modDate_)
        return modDate_ ? -1 : (other.modDate_ ? 1 : 0);
    if (*modDate_ == *other.modDate_)
        return 0;
    return *modDate_ > *other.modDate_ ? -1 : 1;
}

} // namespace wex
