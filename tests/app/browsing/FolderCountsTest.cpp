// Unread counts beside folder names: counted on a worker, following changes
// made outside the program (the watch) and inside it.
#include "AppFixture.h"
#include "FSBrowser.h"
#include "FolderModel.h"

#include <QFont>

namespace wex::test {

namespace {

QString Shown(const FolderModel &model, const QByteArray &path) { return model.indexOfPath(path).data().toString(); }

} // namespace

TEST(FolderCounts, CountsFollowTheFoldersFiles)
{
    TestDir dir;
    WriteMail(dir, "InBox/1.ygm", QStringLiteral("a"), QStringLiteral("one"), 1);
    WriteMail(dir, "InBox/2.mail", QStringLiteral("b"), QStringLiteral("two"), 2);
    WriteMail(dir, "InBox/3.mpart/3.ygm", QStringLiteral("c"), QStringLiteral("three"), 3);
    WriteMail(dir, "Draft/4.mail", QStringLiteral("d"), QStringLiteral("four"), 4);
    dir.mkdir("Empty");
    FolderModel model(dir.path());
    model.folderCounts().setGatherInterval(0);
    model.listFolder(QModelIndex());
    ASSERT_TRUE(WaitUntil([&] { return Shown(model, dir.at("InBox")) == QLatin1String("InBox (2)"); }));
    EXPECT_TRUE(model.indexOfPath(dir.at("InBox")).data(Qt::FontRole).value<QFont>().bold());
    EXPECT_EQ(Shown(model, dir.at("Draft")), QStringLiteral("Draft (0)"));
    EXPECT_FALSE(model.indexOfPath(dir.at("Draft")).data(Qt::FontRole).value<QFont>().bold());
    EXPECT_EQ(Shown(model, dir.at("Empty")), QStringLiteral("Empty")) << "no mails, no count";

    WriteMail(dir, "InBox/5.ygm", QStringLiteral("e"), QStringLiteral("five"), 5); // by another program
    EXPECT_TRUE(WaitUntil([&] { return Shown(model, dir.at("InBox")) == QLatin1String("InBox (3)"); }));
    ASSERT_EQ(::rename(dir.at("Draft/4.mail").constData(), dir.at("Draft/4.ygm").constData()), 0);
    EXPECT_TRUE(WaitUntil([&] { return Shown(model, dir.at("Draft")) == QLatin1String("Draft (1)"); }));
}

using FolderCountsAppTest = AppFixture;

// Reading a mail inside an attachment folder renames a file the watch does
// not see: the program tells the counts itself.
TEST_F(FolderCountsAppTest, ReadingAnAttachmentMailLowersItsFoldersCount)
{
    WriteMail(store, "InBox/4.mpart/4.ygm", QStringLiteral("d"), QStringLiteral("fourth"), 8);
    start();
    const FolderModel &model = *app->fsBrowser().folderModel();
    const QByteArray inBox = store.at("InBox");
    ASSERT_TRUE(WaitUntil([&] { return Shown(model, inBox) == QLatin1String("InBox (2)"); })) << Shown(model, inBox).toStdString();
    // Start-up's own read of a mail is counted before this one starts.
    ASSERT_TRUE(WaitUntil([&] { return !model.folderCounts().isCounting(); }));
    titles().selectAndShow(int(subjects().indexOf(QStringLiteral("fourth"))));
    ASSERT_TRUE(QFileInfo::exists(store.at("InBox/4.mpart/4.mail")));
    EXPECT_TRUE(WaitUntil([&] { return Shown(model, inBox) == QLatin1String("InBox (1)"); })) << Shown(model, inBox).toStdString();
}

} // namespace wex::test
