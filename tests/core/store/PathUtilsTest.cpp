#include "PathUtils.h"

#include "TestStore.h"

#include <gtest/gtest.h>
#include <unistd.h>

using namespace wex;

TEST(PathUtils, HeadStrCLFoldsOnlyAsciiLetters)
{
    struct Case { const char *head, *text; int expected; } cases[] = {
        {"from:", "From: someone", 1}, {"", "anything", 1}, {"from:", "from", 0}, // one short
        {"\xc4", "\xe4", 0}, {"[", "{", 0}, // '[' | 0x20 == '{'
    };
    for (const auto &c : cases)
        EXPECT_EQ(HeadStrCL(c.head, c.text), c.expected) << c.head << " / " << c.text;
    EXPECT_EQ(HeadStrCL(nullptr, "x"), 1);
    EXPECT_EQ(HeadStrCL("x", nullptr), 0);
}

TEST(PathUtils, IsPathDirectoryFollowsLinks)
{
    test::TestDir dir;
    ASSERT_EQ(symlink(dir.mkdir("folder").constData(), dir.at("toFolder").constData()), 0);
    ASSERT_EQ(symlink(dir.write("file", "x").constData(), dir.at("toFile").constData()), 0);
    ASSERT_EQ(symlink("missing", dir.at("broken").constData()), 0);
    for (const char *name : {"folder", "toFolder", "file", "toFile", "broken", "nothing"})
        EXPECT_EQ(IsPathDirectory(dir.at(name)), QByteArray(name).contains("older")) << name;
    EXPECT_FALSE(IsPathDirectory(QByteArray()));
}
