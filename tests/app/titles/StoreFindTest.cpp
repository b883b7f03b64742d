// Find in Store on the title list alone, over a real store.
#include "AppTestSupport.h"
#include "ReadingFixture.h"
#include "StoreFind.h"

#include <QSignalSpy>
#include <QStatusBar>

namespace wex::test {

TEST(StoreFind, ListsTheMatchesOfTheWholeStoreAndTellsABadQuery)
{
    ReadingFixture f;
    WriteMail(f.dir, "InBox/1.mail", QStringLiteral("Alice"), QStringLiteral("wex news"), 1);
    WriteMail(f.dir, "Work/deep/2.ygm", QStringLiteral("Bob"), QStringLiteral("WEX release"), 2);
    WriteMail(f.dir, "Work/3.mail", QStringLiteral("Carol"), QStringLiteral("other"), 3);
    StoreFind find(f.titles, f.titleWindow, f.store);
    QSignalSpy found(&find, &StoreFind::found);

    find.find(QStringLiteral("colour:red"));
    EXPECT_FALSE(find.isRunning());
    EXPECT_TRUE(f.titleWindow.statusBar()->currentMessage().contains(QLatin1String("colour")));

    find.find(QStringLiteral("ｗｅｘ"));
    ASSERT_TRUE(WaitUntil([&] { return found.count() == 1; }));
    EXPECT_EQ(Subjects(f.titles), (QStringList{QStringLiteral("wex news"), QStringLiteral("WEX release")}));
    EXPECT_TRUE(f.titleWindow.windowTitle().endsWith(QStringLiteral("ｗｅｘ")));
    EXPECT_TRUE(Exists(f.dir.at("Work/deep/2.ygm"))) << "listed, not read";

}

} // namespace wex::test
