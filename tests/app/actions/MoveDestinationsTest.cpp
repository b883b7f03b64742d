// Moves, the move destinations and the refresh on the title list and contents view with a folder browser.
#include "FSBrowser.h"
#include "FolderModel.h"
#include "FolderRefresh.h"
#include "MailMoves.h"
#include "MoveDestinations.h"
#include "ReadingFixture.h"
#include "RemoveDestinationDialog.h"

#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>

namespace wex::test {
namespace {

class MoveDestinationsTest : public ::testing::Test, protected ReadingFixture {
protected:
    MoveDestinationsTest()
    {
        // Rows 0 to 6 in date order; mails 0, 2 and 4 unread.
        for (int k = 0; k < 7; ++k)
            WriteMail(dir, "InBox/" + QByteArray::number(k) + (k % 2 == 0 && k < 5 ? ".ygm" : ".mail"), "sender",
                      QStringLiteral("mail %1").arg(k), k + 1);
        dir.mkdir("Archive");
        dir.mkdir("InBox/Work");
        browser.setRootPath(dir.path());
    }
    void load()
    {
        ASSERT_TRUE(browser.setPath(dir.at("InBox")));
        ASSERT_TRUE(LoadTitlesNow(titles, dir.at("InBox"), false));
    }
    void select(const QList<int> &rows) { SelectRows(table, rows); }
    QString archive() const { return dir.pathString() + QStringLiteral("/Archive"); }
    qsizetype archived() const { return QDir(archive()).entryList(QDir::Files).size(); }
    QString shownSubject()
    {
        return titles.selectedRow() < 0 ? QString() : titles.titleAt(titles.selectedRow())->subject();
    }

