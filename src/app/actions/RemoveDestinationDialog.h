#pragma once
// The window in which move destinations are removed: a table with one row per
// destination (its folder's name; the whole path as the row's tip) and the
// buttons Remove, Remove All and Cancel.
//
// The dialog only asks: its owner removes and then closes it. Remove with no
// row selected asks nothing and the window stays open.
#include <QDialog>
#include <QStringList>

class QPushButton;
class QTableWidget;

namespace wex {

class RemoveDestinationDialog : public QDialog {
    Q_OBJECT
public:
    explicit RemoveDestinationDialog(QWidget *parent = nullptr);

    // Lists the destinations again (entries as kept, paths as resolved).
    void setFolders(const QStringList &entries, const QStringList &paths);
    QTableWidget *table() const { return table_; }
    int selectedRow() const; // -1 when none
    QPushButton *removeButton() const { return remove_; }
    QPushButton *removeAllButton() const { return removeAll_; }
    QPushButton *cancelButton() const { return cancel_; }

signals:
    void removeItemRequested(int row);
    void removeAllRequested();

private:
    QTableWidget *table_;
    QPushButton *remove_, *removeAll_, *cancel_;
};

} // namespace wex
