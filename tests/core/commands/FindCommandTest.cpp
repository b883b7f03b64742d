// wex-browser --find run as a child process over a real store.
#include "AliasStore.h"
#include "CommandRun.h"

class FindCommandTest : public CommandTest {
protected:
    void SetUp() override
    {
        CommandTest::SetUp();
        // Subjects s<day>; senders f<day>.
        store.mail("InBox/1.ygm", 1);
        store.mail("InBox/2.mail", 12);
        store.mail("Lists/debian/3.mail", 13);
        store.mail("Lists/debian/4.mpart/4.mail", 14);
        store.mail("Work/.hidden/5.mail", 15);   // a hidden folder
        store.mail("temp/other/6.mail", 16);     // the suite's own
        store.mail("Work/7.rply", 17);
        outside.write("Out/8.mail", "From: f18\nSubject: s18\n\nbody\n");
        store.link("Work/out", outside.at("Out")); // never left for
        store.link("Lists/loop", store.dir.at("Lists")); // never looped on
    }
    ChildRun find(const QString &query, const QStringList &more = {})
    {
        return RunWex(QStringList{"--find", query, "--store", store.dir.pathString()} + more);
    }

    AliasStore store;
    TestDir outside;
};

// A search finds what --list shows of every folder of the store, filtered.
TEST_F(FindCommandTest, FindsWhatTheListingsOfEveryFolderHold)
{
    QByteArray expected;
    for (const char *folder : {"InBox", "Lists/debian", "Work"}) {
        const ChildRun list = RunWex({"--list", store.dir.pathString() + "/" + folder});
        for (const QByteArray &line : list.out.split('\n'))
            if (line.split('\t').value(1).startsWith("f1"))
                expected += line + '\n';
    }
    ChildRun r = find(QStringLiteral("from:F1"), {"--sort", "none"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.names(), "1.ygm 2.mail 3.mail 4.mail 7.rply");
    r = find(QStringLiteral("from:F1"));
    QList<QByteArray> got = r.out.split('\n'), want = expected.split('\n');
    std::sort(got.begin(), got.end());
    std::sort(want.begin(), want.end());
    EXPECT_EQ(got, want);
    EXPECT_EQ(find(QStringLiteral("s1 state:unread")).names(), "1.ygm");
    EXPECT_EQ(find(QStringLiteral("body:BODY date:2026-12-13..2026-12-14")).names(), "3.mail 4.mail");
    const ChildRun none = find(QStringLiteral("nothing-like-this"));
    EXPECT_EQ(none.exitCode, 0);
    EXPECT_EQ(none.out, "");
}

// --counts: one line per folder; an attachment folder named as a mail is a mail.
TEST_F(FindCommandTest, CountsEveryFolderOfTheStoreOrBelowAFolder)
{
    store.mail("InBox/9.ygm/9.ygm", 19);
    const QByteArray root = store.dir.path();
    ChildRun r = RunWex({"--counts", "--store", store.dir.pathString()});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "0\t0\t" + root + "\n2\t3\t" + root + "/InBox\n0\t0\t" + root + "/Lists\n0\t2\t" + root +
                         "/Lists/debian\n0\t1\t" + root + "/Work\n");
    r = RunWex({"--counts", store.dir.pathString() + "/Lists"});
    EXPECT_EQ(r.out, "0\t0\t" + root + "/Lists\n0\t2\t" + root + "/Lists/debian\n");
}
