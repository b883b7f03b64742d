#include "TitleSpeech.h"

#include "PathUtils.h"
#include "Title.h"

#include <QStringList>

namespace wex {
namespace {

// The words before the sender: how far the user has dealt with the mail.
QStringList HandlingWords(const Title &title)
{
    QStringList words;
    if (title.unreadState())
        words << Localize(QT_TRANSLATE_NOOP("WEX", "unread"));
    else if (!title.sendState()) // a mail of one's own, not yet sent, is neither
        words << Localize(QT_TRANSLATE_NOOP("WEX", "read"));
    if (title.replyState())
        words << Localize(QT_TRANSLATE_NOOP("WEX", "replied"));
    if (title.errorState())
        words << Localize(QT_TRANSLATE_NOOP("WEX", "error mail"));
    if (title.sendState())
        words << Localize(QT_TRANSLATE_NOOP("WEX", "waiting to be sent"));
    return words;
}

// The words after the date: what the mail holds.
QStringList ContentWords(const Title &title)
{
    QStringList words;
    if (title.archiveState())
        words << Localize(QT_TRANSLATE_NOOP("WEX", "with attachments"));
    if (title.htmlState())
        words << Localize(QT_TRANSLATE_NOOP("WEX", "in HTML"));
    if (title.noMainState())
        words << Localize(QT_TRANSLATE_NOOP("WEX", "without main text"));
    return words;
}

QString Separator() { return Localize(QT_TRANSLATE_NOOP("WEX", ", ")); }

} // namespace

QString SpokenState(const Title &title)
{
    return (HandlingWords(title) + ContentWords(title)).join(Separator());
}

QString SpokenTitle(const Title &title, const QString &shownDate)
{
    QStringList pieces = HandlingWords(title);
    // A mail waiting to be sent shows its recipient where others show the sender.
    pieces << (title.sendState() ? Localize(QT_TRANSLATE_NOOP("WEX", "to %1"))
                                 : Localize(QT_TRANSLATE_NOOP("WEX", "from %1")))
                  .arg(title.from());
    pieces << title.subject();
    if (!shownDate.isEmpty())
        pieces << shownDate;
    return (pieces + ContentWords(title)).join(Separator());
}

} // namespace wex
