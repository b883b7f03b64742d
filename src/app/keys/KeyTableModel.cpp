#include "KeyTableModel.h"

#include "KeyController.h"
#include "PathUtils.h"

namespace wex {

namespace {

const QString kCommandColumn = QStringLiteral("commandString");

} // namespace

const QStringList &KeyTableModel::identifiers()
{
    static const QStringList columns = {kCommandColumn,
                                        QStringLiteral("shiftString"),
                                        QStringLiteral("capsLockString"),
                                        QStringLiteral("optionString"),
                                        QStringLiteral("controlString"),
                                        QStringLiteral("functionString"),
                                        QStringLiteral("keyString")};
    return columns;
}

KeyTableModel::KeyTableModel(const KeyController &keys, QObject *parent) : QAbstractTableModel(parent), keys_(keys) {}

int KeyTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(keys_.keyArray().size());
}

int KeyTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(identifiers().size());
}

QVariant KeyTableModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !checkIndex(index, CheckIndexOption::IndexIsValid))
        return QVariant();
    const QList<KeyBinding> &bindings = keys_.keyArray();
    const KeyBinding &binding = bindings.at(index.row());
    const QString &identifier = identifiers().at(index.column());
    if (identifier != kCommandColumn)
        return binding.key.valueForIdentifier(identifier);
    const QString &name = keys_.methodArray().at(binding.serial).name();
    if (index.row() > 0 && keys_.methodArray().at(bindings.at(index.row() - 1).serial).name() == name)
        return QString();
    return name;
}

QVariant KeyTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return QAbstractTableModel::headerData(section, orientation, role);
    static const char *const titles[] = {"Command", "Shift", "Caps", "Opt", "Ctrl", "F", "Key"};
    return Localize(titles[section]);
}

void KeyTableModel::reload()
{
    beginResetModel();
    endResetModel();
}

} // namespace wex
