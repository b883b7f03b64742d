#pragma once
// The key table of the preferences window: one row per binding, in the key
// controller's order (grouped by command, in serial order). The first column
// ("commandString") names the command on the first row of each group only;
// the others show the key descriptor's labels, one column per display
// operation of MethodKey, named by the column's identifier.
//
// The bindings change outside the model: whoever changes them calls reload().
#include <QAbstractTableModel>
#include <QStringList>

namespace wex {

class KeyController;

class KeyTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // The column identifiers, in column order.
    static const QStringList &identifiers();

    // The controller must outlive the model.
    explicit KeyTableModel(const KeyController &keys, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // The number of rows may have changed: the table asks again.
    void reload();

private:
    const KeyController &keys_;
};

} // namespace wex
