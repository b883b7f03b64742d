#include "QuickFilterField.h"

#include "PathUtils.h"
#include "MailTitles.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QTableView>

namespace wex {

QuickFilterField::QuickFilterField(MailTitles &titles, QLineEdit &field, QStatusBar &status, QObject *parent)
    : QObject(parent), titles_(titles), field_(field), count_(new QLabel)
{
    field_.setPlaceholderText(Localize(QT_TRANSLATE_NOOP("WEX", "Filter by sender or subject (Ctrl+F)")));
    field_.setAccessibleName(Localize(QT_TRANSLATE_NOOP("WEX", "Filter mails")));
    field_.installEventFilter(this);
    status.addPermanentWidget(count_);
    count_->hide();
    connect(&field_, &QLineEdit::textChanged, &titles_, &MailTitles::setFilterText);
    connect(&titles_, &MailTitles::filterChanged, this, [this](const QString &text) {
        if (field_.text() != text)
            field_.setText(text);
        showCount();
    });
    QAbstractItemModel *model = titles_.model();
    connect(model, &QAbstractItemModel::modelReset, this, &QuickFilterField::showCount);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &QuickFilterField::showCount);
}

void QuickFilterField::focusFilter()
{
    QWidget *window = field_.window();
    window->show();
    window->raise();
    window->activateWindow();
    field_.setFocus(Qt::ShortcutFocusReason);
    field_.selectAll();
}

bool QuickFilterField::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != &field_ || event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    switch (key->key()) {
    case Qt::Key_Escape:
        field_.clear();
        titles_.table().setFocus(Qt::OtherFocusReason);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Down:
        titles_.table().setFocus(Qt::OtherFocusReason);
        return true;
    default:
        return QObject::eventFilter(watched, event);
    }
}

void QuickFilterField::showCount()
{
    if (titles_.filterText().trimmed().isEmpty()) {
        count_->hide();
        return;
    }
    count_->setText(Localize(QT_TRANSLATE_NOOP("WEX", "%1 of %2 mails")).arg(titles_.count()).arg(titles_.totalCount()));
    count_->show();
}

} // namespace wex
