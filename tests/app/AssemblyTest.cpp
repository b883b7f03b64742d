// The whole application as the Assembly wires it, over a real store in a
// scratch home: start-up, the menus' folder commands, termination and the
// preferences, and the real binary's exit paths as a child process.
#include "Assembly.h"
#include "DefaultsStore.h"
#include "FSBrowser.h"
#include "FSNodeInfo.h"
#include "BrowserTextView.h"
#include "MailContents.h"
#include "MailTitles.h"
#include "MenuController.h"
#include "FakeSuite.h"
#include "ShellTestSupport.h"
#include "StoreLocations.h"
#include "TitleTableModel.h"
#include "WaitForTitles.h"

#include <QAction>
#include <QFile>
#include <QHeaderView>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
#include <QThread>
#include <gtest/gtest.h>
#include <csignal>

namespace wex::test {
namespace {

class AssemblyTest : public ::testing::Test {
protected:
    AssemblyTest()
    {
        ResetWEXPaths();
        FSNodeInfo::setSortFolderTag(QStringLiteral("name"));
        WriteMail(store, "InBox/1.mail", QStringLiteral("a"), QStringLiteral("first"), 5);
        WriteMail(store, "InBox/2.mail", QStringLiteral("b"), QStringLiteral("second"), 6);
        WriteMail(store, "InBox/3.ygm", QStringLiteral("c"), QStringLiteral("third"), 7);
        WriteMail(store, "InBox/4.ygm", QStringLiteral("d"), QStringLiteral("fourth"), 8);
        WriteMail(store, "Draft/5.mail", QStringLiteral("e"), QStringLiteral("draft"), 3);
    }
    ~AssemblyTest() override
    {
        ResetWEXPaths();
        FSNodeInfo::setSortFolderTag(QStringLiteral("name"));
    }
    void makeSettings() { home.makeSettings(store.path()); }
    QString defaultsPath() const { return DefaultsStore::defaultPath(); }

    FakeSuite suite; // showing an unread mail starts the unread check
    TempHome home;
    TestDir store;
};

TEST_F(AssemblyTest, StartUpOpensTheInBoxAndSelectsTheFirstUnreadMail)
{
    makeSettings();
    Assembly app;
    ASSERT_TRUE(app.start());
    ASSERT_TRUE(WaitForTitles(*app.mailTitles()));
    EXPECT_EQ(app.titleWindow()->windowTitle(), QStringLiteral("InBox"));
    EXPECT_EQ(app.mailTitles()->folderPath(), store.path() + "/InBox/");
    EXPECT_EQ(app.fsBrowser()->path(), store.pathString() + QStringLiteral("/InBox"));
    ASSERT_EQ(app.mailTitles()->count(), 4);
    EXPECT_EQ(app.mailTitles()->selectedRow(), 2);
    EXPECT_EQ(app.mailTitles()->titleAt(2)->subject(), QStringLiteral("third"));
    // Shown, and so marked read: its file took the read extension.
    EXPECT_TRUE(Exists(store.at("InBox/3.mail")));
    EXPECT_EQ(app.mailContents()->currentPathString(), store.at("InBox/3.mail"));
    EXPECT_TRUE(Exists(store.at("InBox/4.ygm"))) << "no other mail was shown on the way";
    EXPECT_FALSE(app.folderWindow()->isVisible()) << "windows are shown only after start-up";
}

TEST_F(AssemblyTest, EveryWindowSharesTheMenusAndTheFolderMenuOpensDraftAndInBox)
{
    makeSettings();
    Assembly app;
    for (QMainWindow *window : {app.folderWindow(), app.titleWindow(), app.contentsWindow()}) {
        const QList<QAction *> menus = window->menuBar()->actions();
        ASSERT_EQ(menus.size(), 4);
        EXPECT_EQ(menus[0]->menu(), app.menuController()->fileMenu());
        EXPECT_EQ(menus[2]->menu(), app.menuController()->folderMenu());
    }
    ASSERT_TRUE(app.start());
    ASSERT_TRUE(WaitForTitles(*app.mailTitles()));
    app.menuController()->action(QStringLiteral("browseDraft"))->trigger();
    ASSERT_TRUE(WaitForTitles(*app.mailTitles()));
    EXPECT_EQ(app.fsBrowser()->path(), store.pathString() + QStringLiteral("/Draft"));
    EXPECT_EQ(app.mailTitles()->selectedRow(), 0);
    app.menuController()->action(QStringLiteral("browseInBox"))->trigger();
    ASSERT_TRUE(WaitForTitles(*app.mailTitles()));
    EXPECT_EQ(app.titleWindow()->windowTitle(), QStringLiteral("InBox"));
    EXPECT_EQ(app.mailTitles()->count(), 4);
}

TEST_F(AssemblyTest, ARefreshThatFindsTheShownMailOnItsRowLeavesTheReaderWhereHeIs)
{
    QByteArray text = "From: c\nSubject: third\nDate: Mon, 7 Dec 2026 10:00:00 +0900\n"
                      "Content-Type: text/plain; charset=UTF-8\n\n";
    for (int line = 0; line < 400; ++line)
        text += "line " + QByteArray::number(line) + "\n";
    store.write("InBox/3.ygm", text);
    makeSettings();
    Assembly app;
    ASSERT_TRUE(app.start());
    ASSERT_TRUE(WaitForTitles(*app.mailTitles()));
    app.showWindows();
    ASSERT_EQ(app.mailTitles()->selectedRow(), 2);
    QScrollBar *bar = app.mailContents()->browserTextView()->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 50);
    bar->setValue(40);
    const QString title = app.contentsWindow()->windowTitle();
    QSignalSpy changes(app.mailTable()->selectionModel(), &QItemSelectionModel::selectionChanged);

