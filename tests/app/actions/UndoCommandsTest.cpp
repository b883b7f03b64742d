// Edit > Undo and Redo in the assembled program: the journal its own renames
// and moves went to, and the list loaded again after each step.
#include "AppFixture.h"
#include "MailMoves.h"
#include "MenuController.h"
#include "UndoCommands.h"

#include <QAction>

namespace wex::test {

class UndoCommandsTest : public AppFixture {};

TEST_F(UndoCommandsTest, UndoesTheMoveThenTheReadMarkAndRedoesTheMove)
{
    start();
    ASSERT_TRUE(Exists(store.at("InBox/2.mail"))) << "start-up shows and reads 'second'";
    store.mkdir("Archive");
    SelectRows(app->mailTable(), {0, 2});
    app->mailMoves().moveMailToDirectory(store.pathString() + "/Archive");
    ASSERT_TRUE(WaitUntil([&] { return !app->mailMoves().isMoving(); }));
    ASSERT_TRUE(Exists(store.at("Archive/1.mail")) && Exists(store.at("Archive/3.ygm")));
    UndoCommands &undo = app->undoCommands();
    undo.updateItems();
    const QString moveText = undo.undoAction()->text();

    undo.undoAction()->trigger(); // the move, both mails as one step
    EXPECT_TRUE(Exists(store.at("InBox/1.mail")) && Exists(store.at("InBox/3.ygm")));
    ASSERT_TRUE(WaitForTitles(titles()));
    EXPECT_EQ(subjects().size(), 3);
    EXPECT_NE(undo.undoAction()->text(), moveText) << "the item names the next step";

    undo.undoAction()->trigger(); // the read mark 'second' got on show
    ASSERT_TRUE(WaitForTitles(titles()));
    EXPECT_TRUE(Exists(store.at("InBox/2.ygm"))) << "not read again by being shown after the undo";
    EXPECT_FALSE(Exists(store.at("InBox/2.mail")));

    ASSERT_EQ(::rename(store.at("InBox/2.ygm").constData(), store.at("InBox/2.imail").constData()), 0);
    undo.redoAction()->trigger(); // 'second' changed since: left and named
    EXPECT_TRUE(Exists(store.at("InBox/2.imail")));
    EXPECT_TRUE(undo.lastMessage().contains(QLatin1String("2.ygm")));
    undo.redoAction()->trigger(); // then the move again
    EXPECT_TRUE(Exists(store.at("Archive/1.mail")) && Exists(store.at("Archive/3.ygm")));

    ASSERT_TRUE(WaitForTitles(titles()));
    suite.addApplication("WEX_Composer.app");
    SelectRows(app->mailTable(), {0}); // 'second', now 2.imail
    app->menuController().action(QStringLiteral("reply"))->trigger();
    ASSERT_TRUE(WaitUntil([&] { return Exists(store.at("InBox/2.rply")); }));
    undo.undoAction()->trigger(); // the reply mark
    EXPECT_TRUE(Exists(store.at("InBox/2.imail")));
}

} // namespace wex::test
