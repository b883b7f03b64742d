#include "MoveFolders.h"

#include <gtest/gtest.h>

namespace wex {
namespace {

TEST(MoveFoldersTest, OnlyFoldersStrictlyInsideTheRootAreKeptRelative)
{
    const QString root = QStringLiteral("/Root");
    EXPECT_EQ(MoveFolderStoredForm(QStringLiteral("/Root/InBox/Work"), root), QStringLiteral("InBox/Work"));
    EXPECT_EQ(MoveFolderStoredForm(QStringLiteral("/Root/"), root), QStringLiteral("/Root/"));
    EXPECT_EQ(MoveFolderStoredForm(QStringLiteral("/RootArchive/Old"), root), QStringLiteral("/RootArchive/Old"));
    // An unknown root makes nothing relative (every path would begin with "/").
    EXPECT_EQ(MoveFolderStoredForm(QStringLiteral("/Root/InBox"), QString()), QStringLiteral("/Root/InBox"));
}

TEST(MoveFoldersTest, RelativeEntriesResolveUnderTheRootAndNeverAgainstTheWorkingFolder)
{
    EXPECT_EQ(ResolveMoveFolder(QStringLiteral("InBox/Work"), QStringLiteral("/New")), QStringLiteral("/New/InBox/Work"));
    EXPECT_EQ(ResolveMoveFolder(QStringLiteral("/tmp/x"), QStringLiteral("/New")), QStringLiteral("/tmp/x"));
    EXPECT_EQ(ResolveMoveFolder(QStringLiteral("InBox"), QString()), QString());
    EXPECT_EQ(MoveFolderTitle(QStringLiteral("InBox/Work")), QStringLiteral("Work"));
    EXPECT_EQ(MoveFolderTitle(QStringLiteral("/")), QStringLiteral("/"));
}

} // namespace
} // namespace wex
