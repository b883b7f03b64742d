#include "Chain.h"

#include "CachedEntries.h"
#include "ChainWalk.h"
#include "MailTitles.h"
#include "PathUtils.h"
#include "StoreLocations.h"

#include <QWidget>

namespace wex {

Chain::Chain(QObject *parent) : QObject(parent) {}

void Chain::setMailTitles(MailTitles *titles) { titles_ = titles; }
void Chain::setMailTitleWindow(QWidget *window) { titleWindow_ = window; }

void Chain::chainTitle()
{
    if (titleWindow_)
        titleWindow_->setWindowTitle(Localize(QT_TRANSLATE_NOOP("WEX", "Related Mails")));
    if (!titles_)
        return;
    const Title *selected = titles_->titleAt(titles_->selectedRow());
    if (!selected)
        return;
    const CachedEntries cache(titles_->titleScanner(), titles_->useCache());
    ChainWalk walk(titles_->titleScanner(), wexRootPath());
    titles_->replaceMailTitles(walk.chainTitleArray(selected->path()));
}

} // namespace wex
