#pragma once
// The mail contents window's controller: shows the mail selected in the title
// table, marks it read, and nudges the unread-scanning utility afterwards.
//
// Follows only the title table's selection model. The text view is owned by
// the contents window (it replaces the placeholder from the window's form).
#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <cstdint>
#include <memory>

class QItemSelectionModel;
class QPlainTextEdit;
class QTableView;
class QWidget;

namespace wex {

class BrowserTextView;
class Coding;
class CodingFonts;
class KeyController;
class MailTitles;
class TextDecoder;

class MailContents : public QObject {
    Q_OBJECT
public:
    MailContents(const Coding &coding, CodingFonts &fonts, QObject *parent = nullptr);
    ~MailContents() override;

    void setMailTitles(MailTitles *t);
    void setContentsWindow(QWidget *w);
    void setKeyController(KeyController *k);
    void setTitleTable(QTableView *t);
    // The placeholder in the contents window's form; registerAndReplaceTextView()
    // puts a BrowserTextView in its place (same parent, layout slot and geometry).
    void setTextView(QPlainTextEdit *templateView);
    // Installs the BrowserTextView in place of the template and follows the
    // title table's selection model from now on.
    void registerAndReplaceTextView();
    BrowserTextView *browserTextView() const;

    // The file shown now (path bytes); empty when no mail is shown.
    const QByteArray &currentPathString() const;
    void setCurrentPathString(const QByteArray &p);

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
    void connectSelection();
    int selectedRow() const;
    void scheduleUnreadCheck();
    void showText(const QString &text, const QString &notice);
    void setWindowTitle(const QString &title);
    void runUnreadStep(int step);

    const Coding &coding_;
    CodingFonts &fonts_;
    std::unique_ptr<TextDecoder> decoder_;
    QPointer<MailTitles> titles_;
    QPointer<QWidget> window_;
    QPointer<KeyController> keys_;
    QPointer<QTableView> table_;
    QPointer<QPlainTextEdit> template_;
    QPointer<BrowserTextView> view_;
    QPointer<QItemSelectionModel> followed_;
    QMetaObject::Connection selectionConnection_;
    QByteArray currentPath_;
    QString notice_;
    bool scheduledCheck_ = false;    // this controller's timer is the pending check
    bool unreadChainRunning_ = false; // the shell texts of a check are running
};

} // namespace wex
