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
// Outlets are not owned and may go away first (QPointer).
#include "HandOverSequence.h"
#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QVector>

class QMainWindow;
class QMessageBox;
class QPrinter;

namespace wex {

class MailContents;
class MailTitles;

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

    explicit MailCommands(QObject *parent = nullptr);
    ~MailCommands() override;

    void setMailTitles(MailTitles *t);
    void setMailContents(MailContents *c);
    // The window whose status bar shows failures and that parents the dialogs.
    void setTitleWindow(QMainWindow *w);

    void reply();
    void newMail();
    void openByMailReader();
    // Asks for confirmation (Return deletes, Escape cancels), then deletes
    // the mails confirmed; nothing without a selected mail.
    void deleteMail();
    // Deletes the selected mails row by row. With confirmed, only mails
    // whose paths it holds are deleted (a reload during the confirmation
    // cannot put others under the selection).
    void deleteMailYes(const QSet<QByteArray> *confirmed = nullptr);
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
    struct Picked {
        QByteArray path;
        bool replied = false;
        bool archive = false;
    };
    QVector<int> selectedRows() const;
    QVector<Picked> pickSelected() const;
    void report(const QString &message);
    // Runs step over the picked mails, with the pause after each one handed over.
    void handOver(const QVector<Picked> &mails, std::function<HandOverSequence::Step(const Picked &)> step);
    // Points the title list and the contents view from the old path to the new.
    void followRename(const QByteArray &from, const QByteArray &to, bool replied);
    HandOverSequence::Step replyOne(const Picked &mail, const QString &composer);
    void launch(const QString &program);

    QPointer<MailTitles> titles_;
    QPointer<MailContents> contents_;
    QPointer<QMainWindow> titleWindow_;
    QPointer<QMessageBox> confirm_;
    QString lastMessage_;
    int running_ = 0;
};

} // namespace wex
