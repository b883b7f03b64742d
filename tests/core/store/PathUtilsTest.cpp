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

TEST(PathUtils, GetPathBaseTable)
{
    struct Case { const char *path, *base; } cases[] = {
        {"/a/b/c.mail", "c.mail"}, {"c.mail", "c.mail"}, {"/a/b/", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(GetPathBase(c.path), QByteArray(c.base)) << c.path;
}

TEST(PathUtils, RemoveLastNLRemovesOneNewlineOnly)
{
    struct Case { const char *in, *out; } cases[] = {
        {"abc", "abc"}, {"abc\n", "abc"}, {"abc\r\n", "abc\r"},
    };
    for (const auto &c : cases) {
        char buf[16];
        strcpy(buf, c.in);
        RemoveLastNL(buf);
        EXPECT_STREQ(buf, c.out);
        QByteArray bytes(c.in);
        RemoveLastNL(bytes);
        EXPECT_EQ(bytes, QByteArray(c.out));
    }
    RemoveLastNL(static_cast<char *>(nullptr)); // no crash
}

TEST(PathUtils, MinorSystemVersionTable)
{
    struct Case { const char *text; int minor; } cases[] = {
        {"Version 10.4.11 (Build 8S2167)", 4},
        {"Version 11", -1},
        {"Version 10.99999999999", -1}, // no overflow into a bogus number
    };
    for (const auto &c : cases)
        EXPECT_EQ(MinorSystemVersionOf(QString::fromLatin1(c.text)), c.minor) << c.text;
    EXPECT_GT(MinorSystemVersion(), 3);
    EXPECT_TRUE(OperatingSystemVersionString().startsWith("Version "));
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
