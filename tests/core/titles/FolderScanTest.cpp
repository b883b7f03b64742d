// Every way of scanning (threads, cache) gives exactly the plain scan; dummy main texts once.
#include "CacheFixture.h"

#include <QRandomGenerator>

class FolderScanTest : public CacheFixture {
protected:
    // Parallel first, so that it meets the attachment folders without a main text.
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
        qsizetype n = 0;
        for (const QString &sub : Entries(folder))
            n += Entries(folder + '/' + QFile::encodeName(sub), {"*.iygm"}).size();
        return int(n);
    }
};

TEST_F(FolderScanTest, ThousandsOfGeneratedMails)
{
    QRandomGenerator gen(7);
    const auto pick = [&gen](const auto &choices) { return choices[gen.bounded(int(std::size(choices)))]; };
    std::vector<std::pair<QByteArray, QByteArray>> generated;
    const char *const extensions[] = {"ygm", "mail", "rply", "rpry", "html", "wmail", "htm", "iygm", "imail", "txt"};
    const QByteArray froms[] = {"From: Alice <alice@example.org>", "From: \x93\xfa\x96\x7b", "FROM: shouting",
                                "From:nospace", "From: \xe6\x97\xa5\xe6\x9c\xac"};
    const QByteArray charsets[] = {"", "X-WEX-CharSet: SJIS\n", "X-WEX-CharSet: EUC\n",
                                   "Content-Type: text/plain; charset=shift_jis\n",
                                   "Content-Type: text/plain; charset=ISO-8859-1\nX-WEX-CharSet: nonsense\n"};
    const QByteArray dates[] = {"Date: Mon, 5 Dec 2026 08:25:02 +0900", "Date: 5 dec 26 08:25 PST", "Date: not a date", ""};
    for (int i = 0; i < 3000; ++i) {
        const QByteArray ext = pick(extensions);
        const QByteArray name = ext != "txt" ? QByteArray::number(i) + '.' + ext
                                             : (i % 2 ? "upload" : "error-mail-original") + QByteArray::number(i) + ".txt";
        QByteArray text = pick(froms) + "\nSubject: mail " + QByteArray::number(i) + (gen.bounded(3) ? "" : " \xe3\x81\x82")
            + "\n" + pick(dates) + "\n" + (gen.bounded(8) ? "\n" : "") + QByteArray(int(gen.bounded(2000)), 'b') + "\n"
            + pick(charsets);
        if (gen.bounded(10) == 0)
            text.replace("\n", "\r\n");
        mail(name, text);
        generated.emplace_back(name, text);
    }
    for (int i = 0; i < 30; ++i) {
        mail("a" + QByteArray::number(i) + ".mpart/a" + QByteArray::number(i) + (i % 3 ? ".mail" : ""),
             "From: parts\nSubject: with parts\n\n");
        mail("a" + QByteArray::number(i) + ".mpart/part.pdf", "%PDF");
    }
    for (int i = 0; i < 10; ++i)
        mail("sender" + QByteArray::number(i) + "|subject.ygm/part.bin", "no main text");
    expectAllScansAgree(10);

    // Mails rewritten in place (size and mtime kept) over every thread's share are each read again.
    const size_t cached = last.fromCache;
    settleClock();
    size_t changed = 0;
    for (size_t i = 5; i < generated.size(); i += 97, ++changed)
        rewriteKeepingTimes(generated[i].first, QByteArray(generated[i].second).replace("Subject: mail", "Subject: MAIL"));
    for (const unsigned threads : {4u, 2u}) {
        EXPECT_EQ(Dump(run(options(threads))), Dump(scanner.loadTitleArray(folder)));
        EXPECT_EQ(last.fromCache, threads == 4u ? cached - changed : cached);
    }
}

