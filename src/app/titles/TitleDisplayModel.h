#pragma once
// The presentation of the mail table: what the eye sees of TitleTableModel's
// raw values. Dates in the date column's calendar format, the state letters
// centred, unread mails in bold with a coloured state. Every other role, and
// the raw values under Qt::EditRole and Qt::UserRole, pass through unchanged.
#include "CalendarFormat.h"
#include <QIdentityProxyModel>

namespace wex {

class TitleTableModel;

class TitleDisplayModel : public QIdentityProxyModel {
    Q_OBJECT
public:
    // The source must outlive this model.
    explicit TitleDisplayModel(TitleTableModel *source, QObject *parent = nullptr);

    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    const CalendarFormat &dateFormat() const { return dateFormat_; }
    // Repaints the date column in the new format.
    void setDateFormat(const CalendarFormat &format);

private:
    TitleTableModel *titles_;
    CalendarFormat dateFormat_;
};

} // namespace wex
