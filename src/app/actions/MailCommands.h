#pragma once
// The Mail menu's commands on the selected mails and the programs they start:
// reply, new mail, open in the mail reader, delete after a confirmation, open
// with the file's own application, reveal in the file manager, address book,
// search tool, print the selected text, mark read.
//
// "The selected mails" are the titles at the selected rows of the title
// table, in ascending row order. A command that hands mails to another program
// copies them when it starts and pauses after each one (HandOverSequence), so
// nothing done in the windows meanwhile changes which mails it hands over.
//
// Every rename and removal goes through SafeMove/SafeRemove. A failure, and a
// program that is missing or cannot start, is told in one short line on the
// title window's status bar; nothing else changes for it.
//
// A command on several mails acts on exactly the mails selected when it
// started (found again by the title list, also after a state rename on the
// way), shows no mail while it runs, and at its end selects the row the
// title list's rules name.
//
// The title list, the contents view and the title window must outlive it.
#include "HandOverSequence.h"
#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <vector>
#include <QString>

class QMainWindow;
class QMessageBox;
class QPrinter;

namespace wex {

class Journal;

class MailContents;
class MailTitles;
struct SelectedMail;

class MailCommands : public QObject {
    Q_OBJECT
public:
    // The suite's programs, under SuiteFolder().
    static constexpr const char *kComposer = "WEX_Composer.app";
    static constexpr const char *kSeek = "WEX_Seek.app";
    // Settings folder entries naming programs, and the address book used
    // without an entry.
    static constexpr const char *kMailReaderEntry = "Mail_Reader";
    static constexpr const char *kAddressBookEntry = "Address_Book";
    static constexpr const char *kDesktopAddressBook = "/Applications/Address Book.app";
    static constexpr const char *kReplyExtension = "rply";

    // titleWindow: its status bar shows failures; it parents the dialogs.
    // Renames are journaled in journal (none: not journaled), which must
    // outlive this object.
    MailCommands(MailTitles &titles, MailContents &contents, QMainWindow &titleWindow, Journal *journal = nullptr,
                 QObject *parent = nullptr);
    ~MailCommands() override;

    void reply();
    void newMail();
    void openByMailReader();
    // Asks for confirmation (Return deletes, Escape cancels), then deletes
    // the mails confirmed; nothing without a selected mail.
    void deleteMail();
    // Deletes the mails (an attachment mail with its folder); their rows
    // leave the list at once, and then the row that followed the last mail
    // deleted is selected and shown.
    void deleteMailYes(const std::vector<SelectedMail> &mails);
    void launchURL();
    void showMail();
    void addressBook();
    void search();
    void printSelection();
    void makeRead();

    // The selected part of the mail text, lines ending in "\n".
    QString selectedMailText() const;
    // Prints selectedMailText() on printer without a dialog.
    void printSelectionTo(QPrinter *printer);

    // True while a command is still handing mails over.
    bool busy() const { return running_ > 0; }
    // The last line shown on the status bar ("" when none yet).
    const QString &lastMessage() const { return lastMessage_; }
    // The delete confirmation while it is open; nullptr otherwise.
    QMessageBox *confirmWindow() const;

signals:
    // A hand-over command has handed over its last mail and paused after it.
    void handOverFinished();

private:
    void report(const QString &message);
    // Runs step over the mails, with the pause after each one handed over.
    void handOver(const std::vector<SelectedMail> &mails, std::function<HandOverSequence::Step(const SelectedMail &)> step);
    HandOverSequence::Step replyOne(const SelectedMail &mail, const QString &composer);
    void launch(const QString &program);

    MailTitles &titles_;
    MailContents &contents_;
    Journal *journal_;
    QMainWindow &titleWindow_;
    QPointer<QMessageBox> confirm_;
    QString lastMessage_;
    int running_ = 0;
};

} // namespace wex
