// Starting programs for real: fake programs in a scratch suite record their arguments.
#include "CoreTest.h"
#include "FakeSuite.h"
#include "Launcher.h"

#include <QObject>
#include <QProcess>

class LauncherTest : public ::testing::Test {
protected:
    FakeSuite suite;
    TestDir files;
};

TEST_F(LauncherTest, FilesTravelAsOneExactArgument)
{
    suite.addApplication("WEX_Composer.app");
    suite.addTool("xdg-open");
    const QByteArray hostile = files.write("a b; $(touch pwned) 'q'.mail", "x");
    const LaunchResult composed =
        Launcher::openFileWithApplication(hostile, Launcher::suiteApplication("WEX_Composer.app"));
    EXPECT_TRUE(composed.ok()) << composed.reason.toStdString();
    EXPECT_TRUE(Launcher::openFile(hostile).ok());
    ASSERT_TRUE(WaitUntil([&] { return suite.lines().size() == 2; }));
    EXPECT_EQ(suite.callsOf("WEX_Composer"), QList<QByteArray>{hostile});
    EXPECT_EQ(suite.callsOf("xdg-open"), QList<QByteArray>{hostile});
    EXPECT_FALSE(Exists(files.at("pwned")));

    // A name that would reach the program as another name is refused.
    const QByteArray latin1 = files.write("caf\xe9.mail", "x");
    const LaunchResult refused = Launcher::openFile(latin1);
    EXPECT_FALSE(refused.ok());
    EXPECT_TRUE(refused.reason.contains(QLatin1String("xdg-open")));
    ::unlink(latin1.constData()); // QTemporaryDir cannot name it
}

TEST_F(LauncherTest, RevealWithoutAFileManagerOpensEachFolderOnce)
{
    const QByteArray a = files.write("In,Box/1.mail", "x"), b = files.write("In,Box/2.mail", "x"),
                     c = files.write("Other/3.mail", "x");
    suite.addTool("xdg-open");
    suite.addTool("dbus-send", 1); // a file manager call that fails
    QObject context;
    std::optional<LaunchResult> outcome;
    Launcher::revealFiles({a, b, c}, &context, [&](const LaunchResult &r) { outcome = r; });
    ASSERT_TRUE(WaitUntil([&] { return outcome.has_value(); }));
    EXPECT_TRUE(outcome->ok());
    ASSERT_TRUE(WaitUntil([&] { return suite.callsOf("xdg-open").size() == 2; }));
    QList<QByteArray> opened = suite.callsOf("xdg-open"); // started together: in any order
    std::sort(opened.begin(), opened.end());
    EXPECT_EQ(opened, (QList<QByteArray>{files.at("In,Box"), files.at("Other")}));
}

// The demo's stand-ins answer the suite commands a new user tries first.
TEST(DemoSuite, EverySuiteProgramOfTheDemoStartsAndShowsItsMail)
{
    for (const char *app : {"WEX_Composer.app", "WEX_Seek.app", "WEX_Relocate.app"}) {
        const QString executable = Launcher::executableOf(QStringLiteral(WEX_SOURCE_DIR "/demo/suite/") + app);
        ASSERT_FALSE(executable.isEmpty()) << app;
        QProcess run;
        run.start(executable, {QStringLiteral("/store/In Box/1.ygm")});
        ASSERT_TRUE(run.waitForFinished(10000)) << app;
        EXPECT_EQ(run.exitCode(), 0);
        EXPECT_TRUE(run.readAllStandardError().contains("/store/In Box/1.ygm")) << app;
    }
}
