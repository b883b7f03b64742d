#include "BrowserTextView.h"


#include <QKeyEvent>
#include <QPrintDialog>
#include <QPrinter>

namespace wex {

namespace {
const QString kRealHeadersMarker = QStringLiteral("<!-- Real Mail Headers -->");
// The characters before the marker that belong to it (its line's lead-in).
constexpr qsizetype kMarkerLeadIn = 5;
// The first piece fills many screens; each later piece costs the event loop
// a few tens of milliseconds at most.
constexpr qsizetype kFirstPiece = 64 * 1024;
constexpr qsizetype kLaterPiece = 256 * 1024;

// Where a piece of about `size` characters from `from` ends: after a line
// feed when one comes soon, and never inside a surrogate pair.
qsizetype PieceEnd(const QString &text, qsizetype from, qsizetype size)
{
    if (text.size() - from <= size)
        return text.size();
    qsizetype end = from + size;
    const qsizetype newline = text.indexOf(QLatin1Char('\n'), end);
    if (newline >= 0 && newline - end < 4096)
        return newline + 1;
    if (text.at(end - 1).isHighSurrogate())
        --end;
    return end;
}
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
    feeder_.setInterval(0);
    connect(&feeder_, &QTimer::timeout, this, &BrowserTextView::appendPiece);
}

void BrowserTextView::showText(const QString &text)
{
    full_ = text;
    loaded_ = PieceEnd(full_, 0, kFirstPiece);
    setPlainText(loaded_ == full_.size() ? full_ : full_.left(loaded_));
    moveCursor(QTextCursor::Start);
    ensureCursorVisible();
    if (isLoading())
        feeder_.start();
    else
        feeder_.stop();
}

void BrowserTextView::appendPiece()
{
    if (!isLoading()) {
        feeder_.stop();
        return;
    }
    const qsizetype end = PieceEnd(full_, loaded_, kLaterPiece);
    // A cursor of its own: the view's cursor and scroll position stay put.
    QTextCursor tail(document());
    tail.movePosition(QTextCursor::End);
    tail.insertText(full_.mid(loaded_, end - loaded_));
    loaded_ = end;
    if (!isLoading())
        feeder_.stop();
}

QString BrowserTextView::fullText() const { return isLoading() ? full_ : toPlainText(); }

void BrowserTextView::keyPressEvent(QKeyEvent *event)
{
    // The key router usually offers the key first and consumes bound keys; an
    // unbound key stays unbound here, so offering it again runs nothing twice.
    if (keyHandler_ && keyHandler_(event)) {
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
    hiddenText_->setPlainText(PrintableText(fullText()));
    hiddenText_->print(printer);
}

} // namespace wex
