#pragma once
// The mail table's rows: one Title per row, raw values by role.
//
// Columns are fixed in their default (logical) order: state, from, date,
// subject; a column's identifier is its header data under Qt::UserRole. Cells
// answer raw values (the state letters, the sender, the date as a QDateTime in
// its own offset, the subject); TitleDisplayModel formats them for the eye.
// The model owns its titles; data() only reads the row asked for, so a folder
// of any size costs one reset to show.
#include "Title.h"
#include <QAbstractTableModel>

namespace wex {

class TitleTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { StateColumn, FromColumn, DateColumn, SubjectColumn, ColumnCount };
    enum Role {
        PathRole = Qt::UserRole + 1, // QByteArray: the mail file's path
        UnreadRole,                  // bool
    };
    // The identifier of a column ("state", ...); "" outside.
    static QString identifierOfColumn(int column);
    // The column of an identifier; -1 for an unknown one.
    static int columnOfIdentifier(const QString &identifier);

    explicit TitleTableModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    const TitleArray &titles() const { return titles_; }
    Title *titleAt(int row); // nullptr out of range
    const Title *titleAt(int row) const;

    // Replaces every row (one model reset).
    // Returns the titles it held (their destruction is the caller's).
    TitleArray setTitles(TitleArray titles);
    // Replaces every row by what change makes of them (one model reset).
    template <typename Change>
    void reshape(Change &&change)
    {
        beginResetModel();
        titles_ = change(std::move(titles_));
        endResetModel();
    }
    // Reorders the rows by key and direction. Row numbers keep their meaning
    // for selections (a selected row number stays selected), as the table's
    // selection is a set of rows, not of mails.
    void sortRows(TitleKey key, bool reverse);
    // Removes one row; false when out of range.
    bool removeTitleAt(int row);
    // Removes the rows (ascending; repeats and rows out of range are
    // ignored): each run of adjacent rows in one removal, or, when the rows
    // are scattered in many runs, all of them in one reset. Answers how many
    // went.
    int removeTitlesAt(const std::vector<int> &rows);
    // Tells views that the row's values changed in place.
    void rowChanged(int row);

private:
    TitleArray titles_;
};

} // namespace wex
