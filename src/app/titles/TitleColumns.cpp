#include "TitleColumns.h"

#include "DefaultsStore.h"
#include "TitleTableModel.h"

#include <QHeaderView>
#include <cmath>

namespace wex {
namespace {

const char *const kNames[TitleTableModel::ColumnCount] = {"State", "From", "Date", "Subject"};
const int kDefaultWidths[TitleTableModel::ColumnCount] = {56, 190, 130, 420};
constexpr double kMaxWidth = 10000.0;

QString positionKey(int column) { return QStringLiteral("Column Position ") + QLatin1String(kNames[column]); }
QString widthKey(int column) { return QStringLiteral("Column Width ") + QLatin1String(kNames[column]); }

} // namespace

void ApplyDefaultColumns(QHeaderView *header)
{
    for (int c = 0; c < TitleTableModel::ColumnCount && c < header->count(); ++c)
        header->resizeSection(c, kDefaultWidths[c]);
}

void RestoreColumnLayout(QHeaderView *header, const DefaultsStore &defaults)
{
    const int count = header->count();
    for (int c = 0; c < TitleTableModel::ColumnCount && c < count; ++c) {
        const std::optional<qint64> position = defaults.integerForKey(positionKey(c));
        if (!position || *position < 1 || *position > count)
            continue;
        header->moveSection(header->visualIndex(c), int(*position - 1));
    }
    for (int c = 0; c < TitleTableModel::ColumnCount && c < count; ++c) {
        const std::optional<double> width = defaults.doubleForKey(widthKey(c));
        if (!width || !std::isfinite(*width) || *width <= 0.0)
            continue;
        header->resizeSection(c, int(std::lround(std::min(*width, kMaxWidth))));
    }
}

void SaveColumnLayout(const QHeaderView *header, DefaultsStore &defaults)
{
    for (int c = 0; c < TitleTableModel::ColumnCount && c < header->count(); ++c) {
        defaults.setInteger(positionKey(c), header->visualIndex(c) + 1);
        defaults.setDouble(widthKey(c), double(header->sectionSize(c)));
    }
}

} // namespace wex
