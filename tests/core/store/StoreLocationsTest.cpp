#include "StoreLocations.h"
#include "CoreTest.h"

// Every test starts from forgotten paths and leaves them forgotten.
class StoreLocations : public ::testing::Test {
protected:
    void SetUp() override { ResetWEXPaths(); }
    void TearDown() override { ResetWEXPaths(); }
    test::TempHome home;
};

TEST_F(StoreLocations, SettingsFolderPlainFirstThenLocalized)
{
    EXPECT_EQ(SetWEXSettingPath(), -1);
    EXPECT_EQ(SetWEXPath(), -1);
    EXPECT_TRUE(wexRootPath().isEmpty());
    home.dir().mkdir("Library/Preferences/WEX_Preferences.localized");
    ASSERT_EQ(SetWEXSettingPath(), 0); // a folder made later is found by the next call
    EXPECT_TRUE(wexSettingPath().endsWith("WEX_Preferences.localized/"));
    ResetWEXPaths();
    home.dir().write("Library/Preferences/WEX_Preferences", ""); // a file of that name counts as well
    ASSERT_EQ(SetWEXSettingPath(), 0);
    EXPECT_EQ(wexSettingPath(), home.home() + "/Library/Preferences/WEX_Preferences/");
    for (const char *value : {static_cast<const char *>(nullptr), ""}) {
        ResetWEXPaths();
        value ? qputenv("HOME", value) : qunsetenv("HOME");
        EXPECT_EQ(SetWEXSettingPath(), -1);
        EXPECT_EQ(SetWEXPath(), -1);
    }
}

TEST_F(StoreLocations, RootThroughALinkAFolderOrNothing)
{
    // Beyond any fixed path buffer.
    QByteArray deep = "x";
    for (int i = 0; i < 12; ++i)
        deep += "/" + QByteArray(100, char('a' + i));
    const QByteArray root = home.dir().mkdir(deep + "/Mail");
    home.makeSettings(root);
    ASSERT_EQ(SetWEXPath(), 0);
    EXPECT_EQ(wexRootPath(), root);
    EXPECT_EQ(wexRootPathString(), QString::fromUtf8(root));

    ResetWEXPaths();
    ASSERT_EQ(::unlink(home.dir().at("Library/Preferences/WEX_Preferences/WEX_Root").constData()), 0);
    home.makeSettings(home.dir().at("missing")); // a broken link still succeeds, with no root
    EXPECT_EQ(SetWEXPath(), 0);
    EXPECT_TRUE(wexRootPath().isEmpty());
    EXPECT_FALSE(wexSettingPath().isEmpty());

    test::TempHome third;
    ResetWEXPaths();
    const QByteArray plain = third.dir().mkdir("Library/Preferences/WEX_Preferences/WEX_Root");
    ASSERT_EQ(SetWEXPath(), 0);
    EXPECT_EQ(wexRootPath(), plain);
}
