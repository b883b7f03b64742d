#pragma once
// The related-mails command: replaces the mail table's list by the thread of
// the selected mail (the mail, the mails it answers, the mails that answer
// it), found through the store's reference folders.
//
// Outlets (none owned; guarded, so either may go first): the title list
// controller, whose table gives the selected row, and the title window.
#include <QObject>
#include <QPointer>

class QWidget;

namespace wex {

class MailTitles;

class Chain : public QObject {
    Q_OBJECT
public:
    explicit Chain(QObject *parent = nullptr);

    void setMailTitles(MailTitles *titles);
    void setMailTitleWindow(QWidget *window);

    // Titles the window "Related Mails"; with a row selected, the list becomes
    // that mail's thread, sorted by the current key and direction, the mail
    // staying selected. With no row selected only the title changes.
    void chainTitle();

private:
    QPointer<MailTitles> titles_;
    QPointer<QWidget> titleWindow_;
};

} // namespace wex
