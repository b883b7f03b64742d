#pragma once
// The related-mails command: replaces the mail table's list by the thread of
// the selected mail (the mail, the mails it answers, the mails that answer
// it), found through the store's reference folders.
//
// The title list, the title window and the store context must outlive it.
#include <QObject>

class QWidget;

namespace wex {

class MailTitles;
struct StoreContext;

class Chain : public QObject {
    Q_OBJECT
public:
    Chain(MailTitles &titles, QWidget &titleWindow, const StoreContext &store, QObject *parent = nullptr);

    // Titles the window "Related Mails"; with a row selected, the list becomes
    // that mail's thread, sorted by the current key and direction, the mail
    // staying selected. With no row selected only the title changes.
    void chainTitle();

private:
    MailTitles &titles_;
    QWidget &titleWindow_;
    const StoreContext &store_;
};

} // namespace wex
