#pragma once
// The read-only text view of the contents window. Key presses go to the key
// handler first (the key bindings); only keys it leaves reach the text editor. Printing leaves
// out the raw headers that follow the "Real Mail Headers" marker.
#include <QPlainTextEdit>
#include <QTimer>
#include <functional>

class QPrinter;

namespace wex {

// The part of a mail text that is printed: everything before the
// "<!-- Real Mail Headers -->" marker, less the five characters that precede
// it; the whole text without a marker; nothing when the marker is within the
// first five characters.
QString PrintableText(const QString &text);

class BrowserTextView : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit BrowserTextView(QWidget *parent = nullptr);

    // Answers whether it ran a command for the key; none by default.
    using KeyHandler = std::function<bool(const QKeyEvent *)>;
    void setKeyHandler(KeyHandler handler) { keyHandler_ = std::move(handler); }

    // Shows a text from its start. A long text arrives in pieces: the first at
    // once, the rest appended from the event loop, so a mail of several
    // megabytes appears at once and the windows stay responsive meanwhile.
    void showText(const QString &text);
    // True while the end of the text shown by showText() is still to come.
    bool isLoading() const { return loaded_ < full_.size(); }
    // The whole text on show, including what is still to come.
    QString fullText() const;

    // The hidden view that holds the printable text while printing.
    QPlainTextEdit *hiddenText() const { return hiddenText_; }
    // Asks for a printer with the print dialog and prints the printable text.
    void print();
    // Prints the printable text on the given printer (no dialog).
    void printTo(QPrinter *printer);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void appendPiece();

    KeyHandler keyHandler_;
    QString full_;         // the text given to showText()
    qsizetype loaded_ = 0; // how much of full_ is in the document
    QTimer feeder_;
    QPlainTextEdit *hiddenText_;
};

} // namespace wex
