#include "FSNodeInfo.h"
#include "CoreTest.h"

static QStringList Names(const std::vector<FSNodeInfo> &nodes)
{
    QStringList names;
    for (const FSNodeInfo &n : nodes)
        names << QString::fromUtf8(n.lastPathComponent());
    return names;
}

// The sort tag is class-wide: each test starts and ends with "name".
class FSNodeInfoTest : public ::testing::Test {
protected:
    void SetUp() override { FSNodeInfo::setSortFolderTag(QStringLiteral("name")); }
    void TearDown() override { FSNodeInfo::setSortFolderTag(QStringLiteral("name")); }
    test::TestDir dir;
};

TEST_F(FSNodeInfoTest, ModDateOrderNewestFirstOnlyUnderModDate)
{
    const qint64 now = 1700000000;
    struct Entry { const char *name; qint64 mtime; } entries[] = {
        {"old", now - 365 * 86400}, {"today", now}, {"mid", now - 30 * 86400}, {"same1", now - 86400},
        {"same0", now - 86400},
    };
    for (const auto &e : entries)
        test::SetMTime(dir.mkdir(e.name), e.mtime);
    // A link's date is its target's.
    const QByteArray target = dir.mkdir("hidden/.target");
    test::SetMTime(target, now + 10);
    ASSERT_EQ(symlink(target.constData(), dir.at("link").constData()), 0);
    test::SetMTime(dir.at("hidden"), now - 400 * 86400);

    const FSNodeInfo node = FSNodeInfo::nodeWithParent(nullptr, dir.path());
    FSNodeInfo::setSortFolderTag("modDate");
    // Equal dates keep name order.
    EXPECT_EQ(Names(node.visibleSubNodes()), (QStringList{"link", "today", "same0", "same1", "mid", "old", "hidden"}));
    for (const char *other : {"ModDate", "date", "", "name"}) {
        FSNodeInfo::setSortFolderTag(QString::fromLatin1(other));
        EXPECT_EQ(Names(node.visibleSubNodes()).first(), QStringLiteral("hidden")) << other;
    }
}
