#include "TypeCreator.h"

#include "TestStore.h"

#include <cerrno>
#include <gtest/gtest.h>

using namespace wex;

TEST(TypeCreator, SetsBothCodesOrIgnoresAFileSystemWithout)
{
    test::TestDir dir;
    const QByteArray file = dir.write("mail.read", "body");
    ASSERT_EQ(SFCoSetTypeCreator(file, "TEXT", "wex1"), 0);
    const QByteArray type = ReadTypeCode(file);
    if (type.isEmpty())
        GTEST_SKIP() << "no user extended attributes on " << dir.path().constData();
    EXPECT_EQ(type, QByteArray("TEXT"));
    EXPECT_EQ(ReadCreatorCode(file), QByteArray("wex1"));
    EXPECT_EQ(test::ReadAll(file), QByteArray("body")); // contents untouched

    ASSERT_EQ(SFCoSetTypeCreator(file, "ABCD", "efgh"), 0);
    EXPECT_EQ(ReadTypeCode(file), QByteArray("ABCD"));
    EXPECT_EQ(ReadCreatorCode(file), QByteArray("efgh"));
}

TEST(TypeCreator, MissingFileIsAnError)
{
    test::TestDir dir;
    EXPECT_EQ(SFCoSetTypeCreator(dir.at("none"), "TEXT", "wex1"), ENOENT);
    EXPECT_TRUE(ReadTypeCode(dir.at("none")).isEmpty());
    EXPECT_EQ(SFCoSetTypeCreator(QByteArray(), "TEXT", "wex1"), EINVAL);
}
