// Starting programs for real: fake programs in a scratch suite record what
// they were given.
#include "FakeSuite.h"
#include "Launcher.h"

#include <QObject>
#include <optional>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace wex;
using namespace wex::test;

namespace {

class LauncherTest : public ::testing::Test {
protected:
    FakeSuite suite;
    TestDir files;
};

} // namespace

TEST_F(LauncherTest, FindsTheExecutableOfAnApplicationFolderOrAProgram)
{
    const QByteArray mac = suite.addApplication("Mac.app", true), tool = suite.addTool("tool");
    files.write("Text.app/Text", "not executable");
    EXPECT_EQ(Launcher::executableOf(Launcher::suiteApplication("Mac.app")), QFile::decodeName(mac));
    EXPECT_EQ(Launcher::executableOf(QFile::decodeName(tool)), QFile::decodeName(tool));
    EXPECT_EQ(Launcher::executableOf(files.pathString() + "/Text.app"), QString());
    EXPECT_EQ(Launcher::executableOf(files.pathString() + "/Missing.app"), QString());
}

TEST_F(LauncherTest, FilesTravelAsOneExactArgument)
{
    suite.addApplication("WEX_Composer.app");
    suite.addTool("xdg-open");
    const QByteArray hostile = files.write("a b; $(touch pwned) 'q'.mail", "x");
    const LaunchResult composed =
        Launcher::openFileWithApplication(hostile, Launcher::suiteApplication("WEX_Composer.app"));
    EXPECT_TRUE(composed.ok()) << composed.reason.toStdString();
    EXPECT_EQ(composed.program, QStringLiteral("WEX_Composer.app"));
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

TEST_F(LauncherTest, RevealAsksTheFileManagerElseOpensEachFolderOnce)
{
    const QByteArray a = files.write("In,Box/1.mail", "x");
    const QByteArray b = files.write("In,Box/2.mail", "x");
    const QByteArray c = files.write("Other/3.mail", "x");
    suite.addTool("xdg-open");
    QObject context;
    auto reveal = [&](const QList<QByteArray> &paths) {
        std::optional<LaunchResult> outcome;
        Launcher::revealFiles(paths, &context, [&](const LaunchResult &r) { outcome = r; });
        EXPECT_TRUE(WaitUntil([&] { return outcome.has_value(); }));
        return outcome.value_or(LaunchResult{});
    };

    // A dbus-send whose call fails: each folder opens once.
    suite.addTool("dbus-send", 1);
    EXPECT_TRUE(reveal({a, b, c}).ok());
    ASSERT_TRUE(WaitUntil([&] { return suite.callsOf("xdg-open").size() == 2; }));
    EXPECT_EQ(suite.callsOf("xdg-open"), (QList<QByteArray>{files.at("In,Box"), files.at("Other")}));

    // A file manager that answers: one call, every file as a URI, commas encoded.
    suite.addTool("dbus-send", 0);
    suite.clearLog();
    EXPECT_TRUE(reveal({a, c}).ok());
    const QList<QByteArray> calls = suite.callsOf("dbus-send");
    ASSERT_EQ(calls.size(), 1);
    EXPECT_TRUE(calls[0].contains("|org.freedesktop.FileManager1.ShowItems|array:string:file://" +
                                  files.path() + "/In%2CBox/1.mail,file://" + files.path() + "/Other/3.mail|string:"))
        << calls[0].toStdString();
    EXPECT_TRUE(suite.callsOf("xdg-open").isEmpty());
}
