// The unread list over a real alias folder of symbolic links.
#include "AliasStore.h"
#include "ScanFixture.h"
#include "UnreadTitles.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace wex;
using namespace wex::test;

namespace {

class UnreadTitlesTest : public ::testing::Test {
protected:
    UnreadTitlesTest() : coding(ScanCodingList()), scanner(coding) {}

    AliasStore store;
    Coding coding;
    TitleScanner scanner;
};

TEST_F(UnreadTitlesTest, EveryResolvableAliasInNameOrder)
{
    store.unreadAlias("c", store.mail("InBox/1.ygm", 1));
    store.unreadAlias("a", store.mail("Lists/x/2.ygm", 2));
    store.unreadAlias("B", "../../Work/3.html"); // relative, as the suite writes them
    store.mail("Work/3.html", 3);
    // An alias of an alias is followed to its end, whatever its name.
    store.unreadAlias("d", store.link("temp/other/4.ygm", store.link("temp/other/x", store.mail("Work/4.ygm", 4))));
    // An attachment folder lists through its main text.
    store.mail("InBox/5.mpart/5.ygm", 5);
    store.unreadAlias("e", store.dir.at("InBox/5.mpart"));
    // Passed over: hidden names, dead aliases, what is no mail, hidden targets.
    store.unreadAlias(".f", store.dir.at("InBox/1.ygm"));
    store.unreadAlias("g", store.dir.at("InBox/gone.ygm"));
    store.unreadAlias("h", store.dir.write("InBox/notes.txt", "x"));
    store.unreadAlias("i", store.dir.mkdir("InBox/plain"));
    store.unreadAlias("j", store.mail("InBox/.hidden.ygm", 6));
    store.unreadAlias("k", "k"); // a link to itself
    ::mkfifo(store.dir.at("InBox/7.ygm").constData(), 0600);
    store.unreadAlias("l", store.dir.at("InBox/7.ygm"));

    const std::optional<TitleArray> titles = loadUnreadTitleArray(scanner, store.root());
    ASSERT_TRUE(titles);
    EXPECT_EQ(Subjects(*titles), "s3 s2 s1 s4 s5");
    EXPECT_EQ((*titles)[0].path(), store.dir.at("Work/3.html"));
    EXPECT_EQ((*titles)[0].state(), "UH");
    EXPECT_EQ((*titles)[3].path(), store.dir.at("Work/4.ygm"));
    EXPECT_EQ((*titles)[4].path(), store.dir.at("InBox/5.mpart/5.ygm"));
    EXPECT_EQ((*titles)[4].state(), "AU");
}

TEST_F(UnreadTitlesTest, AFolderThatCannotBeListedGivesNoList)
{
    errno = 0;
    EXPECT_FALSE(loadUnreadTitleArray(scanner, store.root()));
    EXPECT_EQ(errno, ENOENT);
    store.dir.write("temp/unreadAliases", "a file");
    EXPECT_FALSE(loadUnreadTitleArray(scanner, store.root()));
    EXPECT_FALSE(loadUnreadTitleArray(scanner, QByteArray()));
}

} // namespace