    // Nothing new: the same mail on the same row, read on where it was.
    ASSERT_TRUE(LoadTitlesNow(*app.mailTitles(), store.path() + "/InBox/", false));
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(app.mailTitles()->selectedRow(), 2);
    EXPECT_EQ(app.mailTable()->selectionModel()->selectedRows().size(), 1);
    EXPECT_EQ(bar->value(), 40);
    EXPECT_EQ(app.contentsWindow()->windowTitle(), title);

    // Mails sorted in above it move it down: the selection follows it, and
    // the new unread mail is not shown.
    WriteMail(store, "InBox/0a.mail", QStringLiteral("x"), QStringLiteral("older one"), 1);
    WriteMail(store, "InBox/0b.ygm", QStringLiteral("y"), QStringLiteral("older two"), 2);
    ASSERT_TRUE(LoadTitlesNow(*app.mailTitles(), store.path() + "/InBox/", false));
    EXPECT_EQ(app.mailTitles()->selectedRow(), 4);
    EXPECT_EQ(app.mailTitles()->titleAt(4)->subject(), QStringLiteral("third"));
    EXPECT_GT(changes.count(), 0);
    EXPECT_TRUE(Exists(store.at("InBox/0b.ygm")));

    ASSERT_TRUE(LoadTitlesNow(*app.mailTitles(), store.path() + "/InBox/", true));
    EXPECT_EQ(app.mailTitles()->selectedRow(), 1) << "a refresh goes to the first unread mail";
}

TEST_F(AssemblyTest, PreferencesSurviveTerminateAndANewAssembly)
{
    makeSettings();
    {
        Assembly app;
        ASSERT_TRUE(app.start());
        ASSERT_TRUE(WaitForTitles(*app.mailTitles()));
        emit app.mailTable()->horizontalHeader()->sectionClicked(TitleTableModel::DateColumn);
        app.menuController()->action(QStringLiteral("sortFolderByModDate"))->trigger();
        EXPECT_EQ(FSNodeInfo::sortFolderTag(), QStringLiteral("modDate"));
        EXPECT_FALSE(app.menuController()->action(QStringLiteral("sortFolderByName"))->isChecked());
        app.terminate();
        app.terminate(); // once only
    }
    const DefaultsStore saved(defaultsPath());
    EXPECT_EQ(saved.boolForKey(QStringLiteral("Sort Reverse")), true);
    EXPECT_EQ(saved.stringForKey(QStringLiteral("Sort Identifier")), QStringLiteral("date"));
    EXPECT_EQ(saved.stringForKey(QStringLiteral("Sort Folder by")), QStringLiteral("modDate"));
    EXPECT_TRUE(saved.contains(QStringLiteral("Key Bind")));

    FSNodeInfo::setSortFolderTag(QStringLiteral("name"));
    Assembly again;
    ASSERT_TRUE(again.start());
    ASSERT_TRUE(WaitForTitles(*again.mailTitles()));
    EXPECT_TRUE(again.mailTitles()->reverse());
    EXPECT_EQ(FSNodeInfo::sortFolderTag(), QStringLiteral("modDate"));
    EXPECT_TRUE(again.menuController()->action(QStringLiteral("sortFolderByModDate"))->isChecked());
    EXPECT_EQ(again.mailTitles()->titleAt(0)->subject(), QStringLiteral("fourth")) << "newest first";
}

TEST_F(AssemblyTest, WithoutSettingsFolderNothingStartsAndNothingIsWritten)
{
    Assembly app;
    EXPECT_FALSE(app.start());
    EXPECT_EQ(app.mailTitles()->count(), 0);
    EXPECT_FALSE(app.titleWindow()->isVisible());
    EXPECT_FALSE(app.contentsWindow()->isVisible());
    app.terminate(); // not started: writes nothing
    EXPECT_FALSE(QFile::exists(defaultsPath()));
}

// The real binary, as a child process with its own home.
class BinaryTest : public AssemblyTest {
protected:
    void SetUp() override
    {
        binary = qEnvironmentVariable("WEX_BINARY");
        if (binary.isEmpty())
            GTEST_SKIP() << "WEX_BINARY is not set";
    }
    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), home.dir().pathString());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.dir().pathString() + QStringLiteral("/.config"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("WEX_SUITE"), store.pathString() + QStringLiteral("/no-suite"));
        return env;
    }
    QString binary;
};

