// The related-mails walk over real reference folders of symbolic links.
#include "AliasStore.h"
#include "ChainWalk.h"
#include "SafeMove.h"
#include "ScanFixture.h"

static QByteArray Id(int n, const QByteArray &host = "example.org") { return "<m" + QByteArray::number(n) + "@" + host + ">"; }

class ChainWalkTest : public ::testing::Test {
protected:
    ChainWalkTest() : coding(ScanCodingList()), scanner(coding), walk(scanner, store.root()) {}

    // Mails 1..n, mail i answering mail i-1, with both reference folders.
    void thread(int n, const QByteArray &folder = "InBox")
    {
        for (int i = 1; i <= n; ++i)
            mails.push_back(store.mail(folder + "/" + QByteArray::number(i) + ".mail", i, Id(i),
                                       i > 1 ? Id(i - 1) : QByteArray()));
        for (int i = 2; i <= n; ++i)
            store.answers(mails[size_t(i - 1)], mails[size_t(i - 2)], Id(i - 1));
    }
    QByteArray chain(const QByteArray &mail) { return Subjects(walk.chainTitleArray(mail)); }

    AliasStore store;
    Coding coding;
    TitleScanner scanner;
    ChainWalk walk;
    std::vector<QByteArray> mails;
};

// Loops and repeated aliases: each mail is listed once, and the walk ends.
TEST_F(ChainWalkTest, LoopsAndRepeatedAliasesListEachMailOnce)
{
    // 1 answers 2 and 2 answers 1.
    const QByteArray a = store.mail("L/1.mail", 1, Id(1, "loop"), Id(2, "loop"));
    const QByteArray b = store.mail("L/2.mail", 2, Id(2, "loop"), Id(1, "loop"));
    store.answers(a, b, Id(2, "loop"));
    store.answers(b, a, Id(1, "loop"));
    EXPECT_EQ(chain(a), "s1 s2");
    EXPECT_EQ(chain(b), "s2 s1");

    // 40 levels, each with two aliases of the next mail (2^40 ways) and one back to the first.
    thread(40, "D");
    for (int i = 2; i <= 40; ++i) {
        store.refAlias(Id(i - 1), "iftref", "again", mails[size_t(i - 1)]);
        store.refAlias(Id(i - 1), "iftref", "loop", mails[0]);
    }
    const TitleArray all = walk.chainTitleArray(mails[0]);
    ASSERT_EQ(all.size(), 40u);
    for (size_t i = 0; i < all.size(); ++i)
        EXPECT_EQ(all[i].path(), mails[i]);
}

// Byte order, a sub-folder's entries after it, folder links listed not entered, dead aliases passed.
TEST_F(ChainWalkTest, ReferenceFolderOrder)
{
    const QByteArray top = store.mail("InBox/top.mail", 1, Id(1));
    const QByteArray folder = "temp/refByAliases/" + Id(1) + ".iftref/";
    store.link(folder + "b", store.mail("InBox/b.mail", 2));
    store.link(folder + "a/c", store.mail("InBox/c.mail", 3));
    store.link(folder + "B", store.mail("InBox/B.mail", 4));
    store.link(folder + "dead", store.dir.at("InBox/gone.mail"));
    store.link("Linked/e", store.mail("InBox/e.mail", 5));
    store.link(folder + "d", store.dir.at("Linked"));
    EXPECT_EQ(chain(top), "s1 s4 s3 s2");
}

// An ID that is empty or could leave the reference folders names no folder.
TEST_F(ChainWalkTest, UnsafeIdsNameNoFolder)
{
    const QByteArray decoy = store.mail("Other/decoy.mail", 9);
    for (const QByteArray &place : {QByteArray("temp/refByAliases/.midref"), QByteArray("temp/refByAliases/..midref"),
                                    QByteArray("temp/refByAliases/...midref"), QByteArray("outside.midref"),
                                    QByteArray("temp/refByAliases/a.midref")})
        store.link(place + "/decoy", decoy);
    store.dir.mkdir("temp/refByAliases/x");
    const QByteArray ids[] = {"", " ", ".", "..", "x/../../../outside", QByteArray("a\0b", 3),
                              QByteArray(300, 'a')};
    int n = 0;
    for (const QByteArray &id : ids) {
        SCOPED_TRACE(id.toStdString());
        const QByteArray mail = store.dir.write("InBox/" + QByteArray::number(++n) + ".mail",
                                                "Subject: m\nIn-Reply-To: " + id + "\n\n");
        EXPECT_EQ(chain(mail), "m");
    }
    EXPECT_FALSE(ChainWalk::IsReferenceId(QByteArray(249, 'a')));
    EXPECT_TRUE(ChainWalk::IsReferenceId(QByteArray(248, 'a')));
}

// Files sharing a Message-ID are each their own mail; removing one leaves the others listed.
TEST_F(ChainWalkTest, MailsSharingAMessageIdAreEachTheirOwn)
{
    const QByteArray reply = store.mail("InBox/9.mail", 9, Id(9), Id(5));
    const QByteArray copies[] = {store.mail("InBox/5.mail", 5, Id(5)), store.mail("InBox/6.mail", 6, Id(5)),
                                 store.mail("Work/5.mail", 7, Id(5))};
    for (const QByteArray &copy : copies)
        store.refAlias(Id(5), "midref", copy.mid(store.root().size() + 1).replace('/', '_'), copy);
    EXPECT_EQ(chain(reply), "s9 s5 s6 s7");
    ASSERT_TRUE(SafeRemove(copies[1]).ok());
    EXPECT_EQ(chain(reply), "s9 s5 s7");
    EXPECT_TRUE(Exists(copies[0]) && Exists(copies[2]));
}

