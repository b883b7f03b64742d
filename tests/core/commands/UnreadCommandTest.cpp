// wex-browser --unread run as a child process over real alias folders.
#include "AliasStore.h"
#include "CommandRun.h"

class UnreadCommandTest : public CommandTest {
protected:
    void SetUp() override
    {
        CommandTest::SetUp();
        store.unreadAlias("c", store.mail("InBox/3.ygm", 3));
        store.unreadAlias("a", store.mail("Work/1.ygm", 1));
        store.unreadAlias("B", "../../Lists/2.html"); // relative, as the suite writes them
        store.mail("Lists/2.html", 2);
        // An alias of an alias is followed to its end; an attachment folder lists by its main text.
        store.unreadAlias("d", store.link("temp/other/4.ygm", store.link("temp/other/x", store.mail("Work/4.ygm", 4))));
        store.unreadAlias("e", store.mail("InBox/5.mpart/5.ygm", 5).chopped(6));
        // Passed over: hidden names, dead aliases, what is no mail, hidden targets.
        store.unreadAlias(".f", store.dir.at("InBox/3.ygm"));
        store.unreadAlias("g", store.dir.at("InBox/gone.ygm"));
        store.unreadAlias("h", store.dir.write("InBox/notes.txt", "x"));
        store.unreadAlias("i", store.dir.mkdir("InBox/plain"));
        store.unreadAlias("j", store.mail("InBox/.hidden.ygm", 6));
        store.unreadAlias("k", "k"); // a link to itself
        ::mkfifo(store.dir.at("InBox/7.ygm").constData(), 0600);
        store.unreadAlias("l", store.dir.at("InBox/7.ygm"));
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
    EXPECT_EQ(r.names(), "1.ygm 2.html 3.ygm 4.ygm 5.ygm");
    EXPECT_TRUE(r.out.startsWith("U\tf1\t2026-12-01 10:00:00 +0900\ts1\t") && r.out.contains("UH\tf2\t")
                && r.out.contains("AU\tf5\t"))
        << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("\t" + store.dir.at("Work/4.ygm") + "\n"));
    EXPECT_EQ(unread(withStore() + QStringList{"--reverse"}).names(), "5.ygm 4.ygm 3.ygm 2.html 1.ygm");
    // The alias names' byte order, whatever --reverse says.
    EXPECT_EQ(unread(QStringList{"--sort", "none", "--reverse"} + withStore()).names(), "2.html 1.ygm 3.ygm 4.ygm 5.ygm");

    // Without --store: the store the settings folder names.
    const QByteArray settings = home.mkdir("Library/Preferences/WEX_Preferences");
    ASSERT_EQ(::symlink(store.root().constData(), (settings + "/WEX_Root").constData()), 0);
    r = unread({}, {{"HOME", home.pathString()}});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.names(), "1.ygm 2.html 3.ygm 4.ygm 5.ygm");
}

// Aliases follow renamed mails while one candidate is left; a chain ends after 40 links.
TEST_F(UnreadCommandTest, AliasesFollowRenamedMailsAndChainsEndAfter40Links)
{
    ASSERT_EQ(::rename(store.dir.at("InBox/3.ygm").constData(), store.dir.at("InBox/3.mail").constData()), 0);
    ASSERT_EQ(::unlink(store.dir.at("Lists/2.html").constData()), 0);
    store.mail("Lists/2.mail", 2);
    store.mail("Lists/2.rply", 2); // two candidates: neither is taken
    for (const int links : {40, 41}) {
        const QByteArray name = "x" + QByteArray::number(links);
        QByteArray target = store.mail("Chain/" + name + ".ygm", links - 32);
        for (int i = links - 1; i >= 1; --i)
            target = store.link("temp/" + name + "/" + QByteArray::number(i), target);
        store.unreadAlias(name, target);
    }
    const ChildRun r = unread(withStore());
    EXPECT_EQ(r.names(), "1.ygm 3.mail 4.ygm 5.ygm x40.ygm");
    EXPECT_TRUE(r.out.contains("\tf3\t") && !r.out.contains("U\tf3\t")) << r.out.toStdString(); // shown as read
    // A store without unread aliases has no unread mail.
    TestDir empty;
    const ChildRun none = unread({"--store", empty.pathString()});
    EXPECT_EQ(none.exitCode, 0);
    EXPECT_EQ(none.out, "");
}

