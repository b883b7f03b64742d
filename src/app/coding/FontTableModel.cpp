#include "FontTableModel.h"

#include "Coding.h"
#include "CodingFonts.h"
#include "FontName.h"
#include "PathUtils.h"

namespace wex {

FontTableModel::FontTableModel(const Coding &coding, const CodingFonts &fonts, QObject *parent)
    : QAbstractTableModel(parent), coding_(coding), fonts_(fonts)
{
}

uint32_t FontTableModel::languageAt(int row) const
{
    return row >= 0 && row < coding_.codeArray().size() ? coding_.codeArray().at(row) : 0;
}

int FontTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(coding_.codeArray().size());
}

int FontTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant FontTableModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return QVariant();
    const uint32_t language = languageAt(index.row());
    const std::optional<QFont> font = fonts_.fontOfLanguage(language);
    if (role == Qt::FontRole && index.column() == FontColumn && font) {
        // The face, at the size of the table's other rows.
        QFont face = *font;
        face.setPointSizeF(QFont().pointSizeF());
        return face;
    }
    if (role != Qt::DisplayRole)
        return QVariant();
    switch (index.column()) {
    case CodeColumn: return coding_.languageName(language);
    case FontColumn: return font ? FontDisplayName(*font) : QString();
    case SizeColumn: return font ? QVariant(font->pointSizeF()) : QVariant();
    default: return QVariant();
    }
}

QVariant FontTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const char *const titles[] = {"Language", "Font", "Size"};
    return Localize(titles[section]);
}

void FontTableModel::fontChanged(int row)
{
    if (row >= 0 && row < rowCount())
        emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

} // namespace wex
