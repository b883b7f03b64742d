#include "TitleTableModel.h"

#include "PathUtils.h"

#include <algorithm>

namespace wex {

QString TitleTableModel::identifierOfColumn(int column)
{
    switch (column) {
    case StateColumn: return QStringLiteral("state");
    case FromColumn: return QStringLiteral("from");
    case DateColumn: return QStringLiteral("date");
    case SubjectColumn: return QStringLiteral("subject");
    default: return QString();
    }
}

int TitleTableModel::columnOfIdentifier(const QString &identifier)
{
    for (int c = 0; c < ColumnCount; ++c)
        if (identifierOfColumn(c) == identifier)
            return c;
    return -1;
}

TitleTableModel::TitleTableModel(QObject *parent) : QAbstractTableModel(parent) {}

int TitleTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(titles_.size());
}

int TitleTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TitleTableModel::data(const QModelIndex &index, int role) const
{
    const Title *title = index.isValid() ? titleAt(index.row()) : nullptr;
    if (!title || index.column() >= ColumnCount)
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
    case Qt::UserRole:
        switch (index.column()) {
        case StateColumn: return title->state();
        case FromColumn: return title->from();
        case DateColumn: return title->date().toDateTime();
        case SubjectColumn: return title->subject();
        }
        break;
    case PathRole: return title->path();
    case UnreadRole: return bool(title->unreadState());
    }
    return QVariant();
}

QVariant TitleTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return QVariant();
    if (role == Qt::UserRole)
        return identifierOfColumn(section);
    if (role == Qt::DisplayRole) {
        static const char *const names[] = {QT_TRANSLATE_NOOP("WEX", "State"), QT_TRANSLATE_NOOP("WEX", "From"),
                                             QT_TRANSLATE_NOOP("WEX", "Date"), QT_TRANSLATE_NOOP("WEX", "Subject")};
        return Localize(names[section]);
    }
    return QVariant();
}

Title *TitleTableModel::titleAt(int row)
{
    return row >= 0 && size_t(row) < titles_.size() ? &titles_[size_t(row)] : nullptr;
}

const Title *TitleTableModel::titleAt(int row) const
{
    return row >= 0 && size_t(row) < titles_.size() ? &titles_[size_t(row)] : nullptr;
}

TitleArray TitleTableModel::setTitles(TitleArray titles)
{
    beginResetModel();
    std::swap(titles_, titles);
    endResetModel();
    return titles;
}

void TitleTableModel::sortRows(TitleKey key, bool reverse)
{
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    SortTitles(titles_, key, reverse);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

bool TitleTableModel::removeTitleAt(int row)
{
    if (!titleAt(row))
        return false;
    beginRemoveRows(QModelIndex(), row, row);
    titles_.erase(titles_.begin() + row);
    endRemoveRows();
    return true;
}

int TitleTableModel::removeTitlesAt(const std::vector<int> &rows)
{
    std::vector<std::pair<int, int>> runs; // first and last row of each run of adjacent rows
    for (int row : rows) {
        if (row < 0 || row >= rowCount())
            continue;
        if (!runs.empty() && runs.back().second == row - 1)
            runs.back().second = row;
        else if (runs.empty() || runs.back().second < row)
            runs.emplace_back(row, row);
    }
    int removed = 0;
    // Every removal costs the views a pass over their rows: beyond a few runs
    // one reset is cheaper than a removal per run.
    constexpr size_t kMostRemovals = 8;
    if (runs.size() > kMostRemovals) {
        beginResetModel();
        TitleArray kept;
        kept.reserve(titles_.size());
        size_t next = 0;
        for (int row = 0; row < rowCount(); ++row) {
            if (next < runs.size() && row > runs[next].second)
                ++next;
            if (next < runs.size() && row >= runs[next].first && row <= runs[next].second)
                ++removed;
            else
                kept.push_back(std::move(titles_[size_t(row)]));
        }
        titles_ = std::move(kept);
        endResetModel();
        return removed;
    }
    // From the bottom up, so the rows still to go keep their numbers.
    for (auto run = runs.rbegin(); run != runs.rend(); ++run) {
        beginRemoveRows(QModelIndex(), run->first, run->second);
        titles_.erase(titles_.begin() + run->first, titles_.begin() + run->second + 1);
        endRemoveRows();
        removed += run->second - run->first + 1;
    }
    return removed;
}

void TitleTableModel::rowChanged(int row)
{
    if (titleAt(row))
        emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

} // namespace wex
