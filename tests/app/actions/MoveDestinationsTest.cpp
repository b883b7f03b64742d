// The move destinations over the whole application as the Assembly wires it:
// a real store in a scratch home, fake suite programs first on PATH.
#include "Assembly.h"
#include "DefaultsStore.h"
#include "FSBrowser.h"
#include "FSNodeInfo.h"
#include "FolderModel.h"
#include "MailContents.h"
#include "MailTitles.h"
#include "MenuController.h"
#include "MoveDestinations.h"
#include "RemoveDestinationDialog.h"
#include "FakeSuite.h"
#include "ShellTestSupport.h"
#include "PathUtils.h"
#include "StoreLocations.h"
#include "TitleTableModel.h"
#include "WaitForTitles.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QHeaderView>
#include <QJsonArray>
#include <QJsonObject>
#include <QListView>
#include <QMainWindow>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <unistd.h>

namespace wex::test {
namespace {

class MoveDestinationsTest : public ::testing::Test {
protected:
    MoveDestinationsTest()
    {
        ResetWEXPaths();
        FSNodeInfo::setSortFolderTag(QStringLiteral("name"));
        // Rows 0 to 6 in date order; mails 0, 2 and 4 unread (start-up shows,
        // and so reads, mail 0).
        for (int k = 0; k < 7; ++k)
            WriteMail(store, "InBox/" + QByteArray::number(k) + (k % 2 == 0 && k < 5 ? ".ygm" : ".mail"),
                      QStringLiteral("sender"), QStringLiteral("mail %1").arg(k), k + 1);
        store.mkdir("Archive");
        store.mkdir("InBox/Work");
        home.makeSettings(store.path());
    }
    ~MoveDestinationsTest() override { ResetWEXPaths(); }

