#pragma once
// The mail contents window's controller: shows the mail selected in the title
// table, marks it read, and nudges the unread-scanning utility afterwards.
//
// Follows the title list's selection. The text view is the contents window's.
#include <QByteArray>
#include <QObject>
#include <cstdint>
#include <memory>

class QWidget;

namespace wex {

class Journal;

class BrowserTextView;
class Coding;
class CodingFonts;
class MailTitles;
class TextDecoder;

class MailContents : public QObject {
    Q_OBJECT
public:
    // view: the contents window's text view; window: the contents window,
    // titled after the mail shown. Both, the coding, the fonts and the title
    // list must outlive the controller.
    MailContents(const Coding &coding, CodingFonts &fonts, MailTitles &titles, BrowserTextView &view, QWidget &window,
                 Journal *journal = nullptr, QObject *parent = nullptr);
    ~MailContents() override;

    BrowserTextView &browserTextView() const { return view_; }

    // The file shown now (path bytes); empty when no mail is shown. Kept by
    // the title list, which follows it through renames.
    const QByteArray &currentPathString() const;

    // Shows the whole file decoded in the code's platform encoding and font.
    // A file that cannot be read or decoded (or is too large) shows an empty
    // text and a notice; the program goes on.
    void contentsAtPathString(const QByteArray &path, uint32_t encoding);
    // Follows the title table's selection: "No Mail" without one, else the
    // selected mail (marked read first when it is unread).
    void reloadContents();
    // Starts the unread-scanning utility in the background unless it (or its
    // pending start) already runs. Never blocks.
    void launchUnread();

    // The notice shown under the text ("" when the mail was shown).
    QString notice() const;
    // Largest mail file shown (bytes); larger ones show the notice instead.
    static constexpr qint64 kMaxMailBytes = 64ll * 1024 * 1024;
    // True while a check of the unread-scanning utility is scheduled and has not
    // run yet (reading more unread mails then schedules nothing).
    static bool unreadCheckPending();

private:
    void scheduleUnreadCheck();
    void showText(const QString &text, const QString &notice);
    void runUnreadStep(int step);

    const Coding &coding_;
    CodingFonts &fonts_;
    MailTitles &titles_;
    BrowserTextView &view_;
    QWidget &window_;
    Journal *journal_; // marks read are journaled here (none: not journaled)
    std::unique_ptr<TextDecoder> decoder_;
    QString notice_;
    bool scheduledCheck_ = false;    // this controller's timer is the pending check
    bool unreadChainRunning_ = false; // the shell texts of a check are running
};

} // namespace wex
