#include "FileTree.h"

#include "TestStore.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace wex;
using namespace wex::filetree;
using test::Exists;
using test::ReadAll;

// Every way RenameNoReplace can work: with RENAME_NOREPLACE, by link and
// unlink, by a rename checked just before. None may replace anything.
TEST(RenameNoReplace, NeverReplacesWhateverTheFileSystemOffers)
{
    const RenameFeatures ways[] = {{true, true}, {false, true}, {false, false}};
    for (const RenameFeatures &way : ways) {
        SCOPED_TRACE(testing::Message() << "flag " << way.noReplaceFlag << " links " << way.hardLinks);
        test::TestDir dir;
        const QByteArray file = dir.write("file", "source");
        const QByteArray folder = dir.mkdir("folder");
        dir.write("folder/inside", "inside");
        const QByteArray taken = dir.write("taken", "keep");
        const QByteArray empty = dir.mkdir("empty"); // what rename(2) would replace
        for (const auto &[from, to, isFolder] : {std::tuple{file, taken, false}, {folder, empty, true},
                                                 {file, empty, false}, {folder, taken, true}}) {
            EXPECT_EQ(RenameNoReplace(from, to, isFolder, way), EEXIST) << from.constData() << " -> " << to.constData();
        }
        EXPECT_EQ(ReadAll(taken), "keep");
        EXPECT_TRUE(Exists(empty));
        EXPECT_FALSE(Exists(empty + "/inside"));

        EXPECT_EQ(RenameNoReplace(file, dir.at("new"), false, way), 0);
        EXPECT_EQ(RenameNoReplace(folder, dir.at("newFolder"), true, way), 0);
        EXPECT_FALSE(Exists(file));
        EXPECT_FALSE(Exists(folder));
        EXPECT_EQ(ReadAll(dir.at("new")), "source");
        EXPECT_EQ(ReadAll(dir.at("newFolder/inside")), "inside");
    }
}
