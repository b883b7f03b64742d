#include "TitleDisplayModel.h"

#include "TitleSpeech.h"
#include "TitleTableModel.h"

#include <QFont>
#include <QGuiApplication>
#include <QPalette>

namespace wex {

TitleDisplayModel::TitleDisplayModel(TitleTableModel *source, QObject *parent)
    : QIdentityProxyModel(parent), titles_(source)
{
    setSourceModel(source);
}

void TitleDisplayModel::setDateFormat(const CalendarFormat &format)
{
    dateFormat_ = format;
    if (const int rows = rowCount(); rows > 0)
        emit dataChanged(index(0, TitleTableModel::DateColumn), index(rows - 1, TitleTableModel::DateColumn),
                         {Qt::DisplayRole});
}

QVariant TitleDisplayModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.model() != this)
        return QVariant();
    const Title *title = titles_->titleAt(index.row());
    if (!title)
        return QVariant();
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
        if (column == TitleTableModel::DateColumn)
            return dateFormat_.stringFor(title->date());
        break;
    case Qt::FontRole:
        if (title->unreadState()) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return QVariant();
    case Qt::ForegroundRole:
        if (column == TitleTableModel::StateColumn && title->unreadState())
            return stateColours().unread;
        if (column == TitleTableModel::StateColumn && title->errorState())
            return stateColours().error;
        return QVariant();
    case Qt::AccessibleTextRole:
        // The other cells are read as they show.
        if (column == TitleTableModel::StateColumn)
            return SpokenState(*title);
        return QVariant();
    case Qt::AccessibleDescriptionRole:
        return SpokenTitle(*title, dateFormat_.stringFor(title->date()));
    case Qt::TextAlignmentRole:
        if (column == TitleTableModel::StateColumn)
            return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
        return QVariant();
    case Qt::ToolTipRole:
        return title->pathString();
    }
    return QIdentityProxyModel::data(index, role);
}

const StateColours &TitleDisplayModel::stateColours() const
{
    const QPalette palette = QGuiApplication::palette();
    if (palette.cacheKey() != coloursKey_) {
        colours_ = StateColours::forPalette(palette);
        coloursKey_ = palette.cacheKey();
    }
    return colours_;
}

} // namespace wex
