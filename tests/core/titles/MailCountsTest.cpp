// Counting a folder's mails by the names of its entries: the same figures as
// its listing, without writing anything.
#include "MailCounts.h"
#include "ScanFixture.h"

#include <QDir>
#include <sys/stat.h>
#include <unistd.h>

using namespace wex;
using namespace wex::test;

using MailCountsTest = ScanFixture;

TEST_F(MailCountsTest, CountsFromNamesAreTheListingsAndWriteNothing)
{
    for (const char *name : {"1.ygm", "2.mail", "3.rply", "4.html", "5.iygm", ".6.ygm", "notes.txt", "upload1.txt",
                             "error-mail-original5.txt", "error-mail-original6.rtxt", "a.mpart/a.ygm", "b.mpart/b.mail",
                             "c.mpart/c", "d.mpart/d.ygm.html", "e.ygm/e.mail", "sub/7.ygm"})
        dir.write(name, "From: x\n\nbody\n");
    dir.mkdir("empty.mpart"); // no main text: listed as an unread dummy
    ASSERT_EQ(::symlink(dir.at("2.mail").constData(), dir.at("8.ygm").constData()), 0);
    ASSERT_EQ(::mkfifo(dir.at("9.ygm").constData(), 0600), 0);

    const std::optional<MailCounts> counts = CountMails(dir.path());
    ASSERT_TRUE(counts);
    EXPECT_TRUE(QDir(QString::fromUtf8(dir.at("empty.mpart"))).isEmpty()) << "counting wrote a dummy";
    const TitleArray titles = scan();
    const auto unread = std::count_if(titles.begin(), titles.end(), [](const Title &t) { return t.unreadState(); });
    EXPECT_EQ(*counts, (MailCounts{unread, qint64(titles.size())})) << Names(titles).constData();
    EXPECT_EQ(*counts, (MailCounts{9, 15}));

    EXPECT_FALSE(CountMails(dir.at("missing")));
}
