// Whatever a folder holds, a scan ends, lists the readable mails only, and runs nothing.
#include "FolderScan.h"
#include "ScanFixture.h"

#include <QRandomGenerator>

static QByteArray TitleNames(const TitleArray &titles, const QByteArray &folder)
{
    QByteArray out;
    for (const Title &t : titles)
        out += t.path().mid(folder.size() + 1) + "|" + t.state().toLatin1() + "\n";
    return out;
}

using HostileInputTest = ScanFixture;

TEST_F(HostileInputTest, AFolderOfHostileEntries)
{
    // Readable mails that are hostile in their content.
    QByteArray random(256 * 1024, '\0');
    QRandomGenerator gen(42);
    for (char &c : random)
        c = char(gen.bounded(256));
    dir.write("binary.ygm", random);
    dir.write("nul.ygm", QByteArray(70000, '\0'));
    // The charset line at the very end of fifty megabytes: found only by reading all of it.
    dir.write("big.ygm", "From: big\nSubject: fifty megabytes\n\n" + (QByteArray(79, 'y') + '\n').repeated(655360)
                             + "X-WEX-CharSet: SJIS\n");
    dir.write("oneline.ygm", "From: one line\n\n" + QByteArray(1024 * 1024, 'z'));
    dir.write("onelineheader.ygm", "Subject: " + QByteArray(1024 * 1024, 's'));
    dir.write("badcharset.ygm", "From: \x82\xa0\x82\n\nContent-Type: text/plain; charset=shift_jis\n");
    dir.write("\xff\xfe-not-utf8.ygm", "From: raw name\n\n");
    const QByteArray shellName = "$(touch pwned);`touch pwned2`|&<>'\" *?.ygm";
    dir.write(shellName, "Subject: $(touch pwned3)\n\n");

    // Entries that are no readable mail files.
    ASSERT_EQ(::mkfifo(dir.at("x.ygm").constData(), 0644), 0);
    ASSERT_EQ(::symlink(dir.at("nowhere").constData(), dir.at("broken.ygm").constData()), 0);
    ASSERT_EQ(::symlink(dir.at("loop2.ygm").constData(), dir.at("loop1.ygm").constData()), 0);
    ASSERT_EQ(::symlink(dir.at("loop1.ygm").constData(), dir.at("loop2.ygm").constData()), 0);
    ASSERT_EQ(::symlink("/dev/zero", dir.at("zero.ygm").constData()), 0);
    ASSERT_EQ(::symlink(dir.at("x.ygm").constData(), dir.at("fifolink.ygm").constData()), 0);
    dir.write("elsewhere/outside.ygm", "From: outside\n\n");
    ASSERT_EQ(::symlink(dir.at("elsewhere").constData(), dir.at("outside.mpart").constData()), 0);
    dir.write("link-target.mail", "From: target\n\n");
    ASSERT_EQ(::symlink(dir.at("link-target.mail").constData(), dir.at("good-link.ygm").constData()), 0);

    const TitleArray titles = scan();

    const QByteArray expected = "$(touch pwned);`touch pwned2`|&<>'\" *?.ygm|U\nbadcharset.ygm|U\nbig.ygm|U\n"
                                "binary.ygm|U\ngood-link.ygm|U\nlink-target.mail|\nnul.ygm|U\noneline.ygm|U\n"
                                "onelineheader.ygm|U\noutside.mpart/outside.ygm|AU\n\xff\xfe-not-utf8.ygm|U\n";
    EXPECT_EQ(TitleNames(titles, dir.path()).toStdString(), expected.toStdString());

    for (const Title &t : titles) {
        const QByteArray name = GetPathBase(t.path());
        if (name == "big.ygm" || name == "badcharset.ygm") { // the charset line found past fifty megabytes
            EXPECT_EQ(t.from() + QString::number(t.code()), name == "big.ygm" ? "big7" : "7");
        } else if (name.startsWith("$(")) {
            EXPECT_EQ(t.subject(), "$(touch pwned3)");
        }
    }
    for (const char *n : {"pwned", "pwned2", "pwned3"})
        EXPECT_FALSE(Exists(dir.at(n))) << n;

    // Named one by one (no entry type to go by), entries that are no readable files give nothing.
    TitleArray single;
    for (const char *n : {"x.ygm", "fifolink.ygm", "zero.ygm", "loop1.ygm", "broken.ygm"})
        scanner.addTitleOf(dir.at(n), single);
    EXPECT_TRUE(single.empty());

    // By several threads at once: the same listing.
    FolderScanOptions options;
    options.threads = 4;
    options.useCache = false;
    FolderScan parallel(coding, dir.path(), options);
    parallel.run();
    EXPECT_EQ(TitleNames(parallel.takeTitles(), dir.path()).toStdString(), expected.toStdString());
    // Qt cannot remove a name that is not valid UTF-8.
    ::unlink(dir.at("\xff\xfe-not-utf8.ygm").constData());
}

// Closed entries give no title; a folder that cannot be written gets no dummy main text.
TEST(HostileInput, ClosedEntriesGiveNothing)
{
    UNPRIVILEGED([] {
        TestDir dir;
        Coding coding(ScanCodingList());
        TitleScanner scanner(coding);
        dir.write("good.ygm", "From: good\n\n");
        ::chmod(dir.write("unreadable.ygm", "From: secret\n\n").constData(), 0);
        dir.write("locked.mpart/locked.ygm", "From: locked\n\n");
        ::chmod(dir.at("locked.mpart").constData(), 0);
        dir.write("sender|readonly.mpart/part.pdf", "%PDF");
        ::chmod(dir.at("sender|readonly.mpart").constData(), 0555);
        EXPECT_EQ(TitleNames(scanner.loadTitleArray(dir.path()), dir.path()), "good.ygm|U\n");
        EXPECT_FALSE(Exists(dir.at("sender|readonly.mpart/sender|readonly.iygm")));
        ::chmod(dir.at("locked.mpart").constData(), 0755);
        ::chmod(dir.at("sender|readonly.mpart").constData(), 0755);
    });
}
