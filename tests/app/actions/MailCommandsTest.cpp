// The Mail menu's commands in the whole application as the Assembly wires it,
// over a real store in a scratch home, with a scratch suite of fake programs
// that record what they were handed.
#include "Assembly.h"
#include "BrowserTextView.h"
#include "FakeSuite.h"
#include "FSNodeInfo.h"
#include "MailCommands.h"
#include "MailContents.h"
#include "MailTitles.h"
#include "MenuController.h"
#include "ShellTestSupport.h"
#include "StoreLocations.h"
#include "WaitForTitles.h"

#include <QAction>
#include <QApplication>
#include <QItemSelectionModel>
#include <QMainWindow>
#include <QMessageBox>
#include <QPrinter>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <gtest/gtest.h>

namespace wex::test {
namespace {

// Makes a folder refuse removal of its entries for the object's lifetime: by
// permissions for an ordinary user, by the immutable flag for root.
class Locked {
public:
    explicit Locked(const QByteArray &folder) : folder_(folder)
    {
        ok_ = geteuid() != 0 ? ::chmod(folder.constData(), 0555) == 0 : immutable(true);
    }
    ~Locked()
    {
        if (geteuid() != 0)
            ::chmod(folder_.constData(), 0755);
        else
            immutable(false);
    }
    bool ok() const { return ok_; }

private:
    bool immutable(bool on)
    {
        const int fd = ::open(folder_.constData(), O_RDONLY | O_DIRECTORY);
        if (fd < 0)
            return false;
        int flags = 0;
        bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        ::close(fd);
        return done;
    }
    QByteArray folder_;
    bool ok_ = false;
};

class MailCommandsTest : public ::testing::Test {
protected:
    MailCommandsTest()
    {
        ResetWEXPaths();
        FSNodeInfo::setSortFolderTag(QStringLiteral("name"));
        settings = home.makeSettings(store.path());
        WriteMail(store, "Draft/d.mail", QStringLiteral("me"), QStringLiteral("draft"), 28);
    }
    ~MailCommandsTest() override { ResetWEXPaths(); }

