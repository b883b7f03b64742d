// Commands on several mails at once act on exactly the mails the user chose,
// show no mail while they run, and leave no row behind that a running load
// could bring back.
#include "AppController.h"
#include "AppFixture.h"
#include "MailCommands.h"
#include "MailContents.h"
#include "MailMoves.h"
#include "MenuController.h"
#include "FolderLoader.h"
#include "MoveDestinations.h"

#include <QAction>
#include <QItemSelectionModel>
#include <QMessageBox>
#include <QStatusBar>
#include <QTableView>

namespace wex::test {
namespace {

class SeveralMailsTest : public AppFixture {
protected:
    // Box holds one mail a day: "m0" ... , unread where the letter is 'u'
    // ("rruu": m0, m1 read; m2, m3 unread). The application starts on m0,
    // so no other mail is read by the start.
    void startOnBox(const char *states)
    {
        for (int i = 0; states[i]; ++i)
            WriteMail(store, "Box/" + QByteArray::number(i) + (states[i] == 'u' ? ".ygm" : ".mail"), QStringLiteral("x"),
                      QStringLiteral("m%1").arg(i), i + 1);
        start([&](Assembly &a) { a.appController().setStartPath(store.at("Box/0.mail")); });
    }
    // The first row as a click selects it (its mail shown), the others added
    // to the selection as Ctrl+click adds them, the first staying current:
    // no other mail is shown, so unread ones stay unread.
    void select(std::initializer_list<int> rows)
    {
        QItemSelectionModel *selection = app->mailTable().selectionModel();
        const QAbstractItemModel *model = app->mailTable().model();
        selection->setCurrentIndex(model->index(*rows.begin(), 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        for (int row : rows)
            selection->select(model->index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    // Delete, then Return in the confirmation.
    void deleteConfirmed()
    {
        WhenModal<QMessageBox>([](QMessageBox *box) { QTest::keyClick(box, Qt::Key_Return); });
        app->menuController().action(QStringLiteral("deleteMail"))->trigger();
    }
};

TEST_F(SeveralMailsTest, DeletingUnreadMailsDeletesEveryOneConfirmed)
{
    startOnBox("rruu");
    select({1, 2, 3});
    deleteConfirmed();

    EXPECT_EQ(subjects(), QStringList{QStringLiteral("m0")});
    for (const char *name : {"Box/1.mail", "Box/2.ygm", "Box/2.mail", "Box/3.ygm", "Box/3.mail"})
        EXPECT_FALSE(Exists(store.at(name))) << name;
    EXPECT_EQ(app->mailContents().currentPathString(), store.at("Box/0.mail"));
}

TEST_F(SeveralMailsTest, DeletingScatteredRowsShowsOnlyTheRowAfterTheLast)
{
    startOnBox("rruuuuu");
    select({2, 3, 5});
    deleteConfirmed();
    EXPECT_EQ(subjects(), (QStringList{QStringLiteral("m0"), QStringLiteral("m1"), QStringLiteral("m4"), QStringLiteral("m6")}));
    EXPECT_TRUE(Exists(store.at("Box/4.ygm"))) << "a mail passed over on the way is not shown, so stays unread";
    EXPECT_EQ(titles().selectedRow(), 3);
    EXPECT_EQ(app->mailContents().currentPathString(), store.at("Box/6.mail"));
}

TEST_F(SeveralMailsTest, AMoveDuringALoadOfTheSameFolderLeavesNoGhostRow)
{
    store.mkdir("Archive");
    startOnBox("rrr");
    app->moveDestinations().addFolder(store.pathString() + QStringLiteral("/Archive"));
    // The refresh lists and reads the folder; its titles, the moved mail
    // among them, arrive only after the move.
    titles().folderLoader().setHeldForTesting(true);
    app->menuController().action(QStringLiteral("refreshList"))->trigger();
    ASSERT_TRUE(titles().isLoading());
    select({0});
    titles().folderLoader().setHeldForTesting(false);
    titles().folderLoader().waitForWorkerForTesting();
    app->moveDestinations().moveMailTo(0);
    ASSERT_FALSE(app->mailMoves().isMoving());
    ASSERT_TRUE(WaitForTitles(titles()));
    EXPECT_TRUE(Exists(store.at("Archive/0.mail")));
    EXPECT_EQ(subjects(), (QStringList{QStringLiteral("m1"), QStringLiteral("m2")}));
}

// Another program renamed one selected mail and removed another while their
// rows were shown: a move and a delete then say so and touch no other mail.
TEST_F(SeveralMailsTest, MailsChangedUnderTheirRowsAreToldAndNoOtherIsTouched)
{
    store.mkdir("Archive");
    startOnBox("rrrr");
    app->moveDestinations().addFolder(store.pathString() + QStringLiteral("/Archive"));
    const QByteArray others[] = {ReadAll(store.at("Box/0.mail")), ReadAll(store.at("Box/3.mail"))};
    select({1, 2});
    ASSERT_EQ(::rename(store.at("Box/1.mail").constData(), store.at("Box/1.rply").constData()), 0);
    ASSERT_EQ(::unlink(store.at("Box/2.mail").constData()), 0);
    app->moveDestinations().moveMailTo(0);
    ASSERT_TRUE(WaitUntil([&] { return !app->mailMoves().isMoving(); })); // steps of a time budget
    EXPECT_FALSE(app->mailMoves().lastMessage().isEmpty());
    select({1, 2});
    deleteConfirmed();
    EXPECT_FALSE(app->titleWindow().statusBar()->currentMessage().isEmpty());
    EXPECT_EQ(ReadAll(store.at("Box/0.mail")), others[0]);
    EXPECT_EQ(ReadAll(store.at("Box/3.mail")), others[1]);
    EXPECT_TRUE(Exists(store.at("Box/1.rply")) || Exists(store.at("Archive/1.rply")));
    EXPECT_EQ(Entries(store.at("Archive")).size(), Exists(store.at("Archive/1.rply")) ? 1 : 0);
}

} // namespace
} // namespace wex::test
