// wex-browser --unread run as a child process over real alias folders.
#include "AliasStore.h"
#include "CommandRun.h"

#include <gtest/gtest.h>

using namespace wex::test;

namespace {

class UnreadCommandTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (WexBinary().isEmpty())
            GTEST_SKIP() << "WEX_BINARY does not name the wex-browser binary";
        store.unreadAlias("a", store.mail("InBox/3.ygm", 3));
        store.unreadAlias("b", store.mail("Work/1.ygm", 1));
        store.unreadAlias("c", "../../Lists/2.html");
        store.mail("Lists/2.html", 2);
        store.unreadAlias("d", store.dir.at("InBox/gone.ygm"));
    }
    ChildRun unread(const QStringList &more = {}, const QList<QPair<QString, QString>> &env = {})
    {
        return RunWex(QStringList{"--unread"} + more, env);
    }
    QStringList withStore() const { return {"--store", store.dir.pathString()}; }

    AliasStore store;
    TestDir home;
};

TEST_F(UnreadCommandTest, ListsTheAliasTargetsSorted)
{
    ChildRun r = unread(withStore());
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.names(), "1.ygm 2.html 3.ygm");
    const QList<QByteArray> first = r.out.split('\n').front().split('\t');
    ASSERT_EQ(first.size(), 6);
    EXPECT_EQ(first[0], "U");
    EXPECT_EQ(first[2], "2026-12-01 10:00:00 +0900");
    EXPECT_EQ(first[3], "s1");
    EXPECT_EQ(first[5], store.dir.at("Work/1.ygm"));

    EXPECT_EQ(unread(withStore() + QStringList{"--reverse"}).names(), "3.ygm 2.html 1.ygm");
    // The alias names' byte order, whatever --reverse says.
    EXPECT_EQ(unread(QStringList{"--sort", "none", "--reverse"} + withStore()).names(), "3.ygm 1.ygm 2.html");

    // Without --store: the store the settings folder names.
    const QByteArray settings = home.mkdir("Library/Preferences/WEX_Preferences");
    ASSERT_EQ(::symlink(store.root().constData(), (settings + "/WEX_Root").constData()), 0);
    r = unread({}, {{"HOME", home.pathString()}});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.names(), "1.ygm 2.html 3.ygm");
}

TEST_F(UnreadCommandTest, ExitStatuses)
{
    const auto failsWithOneLine = [](const ChildRun &r) {
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
        EXPECT_TRUE(r.err.startsWith("wex-browser: ")) << r.err.toStdString();
    };
    SCOPED_TRACE("no settings folder");
    failsWithOneLine(unread({}, {{"HOME", home.pathString()}}));
    SCOPED_TRACE("WEX_Root leads nowhere");
    const QByteArray settings = home.mkdir("Library/Preferences/WEX_Preferences");
    ASSERT_EQ(::symlink("/nonexistent", (settings + "/WEX_Root").constData()), 0);
    failsWithOneLine(unread({}, {{"HOME", home.pathString()}}));
    SCOPED_TRACE("--store names no folder");
    failsWithOneLine(unread({"--store", store.dir.pathString() + "/missing"}));
    SCOPED_TRACE("an alias folder that cannot be listed");
    TestDir other;
    other.write("temp/unreadAliases", "a file, not a folder");
    failsWithOneLine(unread({"--store", other.pathString()}));

    // A store without unread aliases has no unread mail.
    TestDir empty;
    const ChildRun none = unread({"--store", empty.pathString()});
    EXPECT_EQ(none.exitCode, 0);
    EXPECT_EQ(none.out, "");

    for (const QStringList &args : {QStringList{"x"}, QStringList{"--store"}, QStringList{"--sort", "bogus"}}) {
        const ChildRun r = unread(args);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_TRUE(r.err.startsWith("usage: wex-browser --unread")) << r.err.toStdString();
    }
}

} // namespace