    // Mails "m0".."m(n-1)" in the InBox, read, in this row order by date.
    void writeMails(int n)
    {
        for (int i = 0; i < n; ++i)
            WriteMail(store, "InBox/" + QByteArray::number(i) + ".mail", QStringLiteral("x"),
                      QStringLiteral("m%1").arg(i), i + 1);
    }
    void start()
    {
        app = std::make_unique<Assembly>(home.dir().pathString() + QStringLiteral("/defaults.json"));
        ASSERT_TRUE(app->start());
        ASSERT_TRUE(WaitForTitles(*app->mailTitles()));
    }
    MailCommands *commands() const { return app->menuController()->mailCommands(); }
    QAction *item(const char *name) const { return app->menuController()->action(QLatin1String(name)); }
    // Selects the rows in one change; the last one listed is the current row,
    // the mail on show.
    void select(const QList<int> &rows)
    {
        QItemSelectionModel *selection = app->mailTable()->selectionModel();
        const QAbstractItemModel *model = app->mailTable()->model();
        QItemSelection wanted;
        for (const int row : rows)
            wanted.select(model->index(row, 0), model->index(row, 0));
        selection->setCurrentIndex(model->index(rows.last(), 0), QItemSelectionModel::NoUpdate);
        selection->select(wanted, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    QStringList subjects() const
    {
        QStringList out;
        for (int row = 0; row < app->mailTitles()->count(); ++row)
            out << app->mailTitles()->titleAt(row)->subject();
        return out;
    }
    QString status() const { return app->titleWindow()->statusBar()->currentMessage(); }
    bool finished() const { return WaitUntil([this] { return !commands()->busy(); }); }

    FakeSuite suite;
    TempHome home;
    TestDir store;
    QByteArray settings;
    std::unique_ptr<Assembly> app;
};

TEST_F(MailCommandsTest, ReplyRenamesOnceAndHandsTheComposerTheRealName)
{
    writeMails(3);
    // 2.mail cannot take the reply name: a file has it already.
    WriteMail(store, "InBox/2.rply", QStringLiteral("x"), QStringLiteral("in the way"), 20);
    suite.addApplication("WEX_Composer.app");
    start();
    select({2, 0});
    ASSERT_EQ(app->mailContents()->currentPathString(), store.at("InBox/0.mail"));

    item("reply")->trigger();
    ASSERT_TRUE(finished());
    ASSERT_TRUE(WaitUntil([&] { return suite.callsOf("WEX_Composer").size() == 2; }));
    EXPECT_EQ(suite.callsOf("WEX_Composer"), (QList<QByteArray>{store.at("InBox/0.rply"), store.at("InBox/2.mail")}));
    EXPECT_TRUE(Exists(store.at("InBox/0.rply")));
    EXPECT_FALSE(Exists(store.at("InBox/0.mail")));
    EXPECT_EQ(app->mailTitles()->titleAt(0)->path(), store.at("InBox/0.rply"));
    EXPECT_EQ(app->mailTitles()->titleAt(0)->state(), QStringLiteral("R"));
    EXPECT_EQ(app->mailContents()->currentPathString(), store.at("InBox/0.rply")) << "the view follows its mail";
    // The failed rename keeps the old name and says so; the other file is untouched.
    EXPECT_EQ(app->mailTitles()->titleAt(2)->path(), store.at("InBox/2.mail"));
    EXPECT_EQ(app->mailTitles()->titleAt(2)->state(), QString());
    EXPECT_TRUE(status().contains(QLatin1String("2.mail"))) << status().toStdString();
    EXPECT_TRUE(ReadAll(store.at("InBox/2.rply")).contains("in the way"));

    // Replying again renames nothing and hands over the replied file.
    select({0});
    item("reply")->trigger();
    ASSERT_TRUE(finished());
    ASSERT_TRUE(WaitUntil([&] { return suite.callsOf("WEX_Composer").size() == 3; }));
    EXPECT_EQ(suite.callsOf("WEX_Composer").last(), store.at("InBox/0.rply"));
    EXPECT_TRUE(Exists(store.at("InBox/0.rply")));
}

struct DeleteCase {
    QList<int> rows;
    int locked; // row whose attachment folder cannot be removed; -1 none
    QStringList left;
};

class DeleteRows : public MailCommandsTest, public ::testing::WithParamInterface<DeleteCase> {};

// Rows 3 and 5 are attachment folders with parts in a sub-folder.
TEST_P(DeleteRows, RemovesRowByRowAndKeepsWhatCouldNotGo)
{
    const DeleteCase &c = GetParam();
    writeMails(7);
    for (const int row : {3, 5}) {
        const QByteArray name = QByteArray::number(row);
        QFile::remove(QFile::decodeName(store.at("InBox/" + name + ".mail")));
        WriteMail(store, "InBox/" + name + ".mpart/" + name + ".mail", QStringLiteral("x"),
                  QStringLiteral("m%1").arg(row), row + 1);
        store.write("InBox/" + name + ".mpart/parts/photo.jpg", "\xff\xd8");
    }
    start();
    ASSERT_EQ(subjects(), (QStringList{"m0", "m1", "m2", "m3", "m4", "m5", "m6"}));
    std::unique_ptr<Locked> lock;
    if (c.locked >= 0) {
        lock = std::make_unique<Locked>(store.at("InBox/" + QByteArray::number(c.locked) + ".mpart/parts"));
        ASSERT_TRUE(lock->ok());
    }
    select(c.rows);
    commands()->deleteMailYes();
    EXPECT_EQ(subjects(), c.left);
    for (int row = 0; row < 7; ++row) {
        const bool kept = c.left.contains(QStringLiteral("m%1").arg(row));
        const QByteArray name = QByteArray::number(row);
        const QByteArray path = store.at("InBox/" + name + (row == 3 || row == 5 ? ".mpart" : ".mail"));
        EXPECT_EQ(Exists(path), kept) << path.constData();
        if (kept && (row == 3 || row == 5)) {
            EXPECT_TRUE(Exists(path + "/parts/photo.jpg")) << "an attachment folder goes whole or not at all";
        }
    }
    if (c.locked >= 0)
        EXPECT_TRUE(status().contains(QStringLiteral("%1.mpart").arg(c.locked))) << status().toStdString();
    else
        EXPECT_EQ(status(), QString());
}

INSTANTIATE_TEST_SUITE_P(
    MailCommands, DeleteRows,
    ::testing::Values(DeleteCase{{2, 3, 5}, -1, {"m0", "m1", "m4", "m6"}},
                      DeleteCase{{1, 4}, -1, {"m0", "m2", "m3", "m5", "m6"}},
                      DeleteCase{{2, 3, 5}, 3, {"m0", "m1", "m3", "m4", "m6"}}));

TEST_F(MailCommandsTest, DeleteAsksFirstReturnConfirmsEscapeCancels)
{
    writeMails(4);
    start();
    app->mailTable()->selectionModel()->clearSelection();
    item("deleteMail")->trigger(); // nothing selected: no question
    EXPECT_EQ(commands()->confirmWindow(), nullptr);
    select({1, 2});
    EXPECT_EQ(item("deleteMail")->shortcut(), QKeySequence(Qt::Key_Delete));

    QString asked;
    auto answer = [&](Qt::Key key) {
        QTimer::singleShot(0, [&, key] {
            QMessageBox *box = commands()->confirmWindow();
            ASSERT_NE(box, nullptr);
            asked = box->text();
            QTest::keyClick(box, key);
        });
        item("deleteMail")->trigger();
    };
    answer(Qt::Key_Escape);
    EXPECT_EQ(asked, QStringLiteral("Delete 2 mails?"));
    EXPECT_EQ(subjects(), (QStringList{"m0", "m1", "m2", "m3"}));
    EXPECT_EQ(commands()->confirmWindow(), nullptr);

    answer(Qt::Key_Return);
    EXPECT_EQ(subjects(), (QStringList{"m0", "m3"}));
    EXPECT_FALSE(Exists(store.at("InBox/1.mail")));
    EXPECT_FALSE(Exists(store.at("InBox/2.mail")));
}

TEST_F(MailCommandsTest, AMissingProgramIsNamedAndNothingChanges)
{
    writeMails(2);
    start();
    app->mailTable()->selectionModel()->clearSelection();
    item("reply")->trigger(); // with no selection nothing at all
    EXPECT_EQ(commands()->lastMessage(), QString());
    select({0});
    const struct {
        const char *command;
        const char *named;
    } cases[] = {{"reply", "WEX_Composer.app"},    {"newMail", "WEX_Composer.app"},
                 {"search", "WEX_Seek.app"},       {"addressBook", "Address Book.app"},
                 {"openByMailReader", "Mail_Reader"}, {"launchURL", "xdg-open"}};
    for (const auto &c : cases) {
        app->titleWindow()->statusBar()->clearMessage();
        item(c.command)->trigger();
        EXPECT_TRUE(finished()) << c.command;
        EXPECT_TRUE(status().contains(QLatin1String(c.named))) << c.command << ": " << status().toStdString();
    }
    EXPECT_TRUE(Exists(store.at("InBox/0.mail"))) << "no rename for a composer that is not there";
    EXPECT_EQ(app->mailTitles()->titleAt(0)->state(), QString());
    EXPECT_TRUE(suite.lines().isEmpty());
}

TEST_F(MailCommandsTest, HandOverKeepsToTheMailsSelectedAtItsStart)
{
    writeMails(3);
    suite.addApplication("Reader.app", true);
    suite.addTool("sleep"); // records each pause
    ASSERT_EQ(symlink((suite.suite() + "/Reader.app").constData(), (settings + "/Mail_Reader").constData()), 0);
    start();
    select({0, 1});

    item("openByMailReader")->trigger();
    // Back in the event loop with the first pause running: the windows are
    // live, and what the user does now cannot redirect the rest.
    EXPECT_TRUE(commands()->busy());
    select({2});
    app->menuController()->action(QStringLiteral("browseDraft"))->trigger();
    ASSERT_TRUE(WaitForTitles(*app->mailTitles()));
    ASSERT_TRUE(finished());
    ASSERT_TRUE(WaitUntil([&] { return suite.callsOf("Reader").size() == 2; }));
    EXPECT_EQ(suite.callsOf("Reader"), (QList<QByteArray>{store.at("InBox/0.mail"), store.at("InBox/1.mail")}));
    EXPECT_EQ(suite.callsOf("sleep"), (QList<QByteArray>{"5", "5"})) << "one pause after each mail";
}

TEST_F(MailCommandsTest, MarkReadRenamesTheUnreadSelectedMails)
{
    writeMails(1);
    WriteMail(store, "InBox/7.ygm", QStringLiteral("x"), QStringLiteral("shown at start"), 7);
    WriteMail(store, "InBox/8.ygm", QStringLiteral("x"), QStringLiteral("blocked"), 8);
    WriteMail(store, "InBox/8.mail", QStringLiteral("x"), QStringLiteral("in the way"), 9);
    WriteMail(store, "InBox/9.ygm", QStringLiteral("x"), QStringLiteral("unread"), 10);
    start();
    ASSERT_EQ(subjects(), (QStringList{"m0", "shown at start", "blocked", "in the way", "unread"}));
    select({2, 4, 0});
    ASSERT_EQ(app->mailTitles()->titleAt(4)->state(), QStringLiteral("U"));
    QSignalSpy repainted(app->mailTable()->model(), &QAbstractItemModel::dataChanged);
    item("makeRead")->trigger();
    EXPECT_TRUE(Exists(store.at("InBox/9.mail")));
    EXPECT_FALSE(Exists(store.at("InBox/9.ygm")));
    EXPECT_EQ(app->mailTitles()->titleAt(4)->state(), QString());
    ASSERT_EQ(repainted.count(), 1) << "the row shows it";
    EXPECT_EQ(repainted[0][0].toModelIndex().row(), 4);
    EXPECT_TRUE(Exists(store.at("InBox/8.ygm")));
    EXPECT_EQ(app->mailTitles()->titleAt(2)->state(), QStringLiteral("U"));
    EXPECT_TRUE(status().contains(QLatin1String("8.ygm"))) << status().toStdString();
}

TEST_F(MailCommandsTest, PrintSelectionPrintsOnlyTheSelectedText)
{
    writeMails(1);
    start();
    BrowserTextView *view = app->mailContents()->browserTextView();
    QTextCursor cursor = view->document()->find(QStringLiteral("Subject"));
    ASSERT_FALSE(cursor.isNull());
    cursor.movePosition(QTextCursor::StartOfLine);
    cursor.movePosition(QTextCursor::Down, QTextCursor::KeepAnchor);
    cursor.movePosition(QTextCursor::EndOfLine, QTextCursor::KeepAnchor);
    view->setTextCursor(cursor);
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(home.dir().pathString() + QStringLiteral("/out.pdf"));
    commands()->printSelectionTo(&printer);
    EXPECT_EQ(view->hiddenText()->toPlainText(),
              QStringLiteral("Subject: m0\nDate: Mon, 1 Dec 2026 10:00:00 +0900"));
}

TEST_F(MailCommandsTest, ActivationBringsTheWindowsForwardTheMailTextLast)
{
    writeMails(1);
    start();
    app->showWindows();
    WaitUntil([] { return QGuiApplication::applicationState() == Qt::ApplicationActive; });
    QApplication::processEvents();
    app->folderWindow()->close();
    QList<QWidget *> raised;
    struct Recorder : QObject {
        QList<QWidget *> *out;
        bool eventFilter(QObject *o, QEvent *e) override
        {
            if (e->type() == QEvent::ZOrderChange)
                out->append(static_cast<QWidget *>(o));
            return false;
        }
    } recorder;
    recorder.out = &raised;
    for (QWidget *w : {(QWidget *)app->folderWindow(), (QWidget *)app->titleWindow(), (QWidget *)app->contentsWindow()})
        w->installEventFilter(&recorder);

    emit qApp->applicationStateChanged(Qt::ApplicationActive);
    QApplication::processEvents();
    EXPECT_TRUE(app->folderWindow()->isVisible());
    EXPECT_EQ(raised.mid(0, 3), (QList<QWidget *>{app->folderWindow(), app->titleWindow(), app->contentsWindow()}));
    EXPECT_TRUE(WaitUntil([&] { return QApplication::activeWindow() == app->contentsWindow(); }));
}

} // namespace
} // namespace wex::test
