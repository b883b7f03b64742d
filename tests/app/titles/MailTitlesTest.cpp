// The title list controller over real mail folders: loading, the column-click
// sort rule, the selection moves and the column layout's persistence.
#include "CalendarFormat.h"
#include "Coding.h"
#include "DefaultsStore.h"
#include "MailTitles.h"
#include "FakeSuite.h"
#include "ShellTestSupport.h"
#include "TitleColumns.h"
#include "TitleTableModel.h"
#include "WaitForTitles.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

namespace wex::test {
namespace {

class MailTitlesTest : public ::testing::Test {
protected:
    MailTitlesTest() : defaults(dir.pathString() + QStringLiteral("/prefs.json")), titles(coding, defaults)
    {
        titles.setTable(&table);
        table.resize(600, 200);
    }

    // n mails in folder "f", day i+1 each, unread where the flag says; sorted
    // by date ascending, row i is mail i.
    QByteArray makeFolder(const std::vector<bool> &unread)
    {
        for (size_t i = 0; i < unread.size(); ++i)
            WriteMail(dir, "f/" + QByteArray::number(int(i) + 10) + (unread[i] ? ".ygm" : ".mail"),
                      QStringLiteral("sender %1").arg(char('a' + (9 - int(i) % 10))),
                      QStringLiteral("mail %1").arg(i), int(i) + 1);
        return dir.at("f");
    }
    void load(const std::vector<bool> &unread) { ASSERT_TRUE(LoadTitlesNow(titles, makeFolder(unread), true)); }
    QString subjectAt(int row) { return titles.titleAt(row) ? titles.titleAt(row)->subject() : QString(); }
    void select(int row)
    {
        table.selectionModel()->setCurrentIndex(titles.model()->index(row, 0),
                                                QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    int selectedCount() { return int(table.selectionModel()->selectedRows().size()); }

    FakeSuite suite; // nothing real starts, whatever a command runs
    TestDir dir;
    Coding coding;
    DefaultsStore defaults;
    MailTitles titles;
    QTableView table;
};

TEST_F(MailTitlesTest, LoadingSelectsTheFirstUnreadMailOrTheFirstRow)
{
    load({false, false, false, true, true});
    ASSERT_EQ(titles.count(), 5);
    EXPECT_EQ(subjectAt(0), QStringLiteral("mail 0"));
    EXPECT_EQ(titles.selectedRow(), 3);
    EXPECT_EQ(selectedCount(), 1);

    TestDir other;
    WriteMail(other, "g/1.mail", QStringLiteral("x"), QStringLiteral("read one"), 2);
    WriteMail(other, "g/2.mail", QStringLiteral("y"), QStringLiteral("read two"), 1);
    ASSERT_TRUE(LoadTitlesNow(titles, other.at("g"), true));
    EXPECT_EQ(titles.selectedRow(), 0);
    EXPECT_EQ(subjectAt(0), QStringLiteral("read two"));
}

// Every command on an empty or missing folder keeps the selection empty.
TEST_F(MailTitlesTest, AnEmptyOrMissingFolderSelectsNothing)
{
    load({true, false});
    dir.mkdir("empty");
    for (bool refresh : {true, false}) {
        ASSERT_TRUE(LoadTitlesNow(titles, dir.at("empty"), refresh));
        EXPECT_EQ(titles.count(), 0);
        EXPECT_EQ(titles.selectedRow(), -1);
        EXPECT_EQ(titles.findIndex(), -1);
    }
    emit table.horizontalHeader()->sectionClicked(TitleTableModel::SubjectColumn);
    EXPECT_EQ(titles.identifier(), QStringLiteral("subject"));
    titles.readUnreadMail();
    titles.showInTitleIndex(0);
    titles.readNextMail();
    EXPECT_EQ(titles.selectedRow(), -1);
    ASSERT_TRUE(LoadTitlesNow(titles, dir.at("no such folder"), true));
    EXPECT_EQ(titles.count(), 0);
    EXPECT_EQ(titles.folderPath(), dir.at("no such folder"));
}

TEST_F(MailTitlesTest, ColumnClickFlipsTheDirectionOrSwitchesTheKeyKeepingIt)
{
    load({false, false, false, false, false});
    QHeaderView *header = table.horizontalHeader();
    select(4);

    emit header->sectionClicked(TitleTableModel::DateColumn); // same key: flip
    EXPECT_EQ(titles.identifier(), QStringLiteral("date"));
    EXPECT_TRUE(titles.reverse());
    EXPECT_EQ(subjectAt(0), QStringLiteral("mail 4"));
    EXPECT_EQ(titles.selectedRow(), 0) << "row 0 is selected after a click, whatever was before";
    EXPECT_EQ(header->sortIndicatorSection(), TitleTableModel::DateColumn);
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::DescendingOrder);

    emit header->sectionClicked(TitleTableModel::FromColumn); // new key: direction kept
    EXPECT_EQ(titles.identifier(), QStringLiteral("from"));
    EXPECT_TRUE(titles.reverse());
    // senders: mail 0 "sender j" ... mail 4 "sender f"; descending puts j first.
    EXPECT_EQ(subjectAt(0), QStringLiteral("mail 0"));
    EXPECT_EQ(subjectAt(4), QStringLiteral("mail 4"));
    EXPECT_EQ(header->sortIndicatorSection(), TitleTableModel::FromColumn);

    emit header->sectionClicked(TitleTableModel::FromColumn);
    EXPECT_FALSE(titles.reverse());
    EXPECT_EQ(subjectAt(0), QStringLiteral("mail 4"));
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::AscendingOrder);
}

TEST_F(MailTitlesTest, ReadUnreadMailSearchesDownFromTheSelectedRowWithoutWrapping)
{
    struct Case {
        std::vector<bool> unread;
        int selected;
        int expected;
    } cases[] = {
        {{false, false, true, false, false, false, false, true, false, false}, 5, 7},
        {{false, false, true, false, false, false, false, false, false, false}, 5, 5},
        {{false, false, false, false, false, true, false, true, false, false}, 5, 5},
        {{false, false, false, false, false, false, false, false, false, true}, 0, 9},
    };
    for (const Case &c : cases) {
        TestDir fresh;
        for (size_t i = 0; i < c.unread.size(); ++i)
            WriteMail(fresh, "m/" + QByteArray::number(int(i) + 10) + (c.unread[i] ? ".ygm" : ".mail"),
                      QStringLiteral("s"), QStringLiteral("mail %1").arg(i), int(i) + 1);
        ASSERT_TRUE(LoadTitlesNow(titles, fresh.at("m"), true));
        select(c.selected);
        titles.readUnreadMail();
        EXPECT_EQ(titles.selectedRow(), c.expected) << "selected " << c.selected;
        EXPECT_EQ(selectedCount(), 1);
    }
}

TEST_F(MailTitlesTest, ReadUnreadMailWithoutSelectionDoesNothing)
{
    load({false, true, false});
    table.selectionModel()->clear();
    titles.readUnreadMail();
    EXPECT_EQ(titles.selectedRow(), -1);
}

TEST_F(MailTitlesTest, NextMailAndShowInTitleIndexClampToTheLastRow)
{
    load(std::vector<bool>(10, false));
    QSignalSpy changes(table.selectionModel(), &QItemSelectionModel::selectionChanged);

    select(9);
    changes.clear();
    titles.readNextMail();
    EXPECT_EQ(titles.selectedRow(), 9);
    EXPECT_EQ(changes.count(), 2) << "deselected and selected again, so the mail is shown again";

    table.selectionModel()->clear();
    titles.readNextMail();
    EXPECT_EQ(titles.selectedRow(), 0) << "without a selection the next mail is row 0";

    for (const auto &[asked, expected] : {std::pair{1000, 9}, {-1, 9}, {3, 3}, {0, 0}}) {
        titles.showInTitleIndex(asked);
        EXPECT_EQ(titles.selectedRow(), expected) << asked;
        EXPECT_EQ(selectedCount(), 1);
    }
}

TEST_F(MailTitlesTest, RemoveAtIndexSelectsTheFollowingMail)
{
    load(std::vector<bool>(5, false));
    titles.removeAtIndex(2);
    EXPECT_EQ(titles.count(), 4);
    EXPECT_EQ(titles.selectedRow(), 2);
    EXPECT_EQ(subjectAt(2), QStringLiteral("mail 3"));

    titles.removeAtIndex(3); // the last row
    EXPECT_EQ(titles.count(), 3);
    EXPECT_EQ(titles.selectedRow(), 2);
    EXPECT_EQ(subjectAt(2), QStringLiteral("mail 3"));

    for (int bad : {-1, 3, 1000}) {
        titles.removeAtIndex(bad);
        EXPECT_EQ(titles.count(), 3) << bad;
    }
    titles.removeAtIndex(0);
    titles.removeAtIndex(0);
    titles.removeAtIndex(0);
    EXPECT_EQ(titles.count(), 0);
    EXPECT_EQ(titles.selectedRow(), -1);
    EXPECT_EQ(selectedCount(), 0);
}

TEST_F(MailTitlesTest, ShowingARowScrollsItNearTheTop)
{
    load(std::vector<bool>(60, false));
    table.show();
    titles.showInTitleIndex(30);
    const int top = table.rowAt(0);
    EXPECT_EQ(top, 30) << "the chosen row stands at the top of the view";
    titles.showInTitleIndex(59);
    EXPECT_TRUE(table.viewport()->rect().contains(table.visualRect(titles.model()->index(59, 0)).center()));
}

TEST_F(MailTitlesTest, ColumnMovesAreMadeOneAfterAnother)
{
    struct Case {
        int positions[4]; // State, From, Date, Subject
        const char *order;
    } cases[] = {
        {{2, 1, 3, 4}, "from state date subject"},
        {{3, 4, 2, 1}, "subject state date from"},
        {{9, -1, 0, 1}, "subject state from date"}, // out of range skipped
    };
    const char *const keys[] = {"State", "From", "Date", "Subject"};
    for (const Case &c : cases) {
        TestDir prefsDir;
        DefaultsStore prefs(prefsDir.pathString() + QStringLiteral("/p.json"));
        for (int i = 0; i < 4; ++i)
            prefs.setInteger(QStringLiteral("Column Position ") + QLatin1String(keys[i]), c.positions[i]);
        QTableView view;
        MailTitles fresh(coding, prefs);
        fresh.setTable(&view);
        fresh.awakeFromNib();
        QStringList order;
        for (int visual = 0; visual < 4; ++visual)
            order << TitleTableModel::identifierOfColumn(view.horizontalHeader()->logicalIndex(visual));
        EXPECT_EQ(order.join(QLatin1Char(' ')), QLatin1String(c.order));
    }
}

TEST_F(MailTitlesTest, LayoutAndDateFormatAreSavedAndRestored)
{
    QHeaderView *header = table.horizontalHeader();
    header->moveSection(header->visualIndex(TitleTableModel::SubjectColumn), 0);
    header->resizeSection(TitleTableModel::FromColumn, 233);
    titles.setDateFormat(CalendarFormat(QStringLiteral("%d.%m.%Y"), true));
    titles.terminate();
    EXPECT_EQ(defaults.integerForKey(QStringLiteral("Column Position Subject")), 1);
    EXPECT_EQ(defaults.integerForKey(QStringLiteral("Column Position State")), 2);
    EXPECT_EQ(defaults.doubleForKey(QStringLiteral("Column Width From")), 233.0);
    EXPECT_EQ(defaults.stringForKey(QStringLiteral("Date Format")), QStringLiteral("%d.%m.%Y"));
    EXPECT_EQ(defaults.boolForKey(QStringLiteral("Date Format Allow Natural Language")), true);

    // Damaged values leave the default layout alone.
    defaults.setDouble(QStringLiteral("Column Width State"), -4.0);
    defaults.setString(QStringLiteral("Column Width Date"), QStringLiteral("wide"));
    QTableView view;
    MailTitles fresh(coding, defaults);
    fresh.setTable(&view);
    const int defaultState = view.horizontalHeader()->sectionSize(TitleTableModel::StateColumn);
    const int defaultDate = view.horizontalHeader()->sectionSize(TitleTableModel::DateColumn);
    fresh.awakeFromNib();
    EXPECT_EQ(view.horizontalHeader()->logicalIndex(0), int(TitleTableModel::SubjectColumn));
    EXPECT_EQ(view.horizontalHeader()->sectionSize(TitleTableModel::FromColumn), 233);
    EXPECT_EQ(view.horizontalHeader()->sectionSize(TitleTableModel::StateColumn), defaultState);
    EXPECT_EQ(view.horizontalHeader()->sectionSize(TitleTableModel::DateColumn), defaultDate);
    EXPECT_EQ(fresh.dateFormat().format(), QStringLiteral("%d.%m.%Y"));

    ASSERT_TRUE(LoadTitlesNow(fresh, makeFolder({false}), true));
    EXPECT_EQ(fresh.model()->index(0, TitleTableModel::DateColumn).data().toString(), QStringLiteral("01.12.2026"));
}

TEST_F(MailTitlesTest, UnknownSortKeyKeepsTheListingOrder)
{
    titles.setIdentifier(QStringLiteral("size"));
    load({false, false, false});
    EXPECT_EQ(subjectAt(0), QStringLiteral("mail 0"));
    EXPECT_FALSE(table.horizontalHeader()->isSortIndicatorShown());
    EXPECT_EQ(titles.identifier(), QStringLiteral("size")) << "kept as given, and saved back so";
}

TEST_F(MailTitlesTest, AClickOutsideTheRowsChangesNothing)
{
    load({false, true, false});
    table.resize(600, 400);
    table.show();
    ASSERT_EQ(titles.selectedRow(), 1);
    const QPoint below(20, table.viewport()->height() - 5);
    ASSERT_FALSE(table.indexAt(below).isValid());
    QTest::mouseClick(table.viewport(), Qt::LeftButton, {}, below);
    QTest::mouseDClick(table.viewport(), Qt::LeftButton, {}, below);
    EXPECT_EQ(titles.selectedRow(), 1);
    EXPECT_EQ(selectedCount(), 1);
    QTest::mouseClick(table.viewport(), Qt::LeftButton, {}, table.visualRect(titles.model()->index(2, 1)).center());
    EXPECT_EQ(titles.selectedRow(), 2) << "a click on a row still selects it";
}

TEST_F(MailTitlesTest, AFolderLoadIsOneModelResetWhateverItsSize)
{
    std::vector<bool> many(1500, false);
    many[700] = true;
    const QByteArray folder = makeFolder(many);
    QSignalSpy resets(titles.model(), &QAbstractItemModel::modelReset);
    QSignalSpy layouts(titles.model(), &QAbstractItemModel::layoutChanged);
    QSignalSpy inserts(titles.model(), &QAbstractItemModel::rowsInserted);
    ASSERT_TRUE(LoadTitlesNow(titles, folder, true));
    EXPECT_EQ(titles.count(), 1500);
    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(layouts.count(), 0) << "sorted before it is shown";
    EXPECT_EQ(inserts.count(), 0);
    EXPECT_EQ(titles.selectedRow(), 700);
}

TEST_F(MailTitlesTest, ModelsPassTheModelTester)
{
    ModelChecker display(titles.model());
    ModelChecker raw(titles.titleModel());
    load({true, false, true, false});
    emit table.horizontalHeader()->sectionClicked(TitleTableModel::SubjectColumn);
    titles.removeAtIndex(1);
    titles.titleAt(0)->setUnreadState(false);
    titles.titleChanged(0);
    dir.mkdir("empty");
    ASSERT_TRUE(LoadTitlesNow(titles, dir.at("empty"), true));
    EXPECT_EQ(display.failures(), 0) << display.firstFailure().toStdString();
    EXPECT_EQ(raw.failures(), 0) << raw.firstFailure().toStdString();
}

TEST_F(MailTitlesTest, CellsGiveRawValuesAndTheDisplayFormatsThem)
{
    load({true});
    const QAbstractItemModel *m = titles.model();
    EXPECT_EQ(m->index(0, TitleTableModel::DateColumn).data(Qt::EditRole).toDateTime().offsetFromUtc(), 9 * 3600);
    EXPECT_EQ(m->index(0, TitleTableModel::DateColumn).data().toString(), QStringLiteral("2026/12/01 10:00"));
    EXPECT_TRUE(m->index(0, TitleTableModel::FromColumn).data(Qt::FontRole).value<QFont>().bold());
    EXPECT_EQ(m->index(0, 0).data(TitleTableModel::PathRole).toByteArray(), dir.at("f/10.ygm"));
}

} // namespace
} // namespace wex::test
