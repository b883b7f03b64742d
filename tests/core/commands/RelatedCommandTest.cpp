// wex-browser --related run as a child process over real reference folders.
#include "AliasStore.h"
#include "CommandRun.h"

class RelatedCommandTest : public CommandTest {
protected:
    void SetUp() override
    {
        CommandTest::SetUp();
        // 1 <- 2 <- 3 and 2 <- 4, 2 an attachment folder named by its aliases; dates against walk order.
        one = store.mail("InBox/1.mail", 9, "<1@x>");
        store.mail("InBox/2.mpart/2.mail", 7, "<2@x>", "<1@x>");
        three = store.mail("Lists/3.rply", 3, "<3@x>", "<2@x>");
        store.mail("Work/4.ygm", 1, "<4@x>", "<2@x>");
        store.refAlias("<1@x>", "midref", "1", "../../../InBox/1.mail");
        store.refAlias("<1@x>", "iftref", "2", "../../../InBox/2.mpart");
        store.refAlias("<2@x>", "midref", "2", "../../../InBox/2.mpart");
        store.refAlias("<2@x>", "midref", "2.mail", "../../../InBox/2.mpart/2.mail"); // the same mail again
        store.refAlias("<2@x>", "iftref", "3", "../../../Lists/3.rply");
        store.refAlias("<2@x>", "iftref", "4", "../../../Work/4.ygm");
        store.refAlias("<3@x>", "midref", "3", "../../../Lists/3.rply");
        store.refAlias("<4@x>", "midref", "4", "../../../Work/4.ygm");
    }
    ChildRun related(const QByteArray &mail, const QStringList &more = {})
    {
        return RunWex(QStringList{"--related", QString::fromUtf8(mail), "--store", store.dir.pathString()} + more);
    }

    AliasStore store;
    QByteArray one, three;
};

TEST_F(RelatedCommandTest, ListsTheThreadAlsoAfterRenames)
{
    ChildRun r = related(three, {"--sort", "none"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.names(), "3.rply 2.mail 1.mail");
    EXPECT_TRUE(r.out.contains("A\tf7\t"));
    EXPECT_TRUE(r.out.contains("\t" + store.dir.at("InBox/2.mpart/2.mail") + "\n"));
    EXPECT_EQ(related(one, {"--sort", "none"}).names(), "1.mail 2.mail 3.rply 4.ygm");
    EXPECT_EQ(related(one).names(), "4.ygm 3.rply 2.mail 1.mail"); // by date
    EXPECT_EQ(related(one, {"--reverse", "--sort", "from"}).names(), "1.mail 2.mail 3.rply 4.ygm");
    // The attachment folder counts as its main text; a link as its target.
    EXPECT_EQ(related(store.dir.at("InBox/2.mpart"), {"--sort", "none"}).names(), "2.mail 1.mail 3.rply 4.ygm");
    EXPECT_EQ(related(store.dir.at("temp/refByAliases/<3@x>.midref/3"), {"--sort", "none"}).names(),
              "3.rply 2.mail 1.mail");
    // Mails renamed since their aliases were written are found; a main text stands for its folder.
    ASSERT_EQ(::rename(three.constData(), store.dir.at("Lists/3.mail").constData()), 0);
    ASSERT_EQ(::rename(store.dir.at("Work/4.ygm").constData(), store.dir.at("Work/4.rply").constData()), 0);
    EXPECT_EQ(related(one, {"--sort", "none"}).names(), "1.mail 2.mail 3.mail 4.rply");
    const ChildRun inside = related(store.dir.at("InBox/2.mpart/2.mail"), {"--sort", "none"});
    EXPECT_EQ(inside.names(), "2.mail 1.mail 3.mail 4.rply");
    EXPECT_TRUE(inside.out.startsWith("A\tf7\t")) << inside.out.toStdString();
}

