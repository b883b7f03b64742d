#include "BrowserTextView.h"

#include "KeyController.h"

#include <QKeyEvent>
#include <QPrintDialog>
#include <QPrinter>

namespace wex {

namespace {
const QString kRealHeadersMarker = QStringLiteral("<!-- Real Mail Headers -->");
// The characters before the marker that belong to it (its line's lead-in).
constexpr qsizetype kMarkerLeadIn = 5;
} // namespace

QString PrintableText(const QString &text)
{
    const qsizetype marker = text.indexOf(kRealHeadersMarker);
    if (marker < 0)
        return text;
    // A marker within the first five characters leaves nothing before it to print.
    return text.left(std::max<qsizetype>(marker - kMarkerLeadIn, 0));
}

BrowserTextView::BrowserTextView(QWidget *parent) : QPlainTextEdit(parent), hiddenText_(new QPlainTextEdit(this))
{
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // Nothing is ever typed here: an undo history would only slow down the
    // replacement of a large mail's text.
    document()->setUndoRedoEnabled(false);
    // The hidden view only ever holds text for the printer; it is never shown.
    hiddenText_->setReadOnly(true);
    hiddenText_->hide();
}

void BrowserTextView::setKeyController(KeyController *k) { keys_ = k; }
KeyController *BrowserTextView::keyController() const { return keys_; }

void BrowserTextView::keyPressEvent(QKeyEvent *event)
{
    // The key router usually offers the key first and consumes bound keys; an
    // unbound key stays unbound here, so offering it again runs nothing twice.
    if (keys_ && keys_->handleKeyDown(event)) {
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void BrowserTextView::print()
{
    QPrinter printer;
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted)
        printTo(&printer);
}

void BrowserTextView::printTo(QPrinter *printer)
{
    if (!printer)
        return;
    hiddenText_->setPlainText(PrintableText(toPlainText()));
    hiddenText_->print(printer);
}

} // namespace wex
