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
// Names and paths are the file system's bytes (PathRole, pathOf()); the
// display text of a name that is not UTF-8 escapes its bytes (DisplayName).
#include <QAbstractItemModel>
#include <QByteArray>
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
    // with what was listed inside them.
    void listFolder(const QModelIndex &folder);
    // The row of a sub-folder by its name's bytes among the listed ones; -1 when absent.
    int rowOfName(const QModelIndex &folder, const QByteArray &name) const;

private:
    struct Node;
    Node *nodeOf(const QModelIndex &index) const;
    QModelIndex indexOf(Node *node) const;
    void reorder(Node *node, const QModelIndex &folder, const std::vector<QByteArray> &names);
    static std::vector<QByteArray> visibleNames(const QByteArray &path);

    std::unique_ptr<Node> root_;
};

} // namespace wex
