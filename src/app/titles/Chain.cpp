#include "Chain.h"

#include "CachedEntries.h"
#include "ChainWalk.h"
#include "MailTitles.h"
#include "PathUtils.h"
#include "StoreContext.h"

#include <QWidget>

namespace wex {

Chain::Chain(MailTitles &titles, QWidget &titleWindow, const StoreContext &store, QObject *parent)
    : QObject(parent), titles_(titles), titleWindow_(titleWindow), store_(store)
{
}

void Chain::chainTitle()
{
    titleWindow_.setWindowTitle(Localize(QT_TRANSLATE_NOOP("WEX", "Related Mails")));
    const Title *selected = titles_.titleAt(titles_.selectedRow());
    if (!selected)
        return;
    const CachedEntries cache(titles_.titleScanner(), titles_.useCache());
    ChainWalk walk(titles_.titleScanner(), store_.rootPath);
    titles_.replaceMailTitles(walk.chainTitleArray(selected->path()));
}

} // namespace wex
