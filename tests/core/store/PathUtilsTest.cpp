#include "PathUtils.h"

#include "TestStore.h"

#include <gtest/gtest.h>
#include <unistd.h>

using namespace wex;

TEST(PathUtils, HeadStrCLTable)
{
    struct Case { const char *head, *text; int expected; } cases[] = {
        {"from:", "From: someone", 1},
        {"", "anything", 1},
        {"from:", "from", 0},       // text ends exactly one short
        {"\xc4", "\xe4", 0},         // only ASCII letters fold
        {"[", "{", 0},              // not letters: '[' | 0x20 == '{'
    };
    for (const auto &c : cases)
        EXPECT_EQ(HeadStrCL(c.head, c.text), c.expected) << c.head << " / " << c.text;
    EXPECT_EQ(HeadStrCL(nullptr, "x"), 1);
    EXPECT_EQ(HeadStrCL("x", nullptr), 0);
}

TEST(PathUtils, IsPathDirectoryFollowsLinksAndPathsRoundTrip)
{
    test::TestDir dir;
    const QByteArray folder = dir.mkdir("folder");
    const QByteArray file = dir.write("file", "x");
    ASSERT_EQ(symlink(folder.constData(), dir.at("toFolder").constData()), 0);
    ASSERT_EQ(symlink(file.constData(), dir.at("toFile").constData()), 0);
    ASSERT_EQ(symlink("missing", dir.at("broken").constData()), 0);
    EXPECT_TRUE(IsPathDirectory(folder));
    EXPECT_TRUE(IsPathDirectory(dir.at("toFolder")));
    EXPECT_FALSE(IsPathDirectory(file));
    EXPECT_FALSE(IsPathDirectory(dir.at("toFile")));
    EXPECT_FALSE(IsPathDirectory(dir.at("broken")));
    EXPECT_FALSE(IsPathDirectory(dir.at("nothing")));
    EXPECT_FALSE(IsPathDirectory(QByteArray()));

    const QByteArray path = "/tmp/Gr\xc3\xbc\xc3\x9f" "e/\xe6\x97\xa5\xe6\x9c\xac";
    EXPECT_EQ(String2Path(Path2String(path)), path);
    EXPECT_EQ(Path2String(QByteArrayView(path.constData(), 4)), QStringLiteral("/tmp"));
}
