// A mail folder full of entries that are hostile to a scanner. Whatever is
// in it, a scan must end quickly, list exactly the readable mails, never
// write outside attachment folders, and never run anything.
#include "PathUtils.h"
#include "ScanFixture.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <sys/stat.h>
#include <unistd.h>

using namespace wex;
using namespace wex::test;

namespace {

class HostileInputTest : public ScanFixture {
protected:
    // chmod 000 only stops reads for an unprivileged user.
    bool permissionsStopReads()
    {
        const QByteArray probe = dir.write("probe-perm", "x");
        ::chmod(probe.constData(), 0);
        const bool stops = ::access(probe.constData(), R_OK) != 0;
        ::unlink(probe.constData());
        return stops;
    }

    QByteArray titleNames(const TitleArray &titles)
    {
        QByteArray out;
        for (const Title &t : titles)
            out += t.path().mid(dir.path().size() + 1) + "|" + t.state().toLatin1() + "\n";
        return out;
    }
};

QByteArray RandomBytes(qsizetype n)
{
    QByteArray b(n, '\0');
    QRandomGenerator gen(42);
    for (qsizetype i = 0; i < n; ++i)
        b[i] = char(gen.bounded(256));
    return b;
}

} // namespace

TEST_F(HostileInputTest, AFolderOfHostileEntries)
{
    // Readable mails that are hostile in their content.
    dir.write("binary.ygm", RandomBytes(256 * 1024));
    dir.write("nul.ygm", QByteArray(70000, '\0'));
    {
        QByteArray big = "From: big\nSubject: fifty megabytes\n\n";
        const QByteArray line = QByteArray(79, 'y') + '\n';
        big.reserve(50 * 1024 * 1024 + 100);
        while (big.size() < 50 * 1024 * 1024)
            big += line;
        big += "X-WEX-CharSet: SJIS\n"; // at the very end: found only by reading all of it
        dir.write("big.ygm", big);
    }
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

    const bool permissions = permissionsStopReads();
    dir.write("unreadable.ygm", "From: secret\n\n");
    ::chmod(dir.at("unreadable.ygm").constData(), 0);
    dir.write("locked.mpart/locked.ygm", "From: locked\n\n");
    ::chmod(dir.at("locked.mpart").constData(), 0);
    const QByteArray readOnly = dir.mkdir("sender|readonly.mpart");
    dir.write("sender|readonly.mpart/part.pdf", "%PDF");
    ::chmod(readOnly.constData(), 0555);

    QElapsedTimer timer;
    timer.start();
    const TitleArray titles = scan();
    const qint64 elapsed = timer.elapsed();
    EXPECT_LT(elapsed, 20000) << "the scan must stay bounded";

    QByteArray expected = "$(touch pwned);`touch pwned2`|&<>'\" *?.ygm|U\n"
                          "badcharset.ygm|U\n"
                          "big.ygm|U\n"
                          "binary.ygm|U\n"
                          "good-link.ygm|U\n"
                          "link-target.mail|\n";
    if (!permissions)
        expected += "locked.mpart/locked.ygm|AU\n";
    expected += "nul.ygm|U\n"
                "oneline.ygm|U\n"
                "onelineheader.ygm|U\n"
                "outside.mpart/outside.ygm|AU\n";
    if (!permissions)
        expected += "sender|readonly.mpart/sender|readonly.iygm|AUX\n"
                    "unreadable.ygm|U\n";
    expected += "\xff\xfe-not-utf8.ygm|U\n";
    EXPECT_EQ(titleNames(titles).toStdString(), expected.toStdString());

    for (const Title &t : titles) {
        const QByteArray name = GetPathBase(t.path());
        if (name == "big.ygm") {
            EXPECT_EQ(t.from(), "big");
            EXPECT_EQ(t.code(), kShiftJis);
        } else if (name == "badcharset.ygm") {
            EXPECT_EQ(t.code(), kShiftJis);
            EXPECT_TRUE(t.from().isEmpty());
        } else if (name == "onelineheader.ygm") {
            EXPECT_EQ(t.subject().size(), 4095 - 9);
        } else if (name == "oneline.ygm") {
            EXPECT_EQ(t.from(), "one line");
        } else if (name.startsWith("$(")) {
            EXPECT_EQ(t.subject(), "$(touch pwned3)");
        }
    }
    for (const char *n : {"pwned", "pwned2", "pwned3"})
        EXPECT_FALSE(Exists(dir.at(n))) << n;
    if (permissions) {
        EXPECT_FALSE(Exists(dir.at("sender|readonly.mpart/sender|readonly.iygm")));
    }

    // Named one by one (no directory entry type to go by), the entries that
    // are no readable files give nothing either, and nothing blocks.
    TitleArray single;
    for (const char *n : {"x.ygm", "fifolink.ygm", "zero.ygm", "loop1.ygm", "broken.ygm"})
        scanner.addTitleOf(dir.at(n), single);
    EXPECT_TRUE(single.empty());

    // The same folder scans the same way again.
    EXPECT_EQ(titleNames(scan()).toStdString(), expected.toStdString());

    // So that the scratch folder can be removed (Qt cannot remove a name
    // that is not valid UTF-8).
    ::chmod(dir.at("locked.mpart").constData(), 0755);
    ::chmod(readOnly.constData(), 0755);
    ::unlink(dir.at("\xff\xfe-not-utf8.ygm").constData());
}
