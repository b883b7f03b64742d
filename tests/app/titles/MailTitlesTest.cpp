// The title list alone over real mail folders.
#include "AppTestSupport.h"
#include "Coding.h"
#include "DefaultsStore.h"
#include "FolderLoader.h"
#include "StoreContext.h"
#include "TitleTableModel.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QMainWindow>
#include <QSignalSpy>

namespace wex::test {

class MailTitlesTest : public ::testing::Test {
protected:
    // Mail i of each letter of marks ('u': unread) is "mail i" of day i+1
    // from sender 'j' - i, file 1i.mail: row i by date.
    QByteArray makeFolder(const QByteArray &name, const QByteArray &marks)
    {
        dir.mkdir(name);
        for (int i = 0; i < marks.size(); ++i)
            WriteMail(dir, name + "/1" + QByteArray::number(i) + (marks[i] == 'u' ? ".ygm" : ".mail"),
                      QStringLiteral("sender %1").arg(char('j' - i)), QStringLiteral("mail %1").arg(i), i + 1);
        return dir.at(name);
    }
    void load(const QByteArray &marks) { ASSERT_TRUE(LoadTitlesNow(titles, makeFolder("f", marks), true)); }
    static std::vector<int> Rows(int row) { return row < 0 ? std::vector<int>{} : std::vector<int>{row}; }

    TestDir dir;
    Coding coding;
    DefaultsStore defaults{dir.pathString() + QStringLiteral("/prefs.json")};
    StoreContext store{{}, dir.path(), dir.pathString()};
    QTableView table;
    QMainWindow window;
    MailTitles titles{coding, defaults, store, table, window};
};

TEST_F(MailTitlesTest, ARefreshSelectsTheAskedMailElseTheFirstUnreadElseTheFirstRow)
{
    int n = 0; // select: a file name in the folder
    for (const auto &[marks, select, expected] : {std::tuple{"---uu", "", 3}, {"--", "", 0}, {"-u-", "12.mail", 2},
                                                  {"-u-", "19.mail", 1}, {"", "", -1}}) {
        const QByteArray folder = makeFolder("c" + QByteArray::number(n++), marks);
        ASSERT_TRUE(LoadTitlesNow(titles, folder, true, *select ? folder + '/' + select : QByteArray()));
        EXPECT_EQ(titles.count(), int(qstrlen(marks)));
        EXPECT_EQ(titles.selectedRows(), Rows(expected)) << n;
    }
}

TEST_F(MailTitlesTest, AReloadKeepsTheMailOnShowSelected)
{
    load("---");
    titles.selectAndShow(1);
    titles.setShownPath(titles.titleAt(1)->path()); // as the contents view does
    QSignalSpy changes(&titles, &MailTitles::selectionChanged);
    ASSERT_TRUE(LoadTitlesNow(titles, dir.at("f"), false));
    EXPECT_EQ(titles.selectedRows(), Rows(1));
    EXPECT_EQ(changes.count(), 0) << "on its old row: the contents view is not told again";
}

TEST_F(MailTitlesTest, AHeaderClickFlipsTheDirectionOrSwitchesTheKeyKeepingIt)
{
    load("-----");
    QHeaderView *header = table.horizontalHeader();
    // Same key: flipped; a new key keeps the direction (sender j first, then f first).
    for (const auto &[column, reverse, first] : {std::tuple{TitleTableModel::DateColumn, true, "mail 4"},
                                                 {TitleTableModel::FromColumn, true, "mail 0"},
                                                 {TitleTableModel::FromColumn, false, "mail 4"}}) {
        titles.selectAndShow(4);
        emit header->sectionClicked(column);
        EXPECT_EQ(titles.reverse(), reverse) << column;
        EXPECT_EQ(titles.titleAt(0)->subject(), QLatin1String(first)) << column;
        EXPECT_EQ(titles.selectedRows(), Rows(0)) << "row 0 is selected after a click";
        EXPECT_EQ(header->sortIndicatorOrder(), reverse ? Qt::DescendingOrder : Qt::AscendingOrder);
    }
}

TEST_F(MailTitlesTest, SelectionMovesClampToTheRowsAndTheUnreadSearchDoesNotWrap)
{
    load("--u----u--");
    for (const auto &[selected, expected] : {std::pair{5, 7}, {2, 2}, {8, 8}, {0, 2}, {-1, -1}}) {
        titles.clearSelection();
        if (selected >= 0)
            titles.selectAndShow(selected);
        titles.readUnreadMail();
        EXPECT_EQ(titles.selectedRows(), Rows(expected)) << selected;
    }
    QSignalSpy changes(&titles, &MailTitles::selectionChanged);
    titles.selectAndShow(9);
    changes.clear();
    titles.readNextMail();
    EXPECT_EQ(titles.selectedRow(), 9);
    EXPECT_EQ(changes.count(), 2) << "deselected and selected again, so the mail is shown again";
    titles.clearSelection();
    titles.readNextMail();
    EXPECT_EQ(titles.selectedRow(), 0) << "without a selection the next mail is row 0";
    for (const auto &[asked, expected] : {std::pair{1000, 9}, {-1, 9}, {3, 3}}) {
        titles.showInTitleIndex(asked);
        EXPECT_EQ(titles.selectedRows(), Rows(expected)) << asked;
    }
}

TEST_F(MailTitlesTest, RemoveRowsKeepsTheUsersSelectionQuietly)
{
    const QAbstractItemModelTester checker(titles.model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    load("------");
    titles.selectAndShow(1);
    table.selectionModel()->select(titles.model()->index(4, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QSignalSpy changes(&titles, &MailTitles::selectionChanged);
    EXPECT_EQ(titles.removeRows({3, 0, 3, -1, 99}), 2) << "repeats and rows out of range are ignored";
    EXPECT_EQ(Subjects(titles), QStringList({"mail 1", "mail 2", "mail 4", "mail 5"}));
    EXPECT_EQ(titles.selectedRows(), std::vector<int>({0, 2}));
    EXPECT_EQ(titles.selectedRow(), 0) << "the current row moved with its mail";
    EXPECT_EQ(changes.count(), 0);

    // A selected row leaving takes the whole selection with it: no other mail is shown.
    EXPECT_EQ(titles.removeRows({2}), 1);
    EXPECT_TRUE(titles.selectedRows().empty());
    EXPECT_EQ(changes.count(), 1);
}

TEST_F(MailTitlesTest, RowsChangedDuringALoadMakeItListTheFolderAgain)
{
    load("---");
    titles.setUseCache(false); // held loads must read: the cache would answer without a read
    QSignalSpy progress(&titles.folderLoader(), &FolderLoader::progress);
    int n = 0;
    for (const bool remove : {true, false}) { // a row removed, a title changed in place
        titles.folderLoader().setHeldForTesting(true);
        progress.clear();
        titles.loadTitleTable(dir.at("f"), false);
        ASSERT_TRUE(WaitUntil([&] { return !progress.isEmpty() && progress.last().at(1).toInt() > 0; })); // listed
        const QString added = QStringLiteral("new %1").arg(n++);
        WriteMail(dir, "f/2" + added.right(1).toLatin1() + ".mail", QStringLiteral("x"), added, 20 + n);
        remove ? void(titles.removeRows({0})) : titles.titleChanged(0);
        titles.folderLoader().setHeldForTesting(false);
        ASSERT_TRUE(WaitForTitles(titles));
        EXPECT_EQ(Subjects(titles).last(), added);
    }
}

} // namespace wex::test
