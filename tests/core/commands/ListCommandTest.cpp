#include "CommandRun.h"
#include "ListCommand.h"
#include "TestStore.h"
#include "TitleCache.h"

#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace wex;
using namespace wex::test;

namespace {

class ListCommandTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (WexBinary().isEmpty())
            GTEST_SKIP() << "WEX_BINARY does not name the wex-browser binary";
    }
    ChildRun run(const QStringList &args, const QString &in = {}) { return RunWex(args, {}, in); }
    ChildRun list(const QStringList &more = {}) { return run(QStringList{"--list", dir.pathString()} + more); }

    TestDir dir;
};

} // namespace

TEST_F(ListCommandTest, OutputFormat)
{
    const QByteArray d = dir.path();
    dir.write("1.ygm", "From: Alice\nSubject: Hello\tthere\nDate: 5 Dec 2026 08:25:02 +0900\n\n");
    dir.write("2.mail", "\n");
    dir.write("3.rply", "Date: garbage\n\n");
    dir.write("4.html", "From: crlf\r\nSubject: s\r\n\r\n");
    dir.write("5.ygm", "From: Bob\nSubject: caf\xc3\xa9 \xe2\x98\x95\nDate: 1 Jan 2027 00:00:00 -0800\n\n"
                       "Content-Type: text/plain; charset=utf-8\n");
    dir.write("6.ygm", "Subject: caf\xc3\xa9\n\n"); // 8-bit bytes in the default (7-bit) coding
    dir.write("a\nb.ygm", "From: back\\slash\n\n");
    SetMTime(dir.write("upload1.txt", "To: Carol\nDate: 5 Dec 2026 08:25:02 +0900\n\n"), 1700000000);
    dir.write("notes.txt", "From: not a mail\n\n");

    const ChildRun r = list();
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "");
    const QByteArray expected =
        "R\tanonymous\t\tNo Subject\t2\t" + d + "/3.rply\n"
        "\tanonymous\t0001-01-01 00:00:00 +0000\tNo Subject\t2\t" + d + "/2.mail\n"
        "UH\tcrlf\\r\t0001-01-01 00:00:00 +0000\ts\\r\t2\t" + d + "/4.html\n"
        "U\tanonymous\t0001-01-01 00:00:00 +0000\t\t2\t" + d + "/6.ygm\n"
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
    struct Case {
        QStringList args;
        const char *order;
    } cases[] = {
        {{}, "d.ygm a.ygm c.rply b.mail"},
        {{"--reverse"}, "b.mail a.ygm c.rply d.ygm"},
        {{"--sort", "from"}, "b.mail c.rply d.ygm a.ygm"},
        {{"--reverse", "--sort", "subject"}, "a.ygm b.mail c.rply d.ygm"},
        {{"--sort", "state"}, "b.mail c.rply a.ygm d.ygm"},
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
    // ".." is taken lexically, not through the link (which would give real/sub);
    // a folder whose name looks like an option is reached after "--".
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

TEST_F(ListCommandTest, ExitCodes)
{
    const QString missing = dir.pathString() + "/missing";
    const QString file = QString::fromUtf8(dir.write("file.ygm", ""));
    for (const QString &folder : {missing, file}) {
        const ChildRun r = run({"--list", folder});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
        EXPECT_TRUE(r.err.endsWith('\n'));
    }
    const QList<QStringList> usage = {
        {"--list"},
        {"--list", dir.pathString(), "--bogus"},
        {"--list", dir.pathString(), dir.pathString()},
    };
    for (const QStringList &args : usage) {
        SCOPED_TRACE(args.join(' ').toStdString());
        const ChildRun r = run(args);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_TRUE(r.err.startsWith("usage: wex-browser --list FOLDER")) << r.err.toStdString();
    }
    EXPECT_EQ(run({"--list", dir.pathString()}).exitCode, 0); // a listing of one mail

    // A listing that cannot be written is a failure, said once.
    QProcess full;
    full.setStandardOutputFile(QStringLiteral("/dev/full"));
    full.start(WexBinary(), {"--list", dir.pathString()});
    ASSERT_TRUE(full.waitForFinished(60000));
    EXPECT_EQ(full.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(full.exitCode(), 1);
    EXPECT_EQ(full.readAllStandardError().count('\n'), 1);

    // Any other "--" command answers without a display: usage, never a desktop start.
    const ChildRun unknown = run({"--lsit", dir.pathString()});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_TRUE(unknown.err.contains("usage: wex-browser --list FOLDER")) << unknown.err.toStdString();
    const ChildRun help = run({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains("usage: wex-browser --list FOLDER"));
}

TEST(FormatTitleLine, EscapesAndTextEncoding)
{
    Title t;
    t.setFrom(QString::fromUtf8("a\\b\tc\nd\re \xf0\x9f\x98\x80"));
    t.setSubject(QString(QChar(0xD800)) + "x"); // a lone surrogate
    t.setPath(QByteArray("/m/\xff\t.ygm"));
    t.setUnreadState(true);
    t.setCode(7);
    EXPECT_EQ(FormatTitleLine(t),
              "U\ta\\\\b\\tc\\nd\\re \xf0\x9f\x98\x80\t0001-01-01 00:00:00 +0000\t\xef\xbf\xbdx\t7\t/m/\xff\\t.ygm");
    Title empty;
    empty.setDate(MailDate());
    EXPECT_EQ(FormatTitleLine(empty), "\tanonymous\t\tNo Subject\t0\t");
}

// The listing through the header cache is the listing without it, byte for
// byte; "--no-cache" and WEX_NO_CACHE neither read nor write the cache.
TEST(ListCommandCache, ACachedListingIsTheFreshListing)
{
    TestDir dir;
    ScopedEnv cacheHome("XDG_CACHE_HOME", dir.at("cache"));
    ScopedEnv cacheOn("WEX_NO_CACHE");
    SetTitleCacheSettleNanosecondsForTesting(0); // the mails count as settled at once
    const QByteArray folder = dir.mkdir("InBox");
    dir.write("InBox/1.ygm", "From: Alice\nSubject: one\nDate: 5 Dec 2026 08:25:02 +0900\n\n");
    dir.write("InBox/2.mail", "From: \x93\xfa\x96\x7b\nSubject: two\n\nX-WEX-CharSet: SJIS\n");
    dir.write("InBox/upload1.txt", "To: Bob\nSubject: out\n\n");
    dir.write("InBox/x.mpart/part.pdf", "%PDF");
    const QByteArray cacheFile = dir.at("cache/wex-browser/") + TitleCacheFileName(folder);

    auto list = [&](const char *option) {
        std::vector<const char *> args = {"wex-browser", "--list", folder.constData()};
        if (option)
            args.push_back(option);
        char *text = nullptr;
        size_t size = 0;
        FILE *out = ::open_memstream(&text, &size);
        FILE *err = std::fopen("/dev/null", "w");
        EXPECT_EQ(RunListCommand(int(args.size()), const_cast<char **>(args.data()), out, err), 0);
        std::fclose(out);
        std::fclose(err);
        const QByteArray listing(text, qsizetype(size));
        std::free(text);
        return listing;
    };
    const QByteArray fresh = list("--no-cache");
    EXPECT_EQ(fresh.count('\n'), 4);
    EXPECT_FALSE(Exists(cacheFile));
    {
        ScopedEnv off("WEX_NO_CACHE", "1");
        EXPECT_EQ(list(nullptr), fresh);
        EXPECT_FALSE(Exists(cacheFile));
    }
    EXPECT_EQ(list(nullptr), fresh); // fills the cache
    EXPECT_TRUE(Exists(cacheFile));
    EXPECT_EQ(list(nullptr), fresh); // read from it
    SetTitleCacheSettleNanosecondsForTesting(2'000'000'000);
}
