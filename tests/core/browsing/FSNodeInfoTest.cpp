#include "FSNodeInfo.h"

#include "TestStore.h"

#include <QStringList>
#include <algorithm>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace wex;

namespace {

QStringList Names(const std::vector<FSNodeInfo> &nodes)
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

} // namespace

TEST_F(FSNodeInfoTest, LastPathComponentAndVisibility)
{
    struct Case { const char *path, *last; bool visible; } cases[] = {
        {"/", "/", true},        {"/tmp/", "tmp", true},  {"/a/b.c", "b.c", true},
        {"x///", "x", true},     {".hidden", ".hidden", false}, {"/a/.b", ".b", false},
        {"", "", false},         {"a.b", "a.b", true},
    };
    for (const auto &c : cases) {
        const FSNodeInfo n = FSNodeInfo::nodeWithParent(nullptr, c.path);
        EXPECT_EQ(n.lastPathComponent(), c.last) << c.path;
        EXPECT_EQ(n.isVisible(), c.visible) << c.path;
    }
}

TEST_F(FSNodeInfoTest, ListsFoldersAndLinkedFoldersOnlyInByteOrder)
{
    for (const char *name : {"b", "a.b", "Z", ".hidden", "\xc3\xa9t\xc3\xa9", "a"})
        dir.mkdir(name);
    dir.write("plain.mail", "x");
    const QByteArray outside = dir.mkdir("elsewhere/target");
    ASSERT_EQ(symlink(outside.constData(), dir.at("linked").constData()), 0);
    ASSERT_EQ(symlink("nowhere", dir.at("broken").constData()), 0);
    ASSERT_EQ(symlink("plain.mail", dir.at("toFile").constData()), 0);

    const FSNodeInfo node = FSNodeInfo::nodeWithParent(nullptr, dir.path());
    const QStringList all = Names(node.subNodes());
    EXPECT_EQ(all, (QStringList{".hidden", "Z", "a", "a.b", "b", "elsewhere", "linked", QString::fromUtf8("\xc3\xa9t\xc3\xa9")}));
    const QStringList visible = Names(node.visibleSubNodes());
    EXPECT_EQ(visible, (QStringList{"Z", "a", "a.b", "b", "elsewhere", "linked", QString::fromUtf8("\xc3\xa9t\xc3\xa9")}));
    for (const FSNodeInfo &n : node.subNodes())
        EXPECT_TRUE(n.modDate().has_value());
    // The same contents give the same rows at every call.
    EXPECT_EQ(Names(node.visibleSubNodes()), visible);

    // A name that is not UTF-8 keeps its bytes, so its path opens.
    const QByteArray latin1 = dir.at("z\xe9");
    ASSERT_EQ(::mkdir(latin1.constData(), 0700), 0);
    const std::vector<FSNodeInfo> nodes = node.visibleSubNodes();
    const auto found = std::find_if(nodes.begin(), nodes.end(),
                                    [](const FSNodeInfo &n) { return n.lastPathComponent() == "z\xe9"; });
    ASSERT_NE(found, nodes.end());
    EXPECT_EQ(found->absolutePath(), latin1);
    EXPECT_TRUE(found->modDate().has_value());
}

TEST_F(FSNodeInfoTest, EmptyAndMissingFolders)
{
    const FSNodeInfo empty = FSNodeInfo::nodeWithParent(nullptr, dir.mkdir("empty"));
    EXPECT_TRUE(empty.subNodes().empty());
    FSNodeInfo::setSortFolderTag("modDate");
    EXPECT_TRUE(empty.visibleSubNodes().empty());
    const FSNodeInfo missing = FSNodeInfo::nodeWithParent(nullptr, dir.path() + "/missing");
    EXPECT_TRUE(missing.subNodes().empty());
    EXPECT_FALSE(missing.modDate().has_value());
    const FSNodeInfo file = FSNodeInfo::nodeWithParent(nullptr, dir.write("f", "x"));
    EXPECT_TRUE(file.subNodes().empty());
}

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
    EXPECT_EQ(FSNodeInfo::sortFolderTag(), QStringLiteral("name"));
    EXPECT_EQ(Names(node.visibleSubNodes()), (QStringList{"hidden", "link", "mid", "old", "same0", "same1", "today"}));

    FSNodeInfo::setSortFolderTag("modDate");
    EXPECT_EQ(FSNodeInfo::sortFolderTag(), QStringLiteral("modDate"));
    // Equal dates keep name order.
    EXPECT_EQ(Names(node.visibleSubNodes()), (QStringList{"link", "today", "same0", "same1", "mid", "old", "hidden"}));

    for (const char *other : {"ModDate", "date", "", "name"}) {
        FSNodeInfo::setSortFolderTag(QString::fromLatin1(other));
        EXPECT_EQ(Names(node.visibleSubNodes()).first(), QStringLiteral("hidden")) << other;
    }
}

