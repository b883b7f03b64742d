#include "FolderRefresh.h"

#include "FSBrowser.h"
#include "MailMoves.h"
#include "MailTitles.h"

namespace wex {

FolderRefresh::FolderRefresh(MailTitles &titles, FSBrowser &browser, MailMoves &moves, QObject *parent)
    : QObject(parent), titles_(titles), browser_(browser), moves_(moves)
{
}

void FolderRefresh::refreshList(bool refresh)
{
    moves_.finishMove();
    titles_.loadTitleTable(browser_.path(), refresh);
    browser_.reloadColumns();
}

} // namespace wex
