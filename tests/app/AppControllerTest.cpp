// The path named on the command line, opened at start-up in place of the
// InBox: in process over a real store, and through the real binary.
#include "AppController.h"
#include "Assembly.h"
#include "FSBrowser.h"
#include "FSNodeInfo.h"
#include "MailContents.h"
#include "MailTitles.h"
#include "ShellTestSupport.h"
#include "StoreLocations.h"
#include "WaitForTitles.h"

#include <QMainWindow>
#include <QProcess>
#include <QStatusBar>
#include <gtest/gtest.h>

namespace wex::test {
namespace {

class AppControllerTest : public ::testing::Test {
protected:
    AppControllerTest()
    {
        ResetWEXPaths();
        WriteMail(store, "InBox/1.ygm", QStringLiteral("a"), QStringLiteral("inbox"), 5);
        WriteMail(store, "Work/1.mail", QStringLiteral("b"), QStringLiteral("read"), 1);
        WriteMail(store, "Work/2.ygm", QStringLiteral("c"), QStringLiteral("first unread"), 2);
        WriteMail(store, "Work/3.ygm", QStringLiteral("d"), QStringLiteral("asked for"), 3);
        home.makeSettings(store.path());
    }
    ~AppControllerTest() override
    {
        ResetWEXPaths();
        FSNodeInfo::setSortFolderTag(QStringLiteral("name"));
    }
    // Starts the application with the path; the assembly is kept in app.
    void start(const QByteArray &path)
    {
        app = std::make_unique<Assembly>();
        app->appController()->setStartPath(path);
        ASSERT_TRUE(app->start());
        ASSERT_TRUE(WaitForTitles(*app->mailTitles()));
    }
    QString statusLine() const { return app->titleWindow()->statusBar()->currentMessage(); }

    TempHome home;
    TestDir store;
    std::unique_ptr<Assembly> app;
};

TEST_F(AppControllerTest, AFolderIsSelectedAndItsMailsListed)
{
    start(store.at("Work"));
    EXPECT_EQ(app->fsBrowser()->path(), store.pathString() + QStringLiteral("/Work"));
    EXPECT_EQ(app->mailTitles()->folderPath(), store.at("Work/"));
    EXPECT_EQ(app->titleWindow()->windowTitle(), QStringLiteral("Work"));
    ASSERT_EQ(app->mailTitles()->count(), 3);
    // As a click on the folder would: its first unread mail is shown.
    EXPECT_EQ(app->mailContents()->currentPathString(), store.at("Work/2.mail"));
    EXPECT_TRUE(Exists(store.at("InBox/1.ygm"))) << "the InBox was not opened";
    EXPECT_TRUE(statusLine().isEmpty());
}

TEST_F(AppControllerTest, AMailIsShownInItsFolderAndNoOtherMailIsRead)
{
    start(store.at("Work/3.ygm"));
    EXPECT_EQ(app->fsBrowser()->path(), store.pathString() + QStringLiteral("/Work"));
    EXPECT_EQ(app->titleWindow()->windowTitle(), QStringLiteral("Work"));
    const int row = app->mailTitles()->selectedRow();
    ASSERT_GE(row, 0);
    EXPECT_EQ(app->mailTitles()->titleAt(row)->subject(), QStringLiteral("asked for"));
    EXPECT_EQ(app->mailContents()->currentPathString(), store.at("Work/3.mail"));
    EXPECT_TRUE(Exists(store.at("Work/2.ygm"))) << "the folder's first unread mail stays unread";
    EXPECT_TRUE(Exists(store.at("InBox/1.ygm")));
}

TEST_F(AppControllerTest, APathThatOpensNothingLeavesTheInBoxAndSaysWhich)
{
    const QByteArray path = store.at("Work/missing.ygm");
    start(path);
    EXPECT_EQ(app->titleWindow()->windowTitle(), QStringLiteral("InBox"));
    EXPECT_EQ(app->mailTitles()->folderPath(), store.at("InBox/"));
    EXPECT_TRUE(statusLine().contains(QString::fromUtf8(path))) << statusLine().toStdString();
}

// The real binary: the first argument is the path, the locale picks the language.
TEST(AppControllerBinaryTest, TheLocaleSpeaksWhenThePathOpensNothing)
{
    const QString binary = qEnvironmentVariable("WEX_BINARY");
    if (binary.isEmpty())
        GTEST_SKIP() << "WEX_BINARY is not set";
    ResetWEXPaths();
    const TempHome home;
    const TestDir store;
    WriteMail(store, "InBox/1.ygm", QStringLiteral("a"), QStringLiteral("inbox"), 5);
    home.makeSettings(store.path());
    const QString missing = store.pathString() + QStringLiteral("/Work/missing.ygm");

    struct Case {
        const char *lang;
        QString words;
    } cases[] = {{"ja_JP.UTF-8", QStringLiteral("を開けません")}, {"C", QStringLiteral("Cannot open")}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.lang);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"LC_ALL", "LC_MESSAGES", "LANGUAGE"})
            env.remove(QString::fromLatin1(name));
        env.insert(QStringLiteral("LANG"), QString::fromLatin1(c.lang));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("WEX_SUITE"), store.pathString() + QStringLiteral("/no-suite"));
        QProcess child;
        child.setProcessEnvironment(env);
        child.start(binary, {missing});
        QByteArray err;
        // The line is written during start-up; the windows then stay open.
        for (int i = 0; i < 200 && !err.contains(missing.toUtf8()); ++i) {
            child.waitForReadyRead(100);
            err += child.readAllStandardError();
        }
        child.terminate();
        ASSERT_TRUE(child.waitForFinished(20000));
        err += child.readAllStandardError();
        const QStringList ours =
            QString::fromUtf8(err).split(QLatin1Char('\n'), Qt::SkipEmptyParts).filter(QStringLiteral("wex-browser: "));
        ASSERT_EQ(ours.size(), 1) << err.toStdString();
        EXPECT_TRUE(ours[0].contains(missing));
        EXPECT_TRUE(ours[0].contains(c.words)) << ours[0].toStdString();
    }
    ResetWEXPaths();
}

} // namespace
} // namespace wex::test
