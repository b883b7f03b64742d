// The Mail menu's commands on the reading side alone (title list, contents
// view), over real mail files and the fake suite's recording programs.
#include "AppTestSupport.h"
#include "MailCommands.h"
#include "ReadingFixture.h"

#include <QMessageBox>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/stat.h>
#include <unistd.h>

namespace wex::test {
namespace {

// Makes a folder refuse removal of its entries for the object's lifetime: by
// permissions for an ordinary user, by the immutable flag for root.
class Locked {
public:
    explicit Locked(const QByteArray &folder)
        : folder_(folder), pin_(geteuid() == 0 ? std::make_unique<Pinned>(folder, FS_IMMUTABLE_FL) : nullptr)
    {
        ok_ = pin_ ? pin_->ok() : ::chmod(folder.constData(), 0555) == 0;
    }
    ~Locked()
    {
        if (!pin_)
            ::chmod(folder_.constData(), 0755);
    }
    bool ok() const { return ok_; }

private:
    QByteArray folder_;
    std::unique_ptr<Pinned> pin_;
    bool ok_ = false;
};

class MailCommandsTest : public ::testing::Test {
protected:
    // Mails "m0".."m(n-1)" in the InBox, read, in this row order by date.
    void writeMails(int n)
    {
        for (int i = 0; i < n; ++i)
            WriteMail(store, "InBox/" + QByteArray::number(i) + ".mail", "x", QStringLiteral("m%1").arg(i), i + 1);
    }
    void load() { ASSERT_TRUE(LoadTitlesNow(titles, store.at("InBox"), true)); }
    // Selects the rows in one change; the last one listed is the current row.
    void select(const QList<int> &rows)
    {
        QItemSelection wanted;
        for (const int row : rows)
            wanted.select(f.table.model()->index(row, 0), f.table.model()->index(row, 0));
        f.table.selectionModel()->setCurrentIndex(f.table.model()->index(rows.last(), 0), QItemSelectionModel::NoUpdate);
        f.table.selectionModel()->select(wanted, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    QString status() const { return f.titleWindow.statusBar()->currentMessage(); }
    bool finished() const { return WaitUntil([this] { return !commands.busy(); }); }

    ReadingFixture f;
    const FakeSuite &suite = f.suite;
    const TestDir &store = f.dir;
    MailTitles &titles = f.titles;
    MailCommands commands{f.titles, f.contents, f.titleWindow};
};

TEST_F(MailCommandsTest, ReplyRenamesOnceAndHandsTheComposerTheRealName)
{
    writeMails(3);
    // 2.mail cannot take the reply name: a file has it already.
    WriteMail(store, "InBox/2.rply", "x", QStringLiteral("in the way"), 20);
    suite.addApplication("WEX_Composer.app");
    load();
    select({2, 0});
    commands.reply();
    ASSERT_TRUE(finished());
    ASSERT_TRUE(WaitUntil([&] { return suite.callsOf("WEX_Composer").size() == 2; }));
    EXPECT_EQ(suite.callsOf("WEX_Composer"), (QList<QByteArray>{store.at("InBox/0.rply"), store.at("InBox/2.mail")}));
    EXPECT_FALSE(Exists(store.at("InBox/0.mail")));
    EXPECT_EQ(titles.titleAt(0)->state(), QStringLiteral("R"));
    EXPECT_EQ(f.contents.currentPathString(), store.at("InBox/0.rply")) << "the view follows its mail";
    // The failed rename keeps the old name and says so; the other file is untouched.
    EXPECT_EQ(titles.titleAt(2)->path(), store.at("InBox/2.mail"));
    EXPECT_TRUE(status().contains(QLatin1String("2.mail"))) << status().toStdString();
    EXPECT_TRUE(ReadAll(store.at("InBox/2.rply")).contains("in the way"));

    select({0}); // replied already: no rename, the replied file handed over
    commands.reply();
    ASSERT_TRUE(finished());
    ASSERT_TRUE(WaitUntil([&] { return suite.callsOf("WEX_Composer").size() == 3; }));
    EXPECT_EQ(suite.callsOf("WEX_Composer").last(), store.at("InBox/0.rply"));
}

// Answering an unread mail marks it read as well: a later look at it keeps
// the reply mark.
TEST_F(MailCommandsTest, AReplyToAnUnreadMailSurvivesReadingIt)
{
    // The load shows the first unread mail, 4.ygm; 5.ygm stays unread.
    for (const int n : {4, 5, 6})
        WriteMail(store, "InBox/" + QByteArray::number(n) + (n == 6 ? ".mail" : ".ygm"), "x", QStringLiteral("m"), n);
    suite.addApplication("WEX_Composer.app");
    load();
    select({1, 2});
    commands.reply();
    ASSERT_TRUE(finished());
    select({1});
    ASSERT_TRUE(WaitUntil([&] { return f.contents.currentPathString().endsWith("/5.rply"); }))
        << f.contents.currentPathString().toStdString();
    EXPECT_EQ(titles.titleAt(1)->state(), QStringLiteral("R"));
}

struct DeleteCase {
    QList<int> rows;
    int locked; // row whose attachment folder cannot be removed; -1 none
    QStringList left;
};
// Names the case in test listings by its rows, e.g. "rows 2 3 5, 3 locked".
void PrintTo(const DeleteCase &c, std::ostream *out)
{
    *out << "rows";
    for (int row : c.rows)
        *out << ' ' << row;
    if (c.locked >= 0)
        *out << ", " << c.locked << " locked";
}

class DeleteRows : public MailCommandsTest, public ::testing::WithParamInterface<DeleteCase> {};

// Rows 3 and 5 are attachment folders with parts in a sub-folder.
TEST_P(DeleteRows, RemovesWhatCouldGoAndKeepsTheRest)
{
    const DeleteCase &c = GetParam();
    writeMails(7);
    for (const QByteArray name : {"3", "5"}) {
        QFile::remove(QFile::decodeName(store.at("InBox/" + name + ".mail")));
        WriteMail(store, "InBox/" + name + ".mpart/" + name + ".mail", "x", "m" + name, name.toInt() + 1);
        store.write("InBox/" + name + ".mpart/parts/photo.jpg", "\xff\xd8");
    }
    load();
    std::unique_ptr<Locked> lock;
    if (c.locked >= 0) {
        lock = std::make_unique<Locked>(store.at("InBox/" + QByteArray::number(c.locked) + ".mpart/parts"));
        ASSERT_TRUE(lock->ok());
    }
    select(c.rows);
    commands.deleteMailYes(titles.selectedMails());
    EXPECT_EQ(Subjects(titles), c.left);
    for (int row = 0; row < 7; ++row) {
        const QByteArray path = store.at("InBox/" + QByteArray::number(row) + (row == 3 || row == 5 ? ".mpart" : ".mail"));
        const bool kept = c.left.contains(QStringLiteral("m%1").arg(row));
        EXPECT_EQ(Exists(path), kept) << path.constData();
        EXPECT_TRUE(!kept || (row != 3 && row != 5) || Exists(path + "/parts/photo.jpg"))
            << "an attachment folder goes whole or not at all";
    }
    if (c.locked >= 0)
        EXPECT_GT(status().indexOf(QStringLiteral("%1.mpart").arg(c.locked)), status().indexOf(':')) << "why before which";
    else
        EXPECT_EQ(status(), QString());
}

INSTANTIATE_TEST_SUITE_P(MailCommands, DeleteRows,
                         ::testing::Values(DeleteCase{{2, 3, 5}, -1, {"m0", "m1", "m4", "m6"}},
                                           DeleteCase{{2, 3, 5}, 3, {"m0", "m1", "m3", "m4", "m6"}}));

TEST_F(MailCommandsTest, DeleteAsksFirstReturnConfirmsEscapeCancels)
{
    writeMails(4);
    load();
    titles.clearSelection();
    commands.deleteMail(); // nothing selected: no question
    EXPECT_EQ(commands.confirmWindow(), nullptr);
    select({1, 2});
    WhenModal<QMessageBox>([](QMessageBox *box) { QTest::keyClick(box, Qt::Key_Escape); });
    commands.deleteMail();
    EXPECT_EQ(Subjects(titles), (QStringList{"m0", "m1", "m2", "m3"}));
    WhenModal<QMessageBox>([](QMessageBox *box) { QTest::keyClick(box, Qt::Key_Return); });
    commands.deleteMail();
    EXPECT_EQ(Subjects(titles), (QStringList{"m0", "m3"}));
    EXPECT_FALSE(Exists(store.at("InBox/1.mail")) || Exists(store.at("InBox/2.mail")));
}

TEST_F(MailCommandsTest, AMissingProgramIsNamedAndNothingChanges)
{
    writeMails(1);
    load();
    using Case = std::pair<void (MailCommands::*)(), const char *>;
    for (auto [command, named] : {Case{&MailCommands::reply, "WEX_Composer.app"}, Case{&MailCommands::search, "WEX_Seek.app"},
                                  Case{&MailCommands::launchURL, "xdg-open"}}) {
        (commands.*command)();
        EXPECT_TRUE(finished() && status().contains(QLatin1String(named))) << named << ": " << status().toStdString();
    }
    commands.search();
    EXPECT_TRUE(status().contains(QLatin1String("Find in Store"))) << "the way without the program";
    EXPECT_TRUE(Exists(store.at("InBox/0.mail"))) << "no rename for a composer that is not there";
    EXPECT_TRUE(suite.lines().isEmpty());
}

TEST_F(MailCommandsTest, HandOverKeepsToTheMailsSelectedAtItsStart)
{
    writeMails(3);
    WriteMail(store, "Draft/d.mail", "me", QStringLiteral("draft"), 28);
    suite.addTool("xdg-open");
    suite.addTool("sleep"); // records each pause
    load();
    select({0, 1});
    commands.launchURL();
    // Back in the event loop with the first pause running: what the user
    // does now cannot redirect the rest.
    ASSERT_TRUE(commands.busy());
    select({2});
    ASSERT_TRUE(LoadTitlesNow(titles, store.at("Draft"), true));
    ASSERT_TRUE(finished());
    ASSERT_TRUE(WaitUntil([&] { return suite.callsOf("xdg-open").size() == 2; }));
    EXPECT_EQ(suite.callsOf("xdg-open"), (QList<QByteArray>{store.at("InBox/0.mail"), store.at("InBox/1.mail")}));
    EXPECT_EQ(suite.callsOf("sleep").size(), 2) << "one pause after each mail";
}

TEST_F(MailCommandsTest, MarkReadRenamesTheUnreadSelectedMailsAndKeepsWhatCannot)
{
    writeMails(1);
    WriteMail(store, "InBox/7.ygm", "x", QStringLiteral("shown at start"), 7);
    WriteMail(store, "InBox/8.ygm", "x", QStringLiteral("blocked"), 8);
    WriteMail(store, "InBox/8.mail", "x", QStringLiteral("in the way"), 9);
    WriteMail(store, "InBox/9.ygm", "x", QStringLiteral("unread"), 10);
    load();
    ASSERT_EQ(Subjects(titles), (QStringList{"m0", "shown at start", "blocked", "in the way", "unread"}));
    select({2, 4, 0});
    QSignalSpy repainted(titles.model(), &QAbstractItemModel::dataChanged);
    commands.makeRead();
    EXPECT_TRUE(Exists(store.at("InBox/9.mail")));
    EXPECT_FALSE(Exists(store.at("InBox/9.ygm")));
    EXPECT_EQ(titles.titleAt(4)->state(), QString());
    ASSERT_EQ(repainted.count(), 1) << "the row shows it";
    EXPECT_EQ(repainted[0][0].toModelIndex().row(), 4);
    EXPECT_TRUE(Exists(store.at("InBox/8.ygm")));
    EXPECT_EQ(titles.titleAt(2)->state(), QStringLiteral("U"));
    EXPECT_GT(status().indexOf(QLatin1String("8.ygm")), status().indexOf(':')) << status().toStdString();
}

} // namespace
} // namespace wex::test
