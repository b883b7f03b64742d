// The Mail menu's list commands in the assembled application over a real
// store: "Related Mails" (Chain) and "Unread Mails" (MailTitles).
#include "Assembly.h"
#include "FakeSuite.h"
#include "FSNodeInfo.h"
#include "MailContents.h"
#include "MailTitles.h"
#include "MenuController.h"
#include "ShellTestSupport.h"
#include "StoreLocations.h"
#include "WaitForTitles.h"

#include <QAction>
#include <QItemSelectionModel>
#include <QMainWindow>
#include <QSignalSpy>
#include <QTableView>
#include <gtest/gtest.h>
#include <unistd.h>

namespace wex::test {
namespace {

class ChainTest : public ::testing::Test {
protected:
    ChainTest()
    {
        ResetWEXPaths();
        FSNodeInfo::setSortFolderTag(QStringLiteral("name"));
        // InBox holds read mails only, so start-up shows its first row and
        // marks nothing read. Thread: 1 <- 2 <- 3 (unread, in another folder).
        mail("InBox/1.mail", "one", 5, "Message-ID: <1@x>\n");
        mail("InBox/2.mail", "two", 6, "Message-ID: <2@x>\nIn-Reply-To: <1@x>\n");
        mail("InBox/9.mail", "nine", 1, "");
        mail("Lists/3.ygm", "three", 7, "In-Reply-To: <2@x>\n");
        mail("Work/4.ygm", "four", 2, "");
        link("temp/refByAliases/<1@x>.iftref/2", "InBox/2.mail");
        link("temp/refByAliases/<1@x>.midref/1", "InBox/1.mail");
        link("temp/refByAliases/<2@x>.iftref/3", "Lists/3.ygm");
        link("temp/refByAliases/<2@x>.midref/2", "InBox/2.mail");
        link("temp/unreadAliases/a", "Lists/3.ygm");
        link("temp/unreadAliases/b", "Work/4.ygm");
        link("temp/unreadAliases/c", "Work/gone.ygm");
        home.makeSettings(store.path());
    }
    ~ChainTest() override { ResetWEXPaths(); }

    void mail(const QByteArray &relative, const QByteArray &subject, int day, const QByteArray &headers)
    {
        store.write(relative, "From: f\nSubject: " + subject + "\nDate: " + QByteArray::number(day) +
                                  " Dec 2026 10:00:00 +0900\n" + headers + "\nbody\n");
    }
    void link(const QByteArray &relative, const QByteArray &target)
    {
        store.mkdir(relative.left(relative.lastIndexOf('/')));
        ASSERT_EQ(::symlink(store.at(target).constData(), store.at(relative).constData()), 0);
    }
    QStringList subjects(MailTitles *titles)
    {
        QStringList list;
        for (int row = 0; row < titles->count(); ++row)
            list << titles->titleAt(row)->subject();
        return list;
    }

    FakeSuite suite; // nothing real starts, whatever the application runs
    TempHome home;
    TestDir store;
};

TEST_F(ChainTest, RelatedAndUnreadMailsReplaceTheListSortedWithoutShowingAnotherMail)
{
    Assembly app;
    ASSERT_TRUE(app.start());
    ASSERT_TRUE(WaitForTitles(*app.mailTitles()));
    MailTitles *titles = app.mailTitles();
    QTableView *table = app.mailTable();
    ASSERT_EQ(subjects(titles), QStringList({"nine", "one", "two"}));
    titles->setReverse(true);
    table->selectionModel()->setCurrentIndex(titles->model()->index(2, 0),
                                             QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    ASSERT_EQ(app.mailContents()->currentPathString(), store.at("InBox/2.mail"));
    QSignalSpy selectionChanges(table->selectionModel(), &QItemSelectionModel::selectionChanged);

    app.menuController()->action(QStringLiteral("chainTitle"))->trigger();
    EXPECT_EQ(app.titleWindow()->windowTitle(), QStringLiteral("Related Mails"));
    EXPECT_EQ(subjects(titles), QStringList({"three", "two", "one"}));
    EXPECT_EQ(titles->selectedRow(), 1) << "the mail on show stays selected";
    EXPECT_EQ(selectionChanges.count(), 0);
    EXPECT_TRUE(titles->titleAt(0)->unreadState()) << "the unread answer was not shown";

    app.menuController()->action(QStringLiteral("unreadMailTitles"))->trigger();
    EXPECT_EQ(app.titleWindow()->windowTitle(), QStringLiteral("Unread Mails"));
    EXPECT_EQ(subjects(titles), QStringList({"three", "four"}));
    EXPECT_EQ(titles->selectedRow(), -1) << "the mail on show is not in the list";
    EXPECT_EQ(selectionChanges.count(), 0);
    EXPECT_EQ(app.mailContents()->currentPathString(), store.at("InBox/2.mail"));
    EXPECT_TRUE(Exists(store.at("Lists/3.ygm")) && Exists(store.at("Work/4.ygm"))) << "nothing marked read";

    // With no row selected, only the window title changes.
    app.titleWindow()->setWindowTitle(QStringLiteral("x"));
    app.menuController()->action(QStringLiteral("chainTitle"))->trigger();
    EXPECT_EQ(app.titleWindow()->windowTitle(), QStringLiteral("Related Mails"));
    EXPECT_EQ(subjects(titles), QStringList({"three", "four"}));

    EXPECT_EQ(app.menuController()->action(QStringLiteral("unreadMailTitles"))->shortcut(),
              QKeySequence(Qt::CTRL | Qt::Key_U));
    EXPECT_EQ(app.menuController()->action(QStringLiteral("chainTitle"))->shortcut(),
              QKeySequence(Qt::CTRL | Qt::Key_T));
}

} // namespace
} // namespace wex::test
