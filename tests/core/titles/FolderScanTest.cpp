// A folder read by several threads, with and without the header cache, gives
// exactly what the plain single-threaded scan gives, title for title and in
// the same order, and attachment folders get their dummy main texts once.
#include "CacheFixture.h"

#include <QDir>
#include <QRandomGenerator>
#include <sys/stat.h>
#include <unistd.h>

using namespace wex;
using namespace wex::test;

namespace {

class FolderScanTest : public CacheFixture {
protected:
    // Each way of listing the folder, parallel first so that it is the one
    // that meets the attachment folders without a main text.
    void expectAllScansAgree(int dummies)
    {
        const QByteArray parallel = Dump(run(options(4, false)));
        EXPECT_EQ(countDummies(), dummies);
        EXPECT_EQ(Dump(run(options(1, false))), parallel) << "one thread";
        EXPECT_EQ(Dump(scanner.loadTitleArray(folder)), parallel) << "plain scan";
        EXPECT_EQ(Dump(run(options(4, true))), parallel) << "filling the cache";
        settleClock();
        EXPECT_EQ(Dump(run(options(4, true))), parallel) << "from the cache";
        EXPECT_GT(last.fromCache, 0u);
        EXPECT_EQ(Dump(run(options(1, true))), parallel) << "from the cache, one thread";
        EXPECT_EQ(countDummies(), dummies) << "a dummy main text is written once";
    }

    int countDummies() const
    {
        int n = 0;
        const QDir inbox(QString::fromLocal8Bit(folder));
        for (const QString &sub : inbox.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
            n += int(QDir(inbox.filePath(sub)).entryList({"*.iygm"}, QDir::Files).size());
        return n;
    }
};

TEST_F(FolderScanTest, ThousandsOfGeneratedMails)
{
    QRandomGenerator gen(7);
    const char *const extensions[] = {"ygm", "mail", "rply", "rpry", "html", "wmail", "htm", "iygm", "imail", "txt"};
    const QByteArray froms[] = {"From: Alice <alice@example.org>", "From: \x93\xfa\x96\x7b <jp@example.org>",
                                "FROM: shouting@example.org", "From:nospace", "From: \xe6\x97\xa5\xe6\x9c\xac"};
    const QByteArray charsets[] = {"",
                                   "X-WEX-CharSet: SJIS\n",
                                   "X-WEX-CharSet: EUC\n",
                                   "Content-Type: text/plain; charset=shift_jis\n",
                                   "Content-Type: text/plain; charset=ISO-8859-1\nX-WEX-CharSet: nonsense\n",
                                   "Content-type: TEXT/PLAIN; charset=utf-8\n"};
    const QByteArray dates[] = {"Date: Mon, 5 Dec 2026 08:25:02 +0900", "Date: 5 dec 26 08:25 PST",
                                "Date: not a date", "Date: 31 Dec 99 23:59:59 Z", ""};
    for (int i = 0; i < 3000; ++i) {
        const QByteArray ext = extensions[gen.bounded(int(std::size(extensions)))];
        QByteArray name = QByteArray::number(i) + '.' + ext;
        if (ext == "txt")
            name = (i % 2 ? "upload" : "error-mail-original") + QByteArray::number(i) + ".txt";
        const bool crlf = gen.bounded(10) == 0;
        QByteArray text = froms[gen.bounded(int(std::size(froms)))] + "\nTo: Bob <bob@example.org>\nSubject: mail "
            + QByteArray::number(i) + (gen.bounded(3) == 0 ? " \xe3\x81\x82" : "") + "\n"
            + dates[gen.bounded(int(std::size(dates)))] + "\n";
        if (gen.bounded(8) != 0)
            text += "\n";
        text += QByteArray(int(gen.bounded(2000)), 'b') + "\n" + charsets[gen.bounded(int(std::size(charsets)))];
        if (crlf)
            text.replace("\n", "\r\n");
        mail(name, text);
    }
    for (int i = 0; i < 30; ++i) {
        mail("a" + QByteArray::number(i) + ".mpart/a" + QByteArray::number(i) + (i % 3 ? ".mail" : ""),
             "From: parts\nSubject: with parts\n\n");
        mail("a" + QByteArray::number(i) + ".mpart/part.pdf", "%PDF");
    }
    for (int i = 0; i < 10; ++i)
        mail("sender" + QByteArray::number(i) + "|subject.ygm/part.bin", "no main text");
    mail("notes.txt", "From: not a mail\n\n");
    expectAllScansAgree(10);
}

TEST_F(FolderScanTest, AFolderOfHostileEntries)
{
    QByteArray binary(256 * 1024, '\0');
    QRandomGenerator gen(42);
    for (char &c : binary)
        c = char(gen.bounded(256));
    mail("binary.ygm", binary);
    mail("nul.ygm", QByteArray(70000, '\0'));
    mail("long.ygm", "From: long\nSubject: " + QByteArray(1024 * 1024, 's') + "\n\n");
    mail("crlf.ygm", "From: crlf\r\nSubject: s\r\n\r\nX-WEX-CharSet: SJIS\r\n");
    mail("badcharset.ygm", "From: \x82\xa0\x82\n\nContent-Type: text/plain; charset=shift_jis\n");
    mail("empty.mail", "");
    mail("\xff\xfe-not-utf8.ygm", "From: raw name\n\n");
    mail("$(touch pwned);`x`|&<>'\" *?.ygm", "Subject: $(touch pwned)\n\n");
    const auto at = [&](const char *name) { return dir.at(QByteArray("InBox/") + name); };
    ASSERT_EQ(::mkfifo(at("fifo.ygm").constData(), 0644), 0);
    ASSERT_EQ(::symlink(at("nowhere").constData(), at("broken.ygm").constData()), 0);
    ASSERT_EQ(::symlink(at("loop2.ygm").constData(), at("loop1.ygm").constData()), 0);
    ASSERT_EQ(::symlink(at("loop1.ygm").constData(), at("loop2.ygm").constData()), 0);
    ASSERT_EQ(::symlink("/dev/zero", at("zero.ygm").constData()), 0);
    ASSERT_EQ(::symlink(at("fifo.ygm").constData(), at("fifolink.ygm").constData()), 0);
    mail("target.mail", "From: target\n\n");
    ASSERT_EQ(::symlink(at("target.mail").constData(), at("link.ygm").constData()), 0);
    dir.write("elsewhere/elsewhere.ygm", "From: outside\n\n");
    ASSERT_EQ(::symlink(dir.at("elsewhere").constData(), at("elsewhere.mpart").constData()), 0);
    mail("Archive/1.ygm", "From: in a plain subfolder\n\n");
    mail("folder.ygm/folder", "From: main text without extension\n\n");
    mail("unreadable.ygm", "From: secret\n\n");
    ::chmod(at("unreadable.ygm").constData(), 0);
    mail("sender|readonly.mpart/part.pdf", "%PDF");
    ::chmod(at("sender|readonly.mpart").constData(), 0555);
    mail("sender|subject.mpart/part.pdf", "%PDF");
    for (int i = 0; i < 200; ++i) // enough entries for every thread to take a share
        mail(QByteArray::number(i) + ".mail", "From: filler " + QByteArray::number(i) + "\n\n");

    // Root writes into the read-only folder as well.
    expectAllScansAgree(::geteuid() == 0 ? 2 : 1);
    EXPECT_FALSE(Exists(dir.at("pwned")));

    ::chmod(at("sender|readonly.mpart").constData(), 0755);
    ::unlink(at("\xff\xfe-not-utf8.ygm").constData()); // Qt cannot remove this name
}

} // namespace
