#include "StoreLocations.h"

#include "TestStore.h"

#include <gtest/gtest.h>
#include <unistd.h>

using namespace wex;

namespace {

// Every test starts from forgotten paths and leaves them forgotten.
class StoreLocations : public ::testing::Test {
protected:
    void SetUp() override { ResetWEXPaths(); }
    void TearDown() override { ResetWEXPaths(); }
    test::TempHome home;
};

} // namespace

TEST_F(StoreLocations, PlainSettingsFolderWinsAndTheLocalizedOneIsTheFallback)
{
    home.dir().mkdir("Library/Preferences/WEX_Preferences.localized");
    ASSERT_EQ(SetWEXSettingPath(), 0);
    EXPECT_TRUE(wexSettingPath().endsWith("WEX_Preferences.localized/"));

    ResetWEXPaths();
    home.dir().write("Library/Preferences/WEX_Preferences", ""); // a file of that name counts as well
    ASSERT_EQ(SetWEXSettingPath(), 0);
    EXPECT_EQ(wexSettingPath(), home.home() + "/Library/Preferences/WEX_Preferences/");
}

TEST_F(StoreLocations, NoSettingsFolderOrNoHomeFailsEveryTime)
{
    EXPECT_EQ(SetWEXSettingPath(), -1);
    EXPECT_EQ(SetWEXSettingPath(), -1);
    EXPECT_TRUE(wexSettingPath().isEmpty());
    EXPECT_EQ(SetWEXPath(), -1);
    EXPECT_TRUE(wexRootPath().isEmpty());
    home.dir().mkdir("Library/Preferences/WEX_Preferences");
    for (const char *value : {static_cast<const char *>(nullptr), ""}) {
        value ? qputenv("HOME", value) : qunsetenv("HOME");
        EXPECT_EQ(SetWEXSettingPath(), -1);
        EXPECT_EQ(SetWEXPath(), -1);
    }
    // A folder made later is found by the next call.
    qputenv("HOME", home.home());
    EXPECT_EQ(SetWEXSettingPath(), 0);
}

TEST_F(StoreLocations, RootThroughLinksOrAsAnOrdinaryFolder)
{
    const QByteArray root = home.dir().mkdir("Mail");
    home.makeSettings(root);
    ASSERT_EQ(SetWEXPath(), 0);
    EXPECT_EQ(wexRootPath(), root);
    EXPECT_EQ(wexRootPathString(), QString::fromUtf8(root));

    test::TempHome third;
    ResetWEXPaths();
    const QByteArray plain = third.dir().mkdir("Library/Preferences/WEX_Preferences/WEX_Root");
    ASSERT_EQ(SetWEXPath(), 0);
    EXPECT_EQ(wexRootPath(), plain);
}

TEST_F(StoreLocations, BrokenOrMissingRootStillSucceedsWithAnEmptyRoot)
{
    home.dir().mkdir("Library/Preferences/WEX_Preferences");
    EXPECT_EQ(SetWEXPath(), 0);
    EXPECT_TRUE(wexRootPath().isEmpty());

    ResetWEXPaths();
    home.makeSettings(home.dir().at("missing"));
    EXPECT_EQ(SetWEXPath(), 0);
    EXPECT_TRUE(wexRootPath().isEmpty());
    EXPECT_TRUE(wexRootPathString().isEmpty());
    EXPECT_FALSE(wexSettingPath().isEmpty());
}

TEST_F(StoreLocations, LongHomePathsAreNoProblem)
{
    QByteArray deep = "x";
    for (int i = 0; i < 12; ++i)
        deep += "/" + QByteArray(100, char('a' + i));
    const QByteArray root = home.dir().mkdir(deep + "/Mail");
    const QByteArray newHome = home.dir().at(deep);
    qputenv("HOME", newHome);
    QByteArray settings = newHome + "/Library/Preferences/WEX_Preferences";
    home.dir().mkdir(deep + "/Library/Preferences/WEX_Preferences");
    ASSERT_EQ(symlink(root.constData(), (settings + "/WEX_Root").constData()), 0);
    ASSERT_EQ(SetWEXPath(), 0);
    EXPECT_GT(wexRootPath().size(), 1024);
    EXPECT_EQ(wexRootPath(), root);
}
