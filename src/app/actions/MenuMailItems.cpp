// The Mail menu's items for the commands on the selected mails.
//
// Keys follow desktop mail readers where they agree: Ctrl+R reply, Ctrl+N new
// mail, the Delete key, Ctrl+K mark read (Ctrl+Shift+R is "reply to all"
// elsewhere), Ctrl+Shift+F the search tool (Ctrl+F stays free for finding in
// the text), Ctrl+Shift+B the address book.
#include "MailCommands.h"
#include "MenuController.h"

#include <QAction>
#include <QMenu>

namespace wex {

void MenuController::addMailCommandItems()
{
    struct Item {
        const char *name;
        const char *text;
        QKeySequence key;
        void (MailCommands::*command)();
    };
    const Item items[] = {
        {"reply", QT_TRANSLATE_NOOP("WEX", "Reply"), QKeySequence(Qt::CTRL | Qt::Key_R), &MailCommands::reply},
        {"newMail", QT_TRANSLATE_NOOP("WEX", "New Mail"), QKeySequence(Qt::CTRL | Qt::Key_N), &MailCommands::newMail},
        {nullptr, nullptr, {}, nullptr},
        {"openByMailReader", QT_TRANSLATE_NOOP("WEX", "Open in Mail Reader"), QKeySequence(),
         &MailCommands::openByMailReader},
        {"launchURL", QT_TRANSLATE_NOOP("WEX", "Open With Application"), QKeySequence(Qt::CTRL | Qt::Key_O),
         &MailCommands::launchURL},
        {"showMail", QT_TRANSLATE_NOOP("WEX", "Show in File Manager"), QKeySequence(), &MailCommands::showMail},
        {nullptr, nullptr, {}, nullptr},
        {"makeRead", QT_TRANSLATE_NOOP("WEX", "Mark Read"), QKeySequence(Qt::CTRL | Qt::Key_K), &MailCommands::makeRead},
        {"deleteMail", QT_TRANSLATE_NOOP("WEX", "Delete..."), QKeySequence(Qt::Key_Delete), &MailCommands::deleteMail},
        {"printSelection", QT_TRANSLATE_NOOP("WEX", "Print Selection..."), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P),
         &MailCommands::printSelection},
        {nullptr, nullptr, {}, nullptr},
        {"addressBook", QT_TRANSLATE_NOOP("WEX", "Address Book"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_B),
         &MailCommands::addressBook},
        {"search", QT_TRANSLATE_NOOP("WEX", "Search"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F),
         &MailCommands::search},
        {nullptr, nullptr, {}, nullptr},
    };
    for (const Item &item : items) {
        if (!item.name) {
            mailMenu_->addSeparator();
            continue;
        }
        connect(addAction(mailMenu_, QLatin1String(item.name), item.text, item.key), &QAction::triggered,
                commands_, item.command);
    }
}

} // namespace wex
