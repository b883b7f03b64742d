#pragma once
// The folder tree the column browser shows: each node one folder, its rows the
// visible sub-folders (FSNodeInfo) in the class-wide folder order.
//
// Listing happens only in listFolder() and reloadFolder(): the browser calls
// them when a column is opened or reloaded. rowCount(), data() and friends
// only read what was listed, so painting never touches the file system, and a
// folder that changed or vanished since it was listed shows its old rows until
// the next reload; a row that does not exist gives an invalid index and no
// data. A folder not listed yet counts as having children (nothing is a leaf
// before it is opened), so any folder can be opened into a next column.
#include <QAbstractItemModel>
#include <QString>
#include <memory>
#include <vector>

namespace wex {

class FolderModel : public QAbstractItemModel {
    Q_OBJECT
public:
    enum Role { PathRole = Qt::UserRole + 1 }; // QString: absolute path

    // rootPath is the folder of the invisible root ("/" in the application).
    explicit FolderModel(const QString &rootPath = QStringLiteral("/"), QObject *parent = nullptr);
    ~FolderModel() override;

    QModelIndex index(int row, int column, const QModelIndex &parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    bool hasChildren(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;

    const QString &rootPath() const;
    // Absolute path of a folder; the root path for the invalid index.
    QString pathOf(const QModelIndex &index) const;
    bool isListed(const QModelIndex &folder) const;
    // Lists a folder's visible sub-folders unless it was listed before.
    void listFolder(const QModelIndex &folder);
    // Lists the folder again: vanished folders leave, new ones join, and the
    // rows take the current order. Indexes of folders that stay stay valid.
    void reloadFolder(const QModelIndex &folder);
    // The row of a sub-folder by name among the listed ones; -1 when absent.
    int rowOfName(const QModelIndex &folder, const QString &name) const;

private:
    struct Node;
    Node *nodeOf(const QModelIndex &index) const;
    QModelIndex indexOf(Node *node) const;
    static std::vector<QString> visibleNames(const QString &path);

    std::unique_ptr<Node> root_;
};

} // namespace wex