    std::unique_ptr<Assembly> start()
    {
        auto app = std::make_unique<Assembly>();
        EXPECT_TRUE(app->start());
        EXPECT_TRUE(WaitForTitles(*app->mailTitles()));
        return app;
    }
    // As a click on the first row and Ctrl-clicks on the others do: the
    // first row's mail is the one shown.
    static void selectRows(Assembly &app, std::initializer_list<int> rows)
    {
        QItemSelectionModel *selection = app.mailTable()->selectionModel();
        selection->clearSelection();
        for (int row : rows) {
            const QModelIndex index = app.mailTable()->model()->index(row, 0);
            if (row == *rows.begin())
                selection->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            else
                selection->select(index, QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
    }
    // Forty more mails "many 0".."many 39", all of one date.
    void writeMany()
    {
        for (int k = 0; k < 40; ++k)
            WriteMail(store, "InBox/m" + QByteArray::number(k) + ".mail", "sender", QStringLiteral("many %1").arg(k), 28);
    }
    QString archive() const { return store.pathString() + QStringLiteral("/Archive"); }
    qsizetype archived() const { return QDir(archive()).entryList(QDir::Files).size(); }
    static QStringList subjects(Assembly &app)
    {
        QStringList list;
        for (const Title &t : app.mailTitles()->mailTitles())
            list.append(t.subject());
        return list;
    }
    static QString shownSubject(Assembly &app)
    {
        const int row = app.mailTitles()->selectedRow();
        return row < 0 ? QString() : app.mailTitles()->titleAt(row)->subject();
    }

    FakeSuite programs;
    TempHome home;
    TestDir store;
};

TEST_F(MoveDestinationsTest, MovesTheSelectedRowsAndShowsTheMailAfterTheLastWithoutShowingOthersOnTheWay)
{
    auto app = start();
    selectRows(*app, {1, 4});
    app->moveDestinations()->moveMailToDirectory(archive());

    EXPECT_EQ(subjects(*app), QStringList({"mail 0", "mail 2", "mail 3", "mail 5", "mail 6"}));
    EXPECT_EQ(app->mailTitles()->selectedRow(), 3);
    EXPECT_EQ(app->mailContents()->currentPathString(), store.at("InBox/5.mail"));
    EXPECT_TRUE(Exists(store.at("Archive/1.mail")));
    EXPECT_TRUE(Exists(store.at("Archive/4.ygm"))) << "a moved unread mail stays unread";
    EXPECT_FALSE(Exists(store.at("InBox/4.ygm")));
    EXPECT_TRUE(Exists(store.at("InBox/2.ygm"))) << "the mail between the moved ones was never shown";
}

TEST_F(MoveDestinationsTest, AMailThatCannotMoveKeepsItsRowAndIsNamedWithTheReason)
{
    const QByteArray occupant = store.write("Archive/3.mail", "another mail of that name\n");
    auto app = start();
    selectRows(*app, {2, 3, 5});
    app->moveDestinations()->moveMailToDirectory(archive());

    EXPECT_EQ(ReadAll(occupant), "another mail of that name\n") << "never replaced";
    EXPECT_TRUE(Exists(store.at("InBox/3.mail")));
    EXPECT_TRUE(Exists(store.at("Archive/2.mail")));
    EXPECT_TRUE(Exists(store.at("Archive/5.mail")));
    // Only the two moves that happened took rows: the last mail (row 5) was
    // at index 4, which now holds mail 6.
    EXPECT_EQ(subjects(*app), QStringList({"mail 0", "mail 1", "mail 3", "mail 4", "mail 6"}));
    EXPECT_EQ(shownSubject(*app), QStringLiteral("mail 6"));
    const QString message = app->moveDestinations()->lastMessage();
    EXPECT_TRUE(message.contains(QLatin1String("mail 3")) && message.contains(QLatin1String("3.mail")) &&
                message.contains(QLatin1String("replace")))
        << message.toStdString();
    EXPECT_EQ(app->titleWindow()->statusBar()->currentMessage(), message);
}

TEST_F(MoveDestinationsTest, ScatteredRowsLeaveTogetherAndTheRowAfterTheLastIsShown)
{
    writeMany();
    auto app = start();
    QStringList expected = subjects(*app);
    QTableView *table = app->mailTable();
    table->selectionModel()->clearSelection();
    for (int row = 1; row < 47; row += 2) {
        table->selectionModel()->select(table->model()->index(row, 0),
                                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
        expected.removeOne(app->mailTitles()->titleAt(row)->subject());
    }
    app->moveDestinations()->moveMailToDirectory(archive());
    EXPECT_EQ(subjects(*app), expected);
    EXPECT_EQ(archived(), 23);
    // The last mail moved (row 45) was at index 45 - 22 = 23, now its follower's.
    EXPECT_EQ(app->mailTitles()->selectedRow(), 23);
    EXPECT_EQ(shownSubject(*app), expected.value(23));
}

TEST_F(MoveDestinationsTest, AnAttachmentFolderMovesWholeUnderItsName)
{
    WriteMail(store, "InBox/9.mpart/9.mail", QStringLiteral("sender"), QStringLiteral("with parts"), 20);
    store.write("InBox/9.mpart/photo.jpg", "jpeg bytes");
    auto app = start();
    ASSERT_EQ(shownSubject(*app), QStringLiteral("mail 0"));
    selectRows(*app, {7});
    ASSERT_TRUE(app->mailTitles()->titleAt(7)->archiveState());
    app->moveDestinations()->moveMailToDirectory(archive());
    EXPECT_EQ(ReadAll(store.at("Archive/9.mpart/photo.jpg")), "jpeg bytes");
    EXPECT_TRUE(Exists(store.at("Archive/9.mpart/9.mail")));
    EXPECT_FALSE(Exists(store.at("InBox/9.mpart")));
    EXPECT_EQ(app->mailTitles()->count(), 7);
}

TEST_F(MoveDestinationsTest, MovesWithNothingToDoChangeNothing)
{
    auto app = start();
    MoveDestinations *moves = app->moveDestinations();
    // Into the folder the mails already lie in: rows and selection stay.
    selectRows(*app, {1, 3});
    moves->moveMailToDirectory(store.pathString() + QStringLiteral("/InBox"));
    EXPECT_EQ(app->mailTitles()->count(), 7);
    EXPECT_EQ(app->mailTable()->selectionModel()->selectedRows().size(), 2);
    EXPECT_TRUE(Exists(store.at("InBox/1.mail")) && Exists(store.at("InBox/3.mail")));
    EXPECT_TRUE(moves->lastMessage().contains(QLatin1String("already"))) << moves->lastMessage().toStdString();

    // A destination that is gone: one message, nothing moved.
    moves->moveMailToDirectory(store.pathString() + QStringLiteral("/Gone"));
    EXPECT_TRUE(moves->lastMessage().contains(QLatin1String("Gone")));
    EXPECT_EQ(app->mailTitles()->count(), 7);

    // No row selected: nothing moves and no row is shown.
    selectRows(*app, {});
    moves->moveMailToDirectory(archive());
    EXPECT_EQ(app->mailTitles()->count(), 7);
    EXPECT_EQ(app->mailTitles()->selectedRow(), -1);
    EXPECT_TRUE(QDir(archive()).isEmpty());
}

TEST_F(MoveDestinationsTest, DestinationsInsideTheStoreAreKeptRelativeAndFollowTheRootAcrossAQuit)
{
    const QString root = store.pathString();
    {
        auto app = start();
        MoveDestinations *moves = app->moveDestinations();
        ASSERT_TRUE(app->fsBrowser()->setPath(String2Path(root) + "/InBox/Work"));
        moves->addCurrentFolder();
        moves->addFolder(root);
        moves->addFolder(root + QStringLiteral("2/Old"));
        moves->addFolder(QStringLiteral("/other/Folder"));
        EXPECT_EQ(moves->moveArray(),
                  QStringList({"InBox/Work", root, root + QStringLiteral("2/Old"), "/other/Folder"}));
        EXPECT_EQ(moves->destinationItem(0)->text(), QStringLiteral("Work"));
        EXPECT_EQ(moves->moveMenu()->actions().value(0), moves->destinationItem(0));
        app->terminate();
    }
    // Another store root: the relative destination follows it.
    TestDir other;
    WriteMail(other, "InBox/7.mail", QStringLiteral("sender"), QStringLiteral("elsewhere"), 1);
    other.mkdir("InBox/Work");
    const QByteArray link = home.home() + "/Library/Preferences/WEX_Preferences/WEX_Root";
    ASSERT_EQ(::unlink(link.constData()), 0);
    ASSERT_EQ(::symlink(other.path().constData(), link.constData()), 0);
    ResetWEXPaths();

    auto app = start();
    MoveDestinations *moves = app->moveDestinations();
    ASSERT_EQ(moves->moveArray().size(), 4);
    EXPECT_EQ(moves->destinationItem(0)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_1));
    selectRows(*app, {0});
    app->showWindows();
    ASSERT_TRUE(QTest::qWaitForWindowActive(app->contentsWindow()));
    QTest::keyClick(app->contentsWindow(), Qt::Key_1, Qt::ControlModifier);
    EXPECT_TRUE(Exists(other.at("InBox/Work/7.mail")));
    EXPECT_EQ(app->mailTitles()->count(), 0);
}

TEST_F(MoveDestinationsTest, TenDestinationsAreRenumberedAfterARemovalInTheRemoveWindow)
{
    auto app = start();
    MoveDestinations *moves = app->moveDestinations();
    for (int k = 0; k < 10; ++k)
        moves->addFolder(QStringLiteral("/folders/f%1").arg(k));
    const auto keys = [moves] {
        QStringList list;
        for (int i = 0; i < moves->moveArray().size(); ++i) {
            QAction *item = moves->destinationItem(i);
            EXPECT_EQ(moves->moveMenu()->actions().value(i), item);
            EXPECT_EQ(item->data().toInt(), i);
            list.append(item->text() + QLatin1Char('=') + item->shortcut().toString(QKeySequence::PortableText));
        }
        return list;
    };
    EXPECT_EQ(keys().first(), QStringLiteral("f0=Ctrl+1"));
    EXPECT_EQ(keys()[8], QStringLiteral("f8=Ctrl+9"));
    EXPECT_EQ(keys()[9], QStringLiteral("f9="));

    // In the window: Remove without a row leaves it open; then row 0 goes.
    bool stayedOpen = false;
    QTimer::singleShot(0, [&] {
        auto *dialog = app->titleWindow()->findChild<RemoveDestinationDialog *>();
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->table()->rowCount(), 10);
        dialog->removeButton()->click();
        stayedOpen = dialog->isVisible();
        dialog->table()->selectRow(0);
        dialog->removeButton()->click();
    });
    moves->remove();
    EXPECT_TRUE(stayedOpen);
    const QStringList after = keys();
    ASSERT_EQ(after.size(), 9);
    EXPECT_EQ(after.first(), QStringLiteral("f1=Ctrl+1"));
    EXPECT_EQ(after.last(), QStringLiteral("f9=Ctrl+9"));
    EXPECT_EQ(moves->moveArray().first(), QStringLiteral("/folders/f1"));

    const auto window = [&app] { return app->titleWindow()->findChild<RemoveDestinationDialog *>(); };
    QTimer::singleShot(0, [&] { window()->cancelButton()->click(); });
    moves->remove();
    EXPECT_EQ(moves->moveArray().size(), 9);
    QTimer::singleShot(0, [&] { window()->removeAllButton()->click(); });
    moves->remove();
    EXPECT_TRUE(moves->moveArray().isEmpty());
    EXPECT_EQ(moves->moveMenu()->actions().first()->isSeparator(), true) << "the menu's own items stay";
}

TEST_F(MoveDestinationsTest, WrongTypedMoveFolderValuesAreIgnored)
{
    const auto startWith = [this](const QJsonValue &value) {
        DefaultsStore defaults(DefaultsStore::defaultPath());
        value.isArray() ? defaults.setArray("Move Folder", value.toArray()) : defaults.setString("Move Folder", value.toString());
        EXPECT_TRUE(defaults.save());
        ResetWEXPaths();
        return start();
    };
    {
        auto app = startWith(QJsonArray({1, QStringLiteral("InBox/Work"), QJsonValue(), QJsonObject(), QJsonArray()}));
        EXPECT_EQ(app->moveDestinations()->moveArray(), QStringList({"InBox/Work"}));
        EXPECT_EQ(app->moveDestinations()->destinationItem(0)->text(), QStringLiteral("Work"));
    }
    auto app = startWith(QStringLiteral("InBox/Work"));
    EXPECT_TRUE(app->moveDestinations()->moveArray().isEmpty());
    EXPECT_EQ(app->moveDestinations()->destinationItem(0), nullptr);
}

TEST_F(MoveDestinationsTest, RefreshKeepsTheShownMailSelectedAndListsNewFolders)
{
    auto app = start();
    app->mailTitles()->showInTitleIndex(3);
    ASSERT_EQ(app->mailContents()->currentPathString(), store.at("InBox/3.mail"));
    WriteMail(store, "InBox/10.ygm", QStringLiteral("sender"), QStringLiteral("older"), 1);
    store.mkdir("Fresh");

    app->menuController()->refreshList(false);
    ASSERT_TRUE(WaitForTitles(*app->mailTitles()));
    EXPECT_EQ(shownSubject(*app), QStringLiteral("mail 3"));
    EXPECT_EQ(app->mailTitles()->count(), 8);
    EXPECT_TRUE(Exists(store.at("InBox/10.ygm"))) << "the new unread mail was not shown";
    FSBrowser *browser = app->fsBrowser();
    bool listed = false;
    for (int column = 0; column <= browser->lastColumn(); ++column)
        listed = listed || browser->folderModel()->rowOfName(browser->columnView(column)->rootIndex(), "Fresh") >= 0;
    EXPECT_TRUE(listed);

    app->menuController()->action(QStringLiteral("refreshList"))->trigger();
    ASSERT_TRUE(WaitForTitles(*app->mailTitles()));
    EXPECT_EQ(app->menuController()->action(QStringLiteral("refreshList"))->shortcut(), QKeySequence(Qt::Key_F5));
    EXPECT_EQ(app->mailContents()->currentPathString(), store.at("InBox/10.mail")) << "F5 goes to the first unread";
}

TEST_F(MoveDestinationsTest, ChoosingAFolderAddsItAndMovesTheSelectedMailsThere)
{
    auto app = start();
    selectRows(*app, {0});
    QString label, startedIn;
    QTimer::singleShot(0, [&] {
        auto *chooser = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(chooser, nullptr);
        label = chooser->labelText(QFileDialog::Accept);
        startedIn = chooser->directory().absolutePath();
        chooser->setDirectory(archive());
        static_cast<QDialog *>(chooser)->accept(); // the dialog's own accept runs
    });
    app->moveDestinations()->addFolderAndMove();
    EXPECT_EQ(label, QStringLiteral("Choose"));
    EXPECT_EQ(startedIn, store.pathString());
    EXPECT_EQ(app->moveDestinations()->moveArray(), QStringList({"Archive"}));
    EXPECT_TRUE(Exists(store.at("Archive/0.mail")));

    // Cancelled: nothing added, nothing moved.
    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
    app->moveDestinations()->addFolderAndMove();
    EXPECT_EQ(app->moveDestinations()->moveArray().size(), 1);
    EXPECT_EQ(app->mailTitles()->count(), 6);
}

TEST_F(MoveDestinationsTest, ALongMoveGoesOnFromTheEventLoopAndFindsItsMailsInAListSortedMeanwhile)
{
    writeMany();
    auto app = start();
    MoveDestinations *moves = app->moveDestinations();
    moves->setStepBudget(std::chrono::nanoseconds(0)); // one mail a step
    QTableView *table = app->mailTable();
    table->selectionModel()->setCurrentIndex(table->model()->index(2, 0),
                                             QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    table->selectionModel()->select(QItemSelection(table->model()->index(2, 0), table->model()->index(21, 0)),
                                    QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QSignalSpy finished(moves, &MoveDestinations::moveFinished);
    moves->moveMailToDirectory(archive());
    ASSERT_TRUE(moves->isMoving());
    EXPECT_EQ(app->mailTitles()->count(), 46);
    QApplication::processEvents();
    QApplication::processEvents();
    ASSERT_TRUE(moves->isMoving());
    EXPECT_LT(app->mailTitles()->count(), 46) << "rows leave as their mails move";

    // The user sorts by subject, descending, meanwhile: the rows still to go are found by
    // their mails, and only theirs leave.
    const int subject = TitleTableModel::columnOfIdentifier(QStringLiteral("subject"));
    emit table->horizontalHeader()->sectionClicked(subject);
    emit table->horizontalHeader()->sectionClicked(subject); // descending
    ASSERT_TRUE(moves->isMoving());
    ASSERT_TRUE(finished.wait(5000));
    EXPECT_EQ(archived(), 20);
    ASSERT_EQ(app->mailTitles()->count(), 27);
    for (const Title &title : app->mailTitles()->mailTitles())
        EXPECT_TRUE(Exists(title.path())) << title.path().constData();
    EXPECT_EQ(shownSubject(*app), QStringLiteral("many 9")) << "the user's row stays; old row numbers mean nothing now";

    // A refresh first ends a running move, then lists what the folder holds.
    table->selectAll();
    moves->moveMailToDirectory(archive());
    ASSERT_TRUE(moves->isMoving());
    moves->refreshList(false);
    EXPECT_FALSE(moves->isMoving());
    EXPECT_EQ(finished.count(), 2);
    ASSERT_TRUE(WaitForTitles(*app->mailTitles()));
    EXPECT_EQ(app->mailTitles()->count(), 0);
    EXPECT_EQ(archived(), 47);
}

TEST_F(MoveDestinationsTest, TheMailMoverStartsWithoutArgumentsOrSaysWhyNot)
{
    programs.addApplication("WEX_Relocate.app");
    auto app = start();
    app->menuController()->action(QStringLiteral("WEXMove"))->trigger();
    ASSERT_TRUE(WaitUntil([this] { return !programs.callsOf("WEX_Relocate").isEmpty(); }));
    EXPECT_EQ(programs.lines(), QList<QByteArray>({"WEX_Relocate"})) << "no file, no argument";

    QDir(QFile::decodeName(programs.suite() + "/WEX_Relocate.app")).removeRecursively();
    app->moveDestinations()->WEXMove();
    EXPECT_TRUE(app->moveDestinations()->lastMessage().contains(QLatin1String("WEX_Relocate")))
        << app->moveDestinations()->lastMessage().toStdString();
}

} // namespace
} // namespace wex::test
