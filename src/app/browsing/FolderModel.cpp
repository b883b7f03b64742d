#include "FolderModel.h"

#include "DisplayName.h"
#include "FSNodeInfo.h"
#include "PathUtils.h"

#include <QFont>
#include <QHash>
#include <QMetaObject>
#include <sys/stat.h>
#include <algorithm>

namespace wex {

struct FolderModel::Node {
    QByteArray name;
    QString shownName; // DisplayName(name), made once: data() stays cheap
    QByteArray path;
    Node *parent = nullptr;
    int row = 0;
    bool listed = false;
    quint64 listing = 0; // the newest reading of it on a worker; older ones are dropped
    std::vector<std::unique_ptr<Node>> children;

    void renumber()
    {
        for (size_t i = 0; i < children.size(); ++i)
            children[i]->row = int(i);
    }
    std::unique_ptr<Node> makeChild(const QByteArray &childName)
    {
        auto child = std::make_unique<Node>();
        child->name = childName;
        child->shownName = DisplayName(childName);
        child->path = (path == "/" ? QByteArray() : path) + '/' + childName;
        child->parent = this;
        return child;
    }
};

FolderModel::FolderModel(const QByteArray &rootPath, QObject *parent)
    : QAbstractItemModel(parent), root_(std::make_unique<Node>())
{
    root_->path = rootPath.isEmpty() ? QByteArrayLiteral("/") : rootPath;
    root_->name = root_->path;
    root_->shownName = DisplayName(root_->path);
    connect(&counts_, &FolderCounts::counted, this, &FolderModel::countArrived);
}

FolderModel::~FolderModel()
{
    // Workers post to this model: none may run once it is gone.
    pool_.waitForDone();
}

std::vector<QByteArray> FolderModel::visibleNames(const QByteArray &path, const QString &sortTag)
{
    const FSNodeInfo node = FSNodeInfo::nodeWithParent(nullptr, path);
    std::vector<QByteArray> names;
    for (const FSNodeInfo &sub : node.visibleSubNodes(sortTag))
        names.push_back(sub.lastPathComponent());
    return names;
}

FolderModel::Node *FolderModel::nodeOf(const QModelIndex &index) const
{
    return index.isValid() ? static_cast<Node *>(index.internalPointer()) : root_.get();
}

QModelIndex FolderModel::indexOf(Node *node) const
{
    return (!node || node == root_.get()) ? QModelIndex() : createIndex(node->row, 0, node);
}

QModelIndex FolderModel::index(int row, int column, const QModelIndex &parent) const
{
    const Node *folder = nodeOf(parent);
    if (column != 0 || row < 0 || size_t(row) >= folder->children.size())
        return QModelIndex();
    return createIndex(row, 0, folder->children[size_t(row)].get());
}

QModelIndex FolderModel::parent(const QModelIndex &child) const
{
    return child.isValid() ? indexOf(nodeOf(child)->parent) : QModelIndex();
}

int FolderModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid() && parent.column() != 0)
        return 0;
    return int(nodeOf(parent)->children.size());
}

int FolderModel::columnCount(const QModelIndex &) const { return 1; }

bool FolderModel::hasChildren(const QModelIndex &parent) const
{
    if (parent.isValid() && parent.column() != 0)
        return false;
    const Node *folder = nodeOf(parent);
    return !folder->listed || !folder->children.empty();
}

QVariant FolderModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return QVariant();
    const Node *node = nodeOf(index);
    switch (role) {
    case Qt::DisplayRole:
        if (const std::optional<MailCounts> counts = counts_.countsOf(node->path); counts && counts->mails > 0)
            return QStringLiteral("%1 (%2)").arg(node->shownName).arg(counts->unread);
        return node->shownName;
    case Qt::FontRole:
        if (const std::optional<MailCounts> counts = counts_.countsOf(node->path); counts && counts->unread > 0) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return QVariant();
    case Qt::AccessibleTextRole:
        // Said, not shown: "InBox, 12 unread" rather than "InBox (12)".
        if (const std::optional<MailCounts> counts = counts_.countsOf(node->path); counts && counts->mails > 0)
            return counts->unread > 0
                ? Localize(QT_TRANSLATE_NOOP("WEX", "%1, %2 unread")).arg(node->shownName).arg(counts->unread)
                : Localize(QT_TRANSLATE_NOOP("WEX", "%1, no unread mail")).arg(node->shownName);
        return node->shownName;
    case Qt::EditRole: return node->shownName;
    case Qt::ToolTipRole: return DisplayName(node->path);
    case PathRole: return node->path;
    }
    return QVariant();
}

Qt::ItemFlags FolderModel::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

const QByteArray &FolderModel::rootPath() const { return root_->path; }
QByteArray FolderModel::pathOf(const QModelIndex &index) const { return nodeOf(index)->path; }
bool FolderModel::isListed(const QModelIndex &folder) const { return nodeOf(folder)->listed; }

namespace {

bool IsFolderLargerThan(const QByteArray &path, qint64 bytes)
{
    struct stat st;
    return ::stat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_size > bytes;
}

} // namespace

void FolderModel::listFolder(const QModelIndex &folder, bool mayDefer)
{
    Node *node = nodeOf(folder);
    if (mayDefer && IsFolderLargerThan(node->path, deferThreshold_)) {
        listInBackground(folder);
        return;
    }
    node->listing = ++lastTicket_; // a reading still on a worker is out of date now
    showNames(folder, visibleNames(node->path, FSNodeInfo::sortFolderTag()));
}