    TestDir settings;
    const StoreContext context{settings.path() + '/', dir.path(), dir.pathString()};
    FSBrowser browser;
    MailMoves moves{titles, titleWindow};
    MoveDestinations destinations{defaults, context, browser, moves, titleWindow};
    FolderRefresh refresh{titles, browser, moves};
};

// A mail whose name the destination holds already keeps its row; the rows of the moves that happened go and the
// mail after the last selected one is shown, no other on the way.
TEST_F(MoveDestinationsTest, MovesTheSelectedRowsNeverOverAnotherMailAndShowsTheMailAfterTheLast)
{
    const QByteArray occupant = dir.write("Archive/3.mail", "another mail of that name\n");
    load();
    select({1, 3, 4});
    moves.moveMailToDirectory(archive());
    EXPECT_EQ(ReadAll(occupant), "another mail of that name\n") << "never replaced";
    EXPECT_EQ(Subjects(titles), QStringList({"mail 0", "mail 2", "mail 3", "mail 5", "mail 6"}));
    EXPECT_EQ(titles.selectedRow(), 3);
    EXPECT_EQ(contents.currentPathString(), dir.at("InBox/5.mail"));
    EXPECT_TRUE(Exists(dir.at("Archive/1.mail")) && Exists(dir.at("InBox/3.mail")));
    EXPECT_TRUE(Exists(dir.at("Archive/4.ygm"))) << "a moved unread mail stays unread";
    EXPECT_FALSE(Exists(dir.at("InBox/4.ygm")));
    EXPECT_TRUE(Exists(dir.at("InBox/2.ygm"))) << "the mail between the moved ones was never shown";
    const QString message = moves.lastMessage();
    // Why before which: a narrow window cuts off the end of the line.
    EXPECT_TRUE(message.indexOf(QLatin1String("mail 3")) > message.indexOf(QLatin1String("Will not replace"))
                && message.contains(QLatin1String("Will not replace")) && message.contains(QLatin1String("3.mail")))
        << message.toStdString();
    EXPECT_EQ(titleWindow.statusBar()->currentMessage(), message);
}

TEST_F(MoveDestinationsTest, AnAttachmentFolderMovesWholeUnderItsName)
{
    WriteMail(dir, "InBox/9.mpart/9.mail", "sender", QStringLiteral("with parts"), 20);
    dir.write("InBox/9.mpart/photo.jpg", "jpeg bytes");
    load();
    select({7});
    ASSERT_TRUE(titles.titleAt(7)->archiveState());
    moves.moveMailToDirectory(archive());
    EXPECT_EQ(ReadAll(dir.at("Archive/9.mpart/photo.jpg")), "jpeg bytes");
    EXPECT_TRUE(Exists(dir.at("Archive/9.mpart/9.mail")));
    EXPECT_FALSE(Exists(dir.at("InBox/9.mpart")));
    EXPECT_EQ(titles.count(), 7);
}

TEST_F(MoveDestinationsTest, DestinationsInsideTheStoreAreKeptRelativeAndFollowTheRoot)
{
    const QString root = dir.pathString();
    destinations.restore();
    ASSERT_TRUE(browser.setPath(dir.at("InBox/Work")));
    destinations.addCurrentFolder();
    destinations.addFolder(root);
    destinations.addFolder(root + QStringLiteral("2/Old"));
    destinations.addFolder(QStringLiteral("/other/Folder"));
    EXPECT_EQ(destinations.moveArray(), QStringList({"InBox/Work", root, root + QStringLiteral("2/Old"), "/other/Folder"}));
    destinations.save();

    // Another store root: the relative destination follows it.
    TestDir other;
    WriteMail(other, "InBox/7.mail", "sender", QStringLiteral("elsewhere"), 1);
    other.mkdir("InBox/Work");
    const StoreContext otherContext{context.settingPath, other.path(), other.pathString()};
    MoveDestinations again(defaults, otherContext, browser, moves, titleWindow);
    again.restore();
    ASSERT_EQ(again.moveArray().size(), 4);
    ASSERT_TRUE(LoadTitlesNow(titles, other.at("InBox"), true));
    select({0});
    again.destinationItem(0)->trigger();
    EXPECT_TRUE(Exists(other.at("InBox/Work/7.mail")));
    EXPECT_EQ(titles.count(), 0);
}

TEST_F(MoveDestinationsTest, RemovingADestinationRenumbersTheKeysOfThoseAfterIt)
{
    destinations.restore();
    for (int k = 0; k < 10; ++k)
        destinations.addFolder(QStringLiteral("/folders/f%1").arg(k));
    const auto key = [this](int i) { return destinations.destinationItem(i)->shortcut(); };
    // In the window: Remove without a row leaves it open; then row 0 goes.
    bool stayedOpen = false;
    WhenModal<RemoveDestinationDialog>([&](RemoveDestinationDialog *dialog) {
        dialog->removeButton()->click();
        stayedOpen = dialog->isVisible();
        dialog->table()->selectRow(0);
        dialog->removeButton()->click();
    });
    destinations.remove();
    EXPECT_TRUE(stayedOpen);
    ASSERT_EQ(destinations.moveArray().size(), 9);
    QAction *first = destinations.destinationItem(0), *last = destinations.destinationItem(8);
    EXPECT_EQ(first->text() + first->data().toString() + key(0).toString(), QStringLiteral("f10Ctrl+1"));
    EXPECT_EQ(last->text() + last->data().toString() + key(8).toString(), QStringLiteral("f98Ctrl+9"));
    EXPECT_EQ(destinations.moveMenu()->actions().value(0), first);
    destinations.removeAll();
    EXPECT_TRUE(destinations.moveArray().isEmpty());
    EXPECT_TRUE(destinations.moveMenu()->actions().first()->isSeparator()) << "the menu's own items stay";
}

TEST_F(MoveDestinationsTest, RefreshKeepsTheShownMailSelectedAndListsNewFolders)
{
    load();
    titles.showInTitleIndex(3);
    WriteMail(dir, "InBox/10.ygm", "sender", QStringLiteral("older"), 1);
    dir.mkdir("Fresh");
    refresh.refreshList(false);
    ASSERT_TRUE(WaitForTitles(titles));
    EXPECT_EQ(shownSubject(), QStringLiteral("mail 3"));
    EXPECT_EQ(titles.count(), 8);
    EXPECT_TRUE(Exists(dir.at("InBox/10.ygm"))) << "the new unread mail was not shown";
    EXPECT_GE(browser.folderModel()->rowOfName(browser.columnView(0)->rootIndex(), "Fresh"), 0);
    refresh.refreshList(true);
    ASSERT_TRUE(WaitForTitles(titles));
    EXPECT_EQ(contents.currentPathString(), dir.at("InBox/10.mail")) << "the menu's refresh goes to the first unread";
}

TEST_F(MoveDestinationsTest, ALongMoveGoesOnFromTheEventLoopAndFindsItsMailsInAListSortedMeanwhile)
{
    for (int k = 0; k < 40; ++k) // all of one date
        WriteMail(dir, "InBox/m" + QByteArray::number(k) + ".mail", "sender", QStringLiteral("many %1").arg(k), 28);
    load();
    moves.setStepBudget(std::chrono::nanoseconds(0)); // one mail a step
    select({2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21});
    QSignalSpy finished(&moves, &MailMoves::moveFinished);
    moves.moveMailToDirectory(archive());
    ASSERT_TRUE(moves.isMoving());
    ASSERT_TRUE(WaitUntil([&] { return titles.count() < 46; })) << "rows leave as their mails move";
    ASSERT_TRUE(moves.isMoving());
    // Sorted by subject, descending, meanwhile: the rows still to go are found by their mails.
    const int subject = TitleTableModel::columnOfIdentifier(QStringLiteral("subject"));
    emit table.horizontalHeader()->sectionClicked(subject);
    emit table.horizontalHeader()->sectionClicked(subject);
    ASSERT_TRUE(moves.isMoving());
    ASSERT_TRUE(WaitUntil([&] { return finished.count() == 1; }));
    EXPECT_EQ(archived(), 20);
    ASSERT_EQ(titles.count(), 27);
    for (const Title &title : titles.mailTitles())
        EXPECT_TRUE(Exists(title.path())) << title.path().constData();
    EXPECT_EQ(shownSubject(), QStringLiteral("many 9")) << "the user's row stays; old row numbers mean nothing now";

    // A refresh first ends a running move, then lists what the folder holds.
    table.selectAll();
    moves.moveMailToDirectory(archive());
    ASSERT_TRUE(moves.isMoving());
    refresh.refreshList(false);
    EXPECT_FALSE(moves.isMoving());
    EXPECT_EQ(finished.count(), 2);
    ASSERT_TRUE(WaitForTitles(titles));
    EXPECT_EQ(titles.count(), 0);
    EXPECT_EQ(archived(), 47);
}

TEST_F(MoveDestinationsTest, TheMailMoverStartsWithoutArgumentsOrSaysWhyNot)
{
    suite.addApplication("WEX_Relocate.app");
    destinations.WEXMove();
    ASSERT_TRUE(WaitUntil([this] { return !suite.callsOf("WEX_Relocate").isEmpty(); }));
    EXPECT_EQ(suite.lines(), QList<QByteArray>({"WEX_Relocate"})) << "no file, no argument";
    QDir(QFile::decodeName(suite.suite() + "/WEX_Relocate.app")).removeRecursively();
    destinations.WEXMove();
    EXPECT_TRUE(moves.lastMessage().contains(QLatin1String("WEX_Relocate"))) << moves.lastMessage().toStdString();
}

} // namespace
} // namespace wex::test
