#pragma once
// The refresh command: the title list loaded again from the browser's folder,
// and the browser's open columns listed again (folders come and go under the
// downloader and the mail mover). A move still running is finished first, so
// the list it works on is the one that goes.
//
// The title list, the browser and the moves must outlive it.
#include <QObject>

namespace wex {

class FSBrowser;
class MailMoves;
class MailTitles;

class FolderRefresh : public QObject {
    Q_OBJECT
public:
    FolderRefresh(MailTitles &titles, FSBrowser &browser, MailMoves &moves, QObject *parent = nullptr);

    // refresh true (the menu) goes to the first unread mail, false (a
    // download's end) keeps the shown mail selected.
    void refreshList(bool refresh);

private:
    MailTitles &titles_;
    FSBrowser &browser_;
    MailMoves &moves_;
};

} // namespace wex
