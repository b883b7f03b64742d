#pragma once
// The presentation of the mail table: what the eye sees of TitleTableModel's
// raw values. Dates in the date column's calendar format, the state letters
// centred, unread mails in bold with a coloured state (StateColours of the
// application's palette). For screen readers, the state cell is named in
// words and every cell is described by its row's sentence (TitleSpeech).
// Every other role, and the raw values under Qt::EditRole and Qt::UserRole,
// pass through unchanged.
#include "CalendarFormat.h"
#include "StateColours.h"
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
    // The colours of the palette they were made for; made again when the
    // application's palette changes (a new cache key).
    const StateColours &stateColours() const;

    TitleTableModel *titles_;
    CalendarFormat dateFormat_;
    mutable StateColours colours_;
    mutable qint64 coloursKey_ = -1;
};

} // namespace wex