// True once the process catches the signal (its handler is installed), as
// /proc tells; waits up to ten seconds.
bool WaitUntilCaught(qint64 pid, int sig)
{
    for (int i = 0; i < 200; ++i) {
        QFile status(QStringLiteral("/proc/%1/status").arg(pid));
        if (status.open(QIODevice::ReadOnly)) {
            for (const QByteArray &line : status.readAll().split('\n'))
                if (line.startsWith("SigCgt:")) {
                    bool ok = false;
                    const qulonglong mask = line.mid(7).trimmed().toULongLong(&ok, 16);
                    if (ok && (mask >> (sig - 1)) & 1)
                        return true;
                }
        }
        QThread::msleep(50);
    }
    return false;
}

TEST_F(BinaryTest, ExitsWithStatus255AndNamesTheFoldersWithoutSettings)
{
    QProcess child;
    child.setProcessEnvironment(environment());
    child.start(binary, {});
    ASSERT_TRUE(child.waitForFinished(30000));
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(child.exitCode(), 255);
    const QString err = QString::fromLocal8Bit(child.readAllStandardError());
    const QStringList ours = err.split(QLatin1Char('\n'), Qt::SkipEmptyParts).filter(QStringLiteral("wex-browser"));
    ASSERT_EQ(ours.size(), 1) << err.toStdString();
    const QString base = home.dir().pathString() + QStringLiteral("/Library/Preferences/");
    EXPECT_TRUE(ours[0].contains(base + QStringLiteral("WEX_Preferences ")));
    EXPECT_TRUE(ours[0].contains(base + QStringLiteral("WEX_Preferences.localized")));
    EXPECT_FALSE(QFile::exists(defaultsPath()));
}

TEST_F(BinaryTest, EndingSignalsQuitThroughTerminationAndWriteThePreferences)
{
    makeSettings();
    const QString prefs = defaultsPath();
    for (int sig : {SIGTERM, SIGINT, SIGHUP}) {
        QFile::remove(prefs);
        QProcess child;
        child.setProcessEnvironment(environment());
        child.start(binary, {});
        ASSERT_TRUE(child.waitForStarted(10000));
        ASSERT_TRUE(WaitUntilCaught(child.processId(), sig));
        QThread::msleep(300);
        ASSERT_EQ(child.state(), QProcess::Running) << child.readAllStandardError().toStdString();
        ::kill(pid_t(child.processId()), sig);
        ASSERT_TRUE(child.waitForFinished(20000));
        EXPECT_EQ(child.exitStatus(), QProcess::NormalExit) << "signal " << sig;
        EXPECT_EQ(child.exitCode(), 0);
        const DefaultsStore written(prefs);
        EXPECT_EQ(written.stringForKey(QStringLiteral("Sort Identifier")), QStringLiteral("date")) << "signal " << sig;
        EXPECT_TRUE(written.contains(QStringLiteral("Column Width Subject")));
    }
}

} // namespace
} // namespace wex::test
