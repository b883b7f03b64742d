#pragma once
// The folder tree the column browser shows: each node one folder, its rows the
// visible sub-folders (FSNodeInfo) in the class-wide folder order.
//
// The file system is read only in listFolder(): the browser calls it each time
// it opens or reloads a column, so a folder shows what it held when its column
// was last opened. rowCount(), data() and friends only read what was listed,
// and the model offers views nothing to fetch, so neither painting nor a view
// ever touches the file system; a row that does not exist gives an invalid
// index and no data. A folder not listed yet counts as having
// children (nothing is a leaf before it is opened), so any folder can be
// opened into a next column.
//
// Every folder shown as a row is counted (FolderCounts) and watched: a
// folder holding mails shows its unread count after its name ("InBox (12)"),
// in bold when nonzero, and tells screen readers "InBox, 12 unread"
// (Qt::AccessibleTextRole); the counts come from a worker, and data() only
// reads the last one.
//
// Names and paths are the file system's bytes (PathRole, pathOf()); the
// display text of a name that is not UTF-8 escapes its bytes (DisplayName).
#include "FolderCounts.h"

#include <QAbstractItemModel>
#include <QByteArray>
#include <QPersistentModelIndex>
#include <map>
#include <QThreadPool>
#include <QString>
#include <memory>
#include <vector>

namespace wex {

class FolderModel : public QAbstractItemModel {
    Q_OBJECT
public:
    enum Role { PathRole = Qt::UserRole + 1 }; // QByteArray: absolute path

    // rootPath is the folder of the invisible root ("/" in the application).
    explicit FolderModel(const QByteArray &rootPath = QByteArrayLiteral("/"), QObject *parent = nullptr);
    ~FolderModel() override;

    QModelIndex index(int row, int column, const QModelIndex &parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    bool hasChildren(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    const QByteArray &rootPath() const;
    // Absolute path of a folder; the root path for the invalid index.
    QByteArray pathOf(const QModelIndex &index) const;
    bool isListed(const QModelIndex &folder) const;
    // Reads the folder's visible sub-folders from the file system, every call:
    // folders that vanished leave (rowsRemoved), new ones join, and the rows
    // take the current folder order. Indexes of folders that stay stay valid,
    // with what was listed inside them. With mayDefer, a folder of very many
    // entries (a mail folder of thousands of mails) is read on a worker
    // instead, and its rows change when the reading ends (folderListed); the
    // call returns at once.
    void listFolder(const QModelIndex &folder, bool mayDefer = false);
    // Folders whose entries take more bytes than this (as stat gives a
    // folder's size; ext4 takes some 30 bytes an entry) are the ones that may
    // be read on a worker. Negative: every folder.
    void setDeferThreshold(qint64 bytes) { deferThreshold_ = bytes; }
    // Whether a worker still reads some folder.
    bool isListing() const { return !waiting_.empty(); }

    // The counts beside the folder names; tell it of changes the watch cannot see.
    FolderCounts &folderCounts() { return counts_; }
    const FolderCounts &folderCounts() const { return counts_; }
    // The index of a listed folder by its absolute path; invalid when the
    // path is the root or no listed folder.
    QModelIndex indexOfPath(const QByteArray &path) const;

    // The row of a sub-folder by its name's bytes among the listed ones; -1 when absent.
    int rowOfName(const QModelIndex &folder, const QByteArray &name) const;

signals:
    // A folder read on a worker has its rows now.
    void folderListed(const QModelIndex &folder);

private:
    struct Node;
    Node *nodeOf(const QModelIndex &index) const;
    QModelIndex indexOf(Node *node) const;
    void reorder(Node *node, const QModelIndex &folder, const std::vector<QByteArray> &names);
    void showNames(const QModelIndex &folder, const std::vector<QByteArray> &names);
    void listInBackground(const QModelIndex &folder);
    void namesArrived(quint64 ticket, const std::vector<QByteArray> &names);
    static std::vector<QByteArray> visibleNames(const QByteArray &path, const QString &sortTag);

    std::unique_ptr<Node> root_;
    // Folders being read on a worker, by ticket.
    struct Waiting {
        QPersistentModelIndex folder;
        bool isRoot = false;
    };
    std::map<quint64, Waiting> waiting_;
    quint64 lastTicket_ = 0;
    qint64 deferThreshold_ = 256 * 1024; // about 10,000 entries: milliseconds to read
    QThreadPool pool_; // waited for by the destructor
    FolderCounts counts_;
    void countArrived(const QByteArray &folder);
    void followChildren(Node *node);
};

} // namespace wex
