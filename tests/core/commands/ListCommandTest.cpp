#include "CommandRun.h"
#include "ListCommand.h"
#include "TitleCache.h"

class ListCommandTest : public CommandTest {
protected:
    ChildRun run(const QStringList &args, const QString &in = {}) { return RunWex(args, {}, in); }
    ChildRun list(const QStringList &more = {}) { return run(QStringList{"--list", dir.pathString()} + more); }

    TestDir dir;
};

TEST_F(ListCommandTest, OutputFormat)
{
    const QByteArray d = dir.path();
    dir.write("1.ygm", "From: Alice\nSubject: Hello\tthere\nDate: 5 Dec 2026 08:25:02 +0900\n\n");
    dir.write("2.mail", "\n");
    dir.write("3.rply", "Date: garbage\n\n");
    dir.write("4.html", "From: crlf\r\nSubject: s\r\n\r\nFrom: later\r\n"); // CR LF ends no header
    dir.write("5.ygm", "From: Bob\nSubject: caf\xc3\xa9 \xe2\x98\x95\nDate: 1 Jan 2027 00:00:00 -0800\n\n"
                       "Content-Type: text/plain; charset=utf-8\n");
    dir.write("a\nb.ygm", "From: back\\slash\n\n");
    SetMTime(dir.write("upload1.txt", "To: Carol\nDate: 5 Dec 2026 08:25:02 +0900\n\n"), 1700000000);

    const ChildRun r = list();
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "");
    const QByteArray expected =
        "R\tanonymous\t\tNo Subject\t2\t" + d + "/3.rply\n"
        "\tanonymous\t0001-01-01 00:00:00 +0000\tNo Subject\t2\t" + d + "/2.mail\n"
        "UH\tlater\\r\t0001-01-01 00:00:00 +0000\ts\\r\t2\t" + d + "/4.html\n"
        "U\tback\\\\slash\t0001-01-01 00:00:00 +0000\tNo Subject\t2\t" + d + "/a\\nb.ygm\n"
        "S\tCarol\t2023-11-15 07:13:20 +0900\tNo Subject\t2\t" + d + "/upload1.txt\n"
        "U\tAlice\t2026-12-05 08:25:02 +0900\tHello\\tthere\t2\t" + d + "/1.ygm\n"
        "U\tBob\t2027-01-01 00:00:00 -0800\tcaf\xc3\xa9 \xe2\x98\x95\t8\t" + d + "/5.ygm\n";
    EXPECT_EQ(r.out.toStdString(), expected.toStdString());
    ::unlink(dir.at("a\nb.ygm").constData());
}

TEST_F(ListCommandTest, SortKeysAndReverseAreStable)
{
    dir.write("a.ygm", "From: zed\nSubject: m\nDate: 1 Jan 2020 00:00:00 GMT\n\n");
    dir.write("b.mail", "From: Zed\nSubject: m\nDate: 1 Jan 2021 00:00:00 GMT\n\n");
    dir.write("c.rply", "From: amy\nSubject: b\nDate: 1 Jan 2020 00:00:00 GMT\n\n");
    dir.write("d.ygm", "From: amy\nSubject: A\nDate: 1 Jan 2019 00:00:00 GMT\n\n");
    struct Case { QStringList args; const char *order; } cases[] = {
        {{}, "d.ygm a.ygm c.rply b.mail"}, {{"--reverse"}, "b.mail a.ygm c.rply d.ygm"},
        {{"--reverse", "--sort", "subject"}, "a.ygm b.mail c.rply d.ygm"}, {{"--sort", "state"}, "b.mail c.rply a.ygm d.ygm"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const ChildRun r = list(c.args);
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_EQ(r.names(), c.order);
    }
}

TEST_F(ListCommandTest, FolderIsMadeAbsoluteLexically)
{
    dir.write("real/deep/x.ygm", "");
    dir.write("sub/y.ygm", "");
    dir.write("-odd/z.ygm", "");
    ASSERT_EQ(::symlink(dir.at("real/deep").constData(), dir.at("ln").constData()), 0);
    // ".." is taken lexically, not through the link; an option-like name is reached after "--".
    const struct {
        QStringList folder;
        const char *listed;
    } cases[] = {{{"sub/../sub/./"}, "sub/y.ygm"}, {{"ln/../sub"}, "sub/y.ygm"}, {{"ln"}, "ln/x.ygm"},
                 {{"--", "-odd"}, "-odd/z.ygm"}};
    for (const auto &c : cases) {
        const ChildRun r = run(QStringList{"--list"} + c.folder, dir.pathString());
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_TRUE(r.out.endsWith("\t" + dir.at(c.listed) + "\n")) << r.out.toStdString();
    }
}

// A listing that cannot be written is a failure, said once.
TEST_F(ListCommandTest, AListingThatCannotBeWrittenFails)
{
    dir.write("1.ygm", "From: a\n\n");
    QProcess full;
    full.setStandardOutputFile(QStringLiteral("/dev/full"));
    full.start(WexBinary(), {"--list", dir.pathString()});
    ASSERT_TRUE(full.waitForFinished(60000));
    EXPECT_EQ(full.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(full.exitCode(), 1);
    EXPECT_EQ(full.readAllStandardError().count('\n'), 1);
}

// "--no-cache" and WEX_NO_CACHE keep the header cache unused; otherwise it is used.
TEST(ListCommandCache, OnlyWhenNeitherOptionNorEnvironmentTurnsItOff)
{
    TestDir dir;
    ScopedEnv cacheHome("XDG_CACHE_HOME", dir.at("cache"));
    SetTitleCacheSettleNanosecondsForTesting(0); // the mails count as settled at once
    const QByteArray folder = dir.mkdir("InBox");
    dir.write("InBox/1.ygm", "From: Alice\nSubject: one\n\n");
    const QByteArray cacheFile = dir.at("cache/wex-browser/") + TitleCacheFileName(folder);
    for (const auto &[option, environment, cached] : {std::tuple{"--no-cache", "", false}, {"", "1", false}, {"", "", true}}) {
        ScopedEnv off("WEX_NO_CACHE", environment);
        const char *args[] = {"wex-browser", "--list", folder.constData(), option};
        FILE *out = std::fopen("/dev/null", "w");
        EXPECT_EQ(RunListCommand(*option ? 4 : 3, const_cast<char **>(args), out, stderr), 0);
        std::fclose(out);
        EXPECT_EQ(Exists(cacheFile), cached) << option << environment;
    }
    SetTitleCacheSettleNanosecondsForTesting(2'000'000'000);
}