void FolderModel::listInBackground(const QModelIndex &folder)
{
    Node *node = nodeOf(folder);
    const quint64 ticket = ++lastTicket_;
    node->listing = ticket;
    // Persistent indexes belong to this thread: the worker gets plain values.
    waiting_.emplace(ticket, Waiting{QPersistentModelIndex(folder), !folder.isValid()});
    const QByteArray path = node->path;
    const QString sortTag = FSNodeInfo::sortFolderTag();
    pool_.start([this, path, sortTag, ticket] {
        std::vector<QByteArray> names = visibleNames(path, sortTag);
        QMetaObject::invokeMethod(
            this, [this, names = std::move(names), ticket] { namesArrived(ticket, names); }, Qt::QueuedConnection);
    });
}

void FolderModel::namesArrived(quint64 ticket, const std::vector<QByteArray> &names)
{
    const auto found = waiting_.find(ticket);
    if (found == waiting_.end())
        return;
    const Waiting waiting = found->second;
    waiting_.erase(found);
    // The root has no index: an invalid persistent index means the root only
    // when the folder was the root, and otherwise a folder gone meanwhile.
    if (!waiting.isRoot && !waiting.folder.isValid())
        return;
    const QModelIndex folder = waiting.isRoot ? QModelIndex() : QModelIndex(waiting.folder);
    if (nodeOf(folder)->listing != ticket)
        return; // listed again since
    showNames(folder, names);
    emit folderListed(folder);
}

void FolderModel::showNames(const QModelIndex &folder, const std::vector<QByteArray> &names)
{
    Node *node = nodeOf(folder);
    if (!node->listed) {
        node->listed = true;
        if (names.empty())
            return;
        beginInsertRows(folder, 0, int(names.size()) - 1);
        for (const QByteArray &name : names)
            node->children.push_back(node->makeChild(name));
        node->renumber();
        endInsertRows();
        followChildren(node);
        return;
    }

    QHash<QByteArray, int> wanted;
    for (size_t i = 0; i < names.size(); ++i)
        wanted.insert(names[i], int(i));
    // Folders that vanished leave first, from the bottom up.
    for (int row = int(node->children.size()) - 1; row >= 0; --row) {
        if (wanted.contains(node->children[size_t(row)]->name))
            continue;
        beginRemoveRows(folder, row, row);
        counts_.forget(node->children[size_t(row)]->path);
        node->children.erase(node->children.begin() + row);
        node->renumber();
        endRemoveRows();
    }
    // New folders join at the end, then every row takes its new place.
    QHash<QByteArray, int> present;
    for (const auto &child : node->children)
        present.insert(child->name, child->row);
    std::vector<QByteArray> added;
    for (const QByteArray &name : names)
        if (!present.contains(name))
            added.push_back(name);
    if (!added.empty()) {
        const int first = int(node->children.size());
        beginInsertRows(folder, first, first + int(added.size()) - 1);
        for (const QByteArray &name : added)
            node->children.push_back(node->makeChild(name));
        node->renumber();
        endInsertRows();
    }
    reorder(node, folder, names);
    followChildren(node);
}

void FolderModel::followChildren(Node *node)
{
    // Listed afresh (a click, a refresh, a download): counted afresh.
    for (const auto &child : node->children)
        counts_.follow(child->path);
}

// Puts the children in the order of names (which holds exactly their names);
// nothing is announced when the order already is so.
void FolderModel::reorder(Node *node, const QModelIndex &folder, const std::vector<QByteArray> &names)
{
    bool inOrder = true;
    for (size_t i = 0; i < names.size() && inOrder; ++i)
        inOrder = node->children[i]->name == names[i];
    if (inOrder)
        return;
    QHash<QByteArray, int> position;
    for (size_t i = 0; i < names.size(); ++i)
        position.insert(names[i], int(i));

    const QPersistentModelIndex parentIndex(folder);
    emit layoutAboutToBeChanged({parentIndex}, QAbstractItemModel::VerticalSortHint);
    std::vector<std::pair<QModelIndex, Node *>> moved;
    for (const QModelIndex &index : persistentIndexList())
        if (index.parent() == folder)
            moved.emplace_back(index, nodeOf(index));
    std::sort(node->children.begin(), node->children.end(),
              [&position](const auto &a, const auto &b) { return position.value(a->name) < position.value(b->name); });
    node->renumber();
    for (const auto &[index, child] : moved)
        changePersistentIndex(index, createIndex(child->row, 0, child));
    emit layoutChanged({parentIndex}, QAbstractItemModel::VerticalSortHint);
}

QModelIndex FolderModel::indexOfPath(const QByteArray &path) const
{
    const QByteArray &root = root_->path;
    const QByteArray prefix = root.endsWith('/') ? root : root + '/';
    if (!path.startsWith(prefix))
        return QModelIndex();
    const Node *node = root_.get();
    for (const QByteArray &name : path.mid(prefix.size()).split('/')) {
        if (name.isEmpty())
            continue;
        const auto child = std::find_if(node->children.begin(), node->children.end(),
                                        [&name](const auto &c) { return c->name == name; });
        if (child == node->children.end())
            return QModelIndex();
        node = child->get();
    }
    return node == root_.get() ? QModelIndex() : createIndex(node->row, 0, const_cast<Node *>(node));
}

void FolderModel::countArrived(const QByteArray &folder)
{
    const QModelIndex index = indexOfPath(folder);
    if (index.isValid())
        emit dataChanged(index, index, {Qt::DisplayRole, Qt::FontRole, Qt::AccessibleTextRole});
}

int FolderModel::rowOfName(const QModelIndex &folder, const QByteArray &name) const
{
    const Node *node = nodeOf(folder);
    for (const auto &child : node->children)
        if (child->name == name)
            return child->row;
    return -1;
}

} // namespace wex
