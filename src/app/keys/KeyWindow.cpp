#include "KeyWindow.h"

#include "KeyEventConverter.h"
#include "ui_KeyWindow.h"

#include <QKeyEvent>
#include <QKeySequence>

namespace wex {

namespace {

// Escape and every other single key must stay bindable, so the keyboard's
// way out is a chord no reading command is bound to by accident: Ctrl+.,
// the "cancel" of the suite's home desktop.
const QKeySequence kCancelKey(Qt::CTRL | Qt::Key_Period);

bool IsCancelKey(const QKeyEvent &event)
{
    return event.key() == Qt::Key_Period && event.modifiers() == Qt::ControlModifier;
}

} // namespace

KeyWindow::KeyWindow(QWidget *parent) : QDialog(parent), form_(std::make_unique<Ui::KeyWindow>())
{
    form_->setupUi(this);
    // The window itself takes the keys; nothing inside it may.
    setFocusPolicy(Qt::StrongFocus);
    form_->keyWindowMessage->setFocusPolicy(Qt::NoFocus);
    connect(form_->keyWindowCancel, &QPushButton::clicked, this, &QDialog::reject);
    form_->keyWindowCancel->setToolTip(kCancelKey.toString(QKeySequence::NativeText));
}

KeyWindow::~KeyWindow() = default;

QLabel *KeyWindow::keyWindowMessage() const { return form_->keyWindowMessage; }
QPushButton *KeyWindow::cancelButton() const { return form_->keyWindowCancel; }

int KeyWindow::exec()
{
    captured_.reset();
    return QDialog::exec();
}

void KeyWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    setFocus(Qt::OtherFocusReason);
}

bool KeyWindow::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // Asks for every key as a key press, before any shortcut takes it.
        event->accept();
        return true;
    case QEvent::KeyPress: {
        // Before QDialog sees it: Escape would reject, Tab move the focus.
        if (captured_)
            return true;
        const auto *press = static_cast<QKeyEvent *>(event);
        if (IsCancelKey(*press)) {
            reject();
            return true;
        }
        if (std::optional<MethodKey> key = MethodKeyFromEvent(*press)) {
            captured_ = std::move(key);
            accept();
        }
        return true;
    }
    default:
        return QDialog::event(event);
    }
}

} // namespace wex
