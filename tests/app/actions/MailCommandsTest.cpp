// The Mail menu's commands on the title list and contents view alone, with the fake suite's programs.
#include "MailCommands.h"
#include "ReadingFixture.h"

#include <QMessageBox>
#include <QScopeGuard>
#include <linux/fs.h>

namespace wex::test {
namespace {

class MailCommandsTest : public ::testing::Test, protected ReadingFixture {
protected:
    // Mails "m0".."m(n-1)" in the InBox in this row order, read unless listed.
    void writeMails(int n, const QList<int> &unread = {})
    {
        for (int i = 0; i < n; ++i)
            WriteMail(dir, "InBox/" + QByteArray::number(i) + (unread.contains(i) ? ".ygm" : ".mail"), "x",
                      QStringLiteral("m%1").arg(i), i + 1);
    }
    void load() { ASSERT_TRUE(LoadTitlesNow(titles, dir.at("InBox"), true)); }
    void select(const QList<int> &rows) { SelectRows(table, rows); }
    QString status() const { return titleWindow.statusBar()->currentMessage(); }
    bool finished() const { return WaitUntil([this] { return !commands.busy(); }); }

    MailCommands commands{titles, contents, titleWindow};
};

// Answering an unread mail marks it read as well: a later look at it keeps the reply mark.
TEST_F(MailCommandsTest, ReplyRenamesOnceAndHandsTheComposerTheRealName)
{
    writeMails(5, {3, 4}); // the load shows 3, the first unread; 4 stays unread
    // 2.mail cannot take the reply name: a file has it already.
    WriteMail(dir, "InBox/2.rply", "x", QStringLiteral("in the way"), 20);
    suite.addApplication("WEX_Composer.app");
    load();
    select({0, 2, 4});
    commands.reply();
    ASSERT_TRUE(finished());
    ASSERT_TRUE(WaitUntil([&] { return suite.callsOf("WEX_Composer").size() == 3; }));
    EXPECT_EQ(suite.callsOf("WEX_Composer"),
              (QList<QByteArray>{dir.at("InBox/0.rply"), dir.at("InBox/2.mail"), dir.at("InBox/4.rply")}));
    EXPECT_FALSE(Exists(dir.at("InBox/0.mail")));
    EXPECT_EQ(titles.titleAt(0)->state(), QStringLiteral("R"));
    EXPECT_EQ(contents.currentPathString(), dir.at("InBox/0.rply")) << "the view follows its mail";
    // The failed rename keeps the old name and says so; the other file is untouched.
    EXPECT_EQ(titles.titleAt(2)->path(), dir.at("InBox/2.mail"));
    EXPECT_TRUE(status().contains(QLatin1String("2.mail"))) << status().toStdString();
    EXPECT_TRUE(ReadAll(dir.at("InBox/2.rply")).contains("in the way"));
    select({4});
    ASSERT_TRUE(WaitUntil([&] { return contents.currentPathString().endsWith("/4.rply"); }))
        << contents.currentPathString().toStdString();
    EXPECT_EQ(titles.titleAt(4)->state(), QStringLiteral("R"));

    select({0}); // replied already: no rename, the replied file handed over
    commands.reply();
    ASSERT_TRUE(finished());
    ASSERT_TRUE(WaitUntil([&] { return suite.callsOf("WEX_Composer").size() == 4; }));
    EXPECT_EQ(suite.callsOf("WEX_Composer").last(), dir.at("InBox/0.rply"));
}

struct DeleteCase {
    QList<int> rows;
    int locked; // row whose attachment folder cannot be removed; -1 none
    QStringList left;
};
class DeleteRows : public MailCommandsTest, public ::testing::WithParamInterface<DeleteCase> {};

// Rows 3 and 5 are attachment folders with parts in a sub-folder. Mails 1, 2 and 4 are unread: 1 is shown (and
// so renamed) by the selection, 2 deleted unread, 4 passed over.
TEST_P(DeleteRows, RemovesWhatCouldGoAndKeepsTheRest)
{
    const DeleteCase &c = GetParam();
    writeMails(8, {1, 2, 4});
    for (const QByteArray name : {"3", "5"}) {
        QFile::remove(QFile::decodeName(dir.at("InBox/" + name + ".mail")));
        WriteMail(dir, "InBox/" + name + ".mpart/" + name + ".mail", "x", "m" + name, name.toInt() + 1);
        dir.write("InBox/" + name + ".mpart/parts/photo.jpg", "\xff\xd8");
    }
    load();
    // The parts folder refuses removal of its entries: by permissions, or for root by the immutable flag.
    const QByteArray locked = dir.at("InBox/" + QByteArray::number(c.locked) + ".mpart/parts");
    std::optional<Pinned> pin;
    if (c.locked >= 0 && geteuid() == 0)
        pin.emplace(locked, FS_IMMUTABLE_FL);
    const bool byMode = c.locked >= 0 && !pin;
    const auto unlock = qScopeGuard([&] { byMode ? void(::chmod(locked.constData(), 0755)) : void(); });
    ASSERT_TRUE(c.locked < 0 || (pin ? pin->ok() : ::chmod(locked.constData(), 0555) == 0));
    select(c.rows);
    commands.deleteMailYes(titles.selectedMails());
    EXPECT_EQ(Subjects(titles), c.left);
    for (int row = 0; row < 8; ++row) {
        const QByteArray path = dir.at("InBox/" + QByteArray::number(row));
        const bool kept = c.left.contains(QStringLiteral("m%1").arg(row));
        EXPECT_EQ(Exists(path + ".mail") || Exists(path + ".ygm") || Exists(path + ".mpart"), kept) << row;
        const bool parts = (row == 3 || row == 5) && Exists(path + ".mpart/parts/photo.jpg");
        EXPECT_EQ(parts, kept && (row == 3 || row == 5)) << "an attachment folder goes whole or not at all";
    }
    EXPECT_TRUE(Exists(dir.at("InBox/4.ygm"))) << "no mail is shown on the way";
    EXPECT_EQ(contents.currentPathString(), dir.at("InBox/6.mail")) << "the mail after the last deleted";
    if (c.locked >= 0)
        EXPECT_GT(status().indexOf(QStringLiteral("%1.mpart").arg(c.locked)), status().indexOf(':')) << "why before which";
    else
        EXPECT_EQ(status(), QString());
}

INSTANTIATE_TEST_SUITE_P(MailCommands, DeleteRows,
                         ::testing::Values(DeleteCase{{1, 2, 3, 5}, -1, {"m0", "m4", "m6", "m7"}},
                                           DeleteCase{{1, 2, 3, 5}, 3, {"m0", "m3", "m4", "m6", "m7"}}));

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
    EXPECT_FALSE(Exists(dir.at("InBox/1.mail")) || Exists(dir.at("InBox/2.mail")));
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
    EXPECT_TRUE(Exists(dir.at("InBox/0.mail"))) << "no rename for a composer that is not there";
    EXPECT_TRUE(suite.lines().isEmpty());
}

TEST_F(MailCommandsTest, HandOverKeepsToTheMailsSelectedAtItsStart)
{
    writeMails(3);
    WriteMail(dir, "Draft/d.mail", "me", QStringLiteral("draft"), 28);
    suite.addTool("xdg-open");
    suite.addTool("sleep"); // records each pause
    load();
    select({0, 1});
    commands.launchURL();
    // The first pause runs: what the user does now cannot redirect the rest.
    ASSERT_TRUE(commands.busy());
    select({2});
    ASSERT_TRUE(LoadTitlesNow(titles, dir.at("Draft"), true));
    ASSERT_TRUE(finished());
    ASSERT_TRUE(WaitUntil([&] { return suite.callsOf("xdg-open").size() == 2; }));
    EXPECT_EQ(suite.callsOf("xdg-open"), (QList<QByteArray>{dir.at("InBox/0.mail"), dir.at("InBox/1.mail")}));
    EXPECT_EQ(suite.callsOf("sleep").size(), 2) << "one pause after each mail";
}

TEST_F(MailCommandsTest, MarkReadRenamesTheUnreadSelectedMailsAndKeepsWhatCannot)
{
    writeMails(1);
    WriteMail(dir, "InBox/7.ygm", "x", QStringLiteral("shown at start"), 7);
    WriteMail(dir, "InBox/8.ygm", "x", QStringLiteral("blocked"), 8);
    WriteMail(dir, "InBox/8.mail", "x", QStringLiteral("in the way"), 9);
    WriteMail(dir, "InBox/9.ygm", "x", QStringLiteral("unread"), 10);
    load();
    ASSERT_EQ(Subjects(titles), (QStringList{"m0", "shown at start", "blocked", "in the way", "unread"}));
    select({0, 2, 4});
    QSignalSpy repainted(titles.model(), &QAbstractItemModel::dataChanged);
    commands.makeRead();
    EXPECT_TRUE(Exists(dir.at("InBox/9.mail")));
    EXPECT_FALSE(Exists(dir.at("InBox/9.ygm")));
    EXPECT_EQ(titles.titleAt(4)->state(), QString());
    ASSERT_EQ(repainted.count(), 1) << "the row shows it";
    EXPECT_EQ(repainted[0][0].toModelIndex().row(), 4);
    EXPECT_TRUE(Exists(dir.at("InBox/8.ygm")));
    EXPECT_EQ(titles.titleAt(2)->state(), QStringLiteral("U"));
    EXPECT_GT(status().indexOf(QLatin1String("8.ygm")), status().indexOf(':')) << status().toStdString();
}

} // namespace
} // namespace wex::test
