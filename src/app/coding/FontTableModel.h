#pragma once
// The font table of the preferences window: one row per language group in
// the coding's codeArray order (sorted by display name), columns "code" (the
// language), "font" (the font's display name) and "size" (its point size).
//
// Fonts change outside the model: whoever changes one calls fontChanged().
#include <QAbstractTableModel>
#include <cstdint>

namespace wex {

class Coding;
class CodingFonts;

class FontTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { CodeColumn, FontColumn, SizeColumn, ColumnCount };

    // Both must outlive the model.
    FontTableModel(const Coding &coding, const CodingFonts &fonts, QObject *parent = nullptr);

    // The language group shown on a row; 0 for a row outside the table.
    uint32_t languageAt(int row) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    // Display role: the texts; Qt::FontRole on the font column: the face, at
    // the application font's size.
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    void fontChanged(int row);

private:
    const Coding &coding_;
    const CodingFonts &fonts_;
};

} // namespace wex
