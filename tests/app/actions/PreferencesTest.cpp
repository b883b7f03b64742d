// The download preferences: what start-up makes of the stored values, the
// repeat timer, the three controls and the window's closing.
#include "AppFixture.h"
#include "MenuController.h"
#include "ModalDriver.h"
#include "Preferences.h"
#include "PreferencesWindow.h"
#include "RepeatTimer.h"

#include <QAction>
#include <QCheckBox>
#include <QJsonValue>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>

namespace wex::test {
namespace {

using std::chrono::milliseconds;
using std::chrono::minutes;

const QString kInterval = QStringLiteral("Download Interval in Minutes");

// Preferences on their own, over a scratch defaults store and a window that
// is never shown.
class PreferencesUnitTest : public ::testing::Test {
protected:
    PreferencesUnitTest() : defaults(dir.pathString() + QStringLiteral("/defaults.json"))
    {
        prefs.setPreferenceWindow(&window);
    }
    void type(const QString &text)
    {
        window.downloadIntervalField()->setText(text);
        prefs.intervalChanged();
    }

    TestDir dir;
    DefaultsStore defaults;
    PreferencesWindow window;
    Preferences prefs{defaults};
};

TEST_F(PreferencesUnitTest, StoredIntervalsOutOfRangeCountAsTheDefaultOrTheLargestAndStayStored)
{
    const struct {
        QJsonValue stored;
        int inForce;
    } cases[] = {
        {QJsonValue(), 10}, {0, 10}, {-3, 10}, {2.5, 10}, {QStringLiteral("12"), 10}, {7, 7},
        {Preferences::kMaxInterval, Preferences::kMaxInterval},
        {qint64(Preferences::kMaxInterval) + 1, Preferences::kMaxInterval},
        {qint64(1) << 40, Preferences::kMaxInterval},
    };
    for (const auto &c : cases) {
        DefaultsStore store(dir.pathString() + QStringLiteral("/case.json"));
        store.remove(kInterval);
        if (c.stored.isDouble())
            store.setDouble(kInterval, c.stored.toDouble());
        else if (c.stored.isString())
            store.setString(kInterval, c.stored.toString());
        store.setBool(QStringLiteral("Repeat Download"), true);
        Preferences p(store);
        p.loadPrefAndStartUpDownload();
        EXPECT_EQ(p.downloadInterval(), c.inForce) << c.stored.toVariant().toString().toStdString();
        // The period in force, with no 32-bit overflow on the way.
        EXPECT_EQ(p.downloadTimer().period(), minutes(qint64(c.inForce)));
        EXPECT_EQ(store.contains(kInterval), !c.stored.isNull()) << "nothing written back";
    }
}

TEST_F(PreferencesUnitTest, TheFieldCorrectsWhatIsTypedAndShowsTheIntervalInForce)
{
    prefs.loadPrefAndStartUpDownload();
    const struct {
        const char *typed;
        int inForce;
    } cases[] = {
        {"25", 25}, {" 3 minutes", 3}, {"0", 1}, {"-4", 1}, {"letters", 1},
        {"99999999999999999999", Preferences::kMaxInterval}, {"+8", 8},
    };
    for (const auto &c : cases) {
        type(QString::fromLatin1(c.typed));
        EXPECT_EQ(prefs.downloadInterval(), c.inForce) << c.typed;
        EXPECT_EQ(defaults.integerForKey(kInterval), c.inForce) << c.typed;
        EXPECT_EQ(window.downloadIntervalField()->text(), QString::number(c.inForce)) << c.typed;
    }
}

TEST_F(PreferencesUnitTest, TheRepeatTimerRestartsOnlyWhenTheIntervalChangesAndStopsWhenSwitchedOff)
{
    prefs.loadPrefAndStartUpDownload();
    EXPECT_FALSE(prefs.downloadTimer().isActive()) << "repeating is off in an empty store";
    window.repeatDownloadSwitch()->click();
    EXPECT_EQ(defaults.boolForKey(QStringLiteral("Repeat Download")), true);
    ASSERT_TRUE(prefs.downloadTimer().isActive());
    EXPECT_EQ(prefs.downloadTimer().period(), minutes(10));

    QTest::qWait(30);
    const milliseconds left = prefs.downloadTimer().remainingTime();
    ASSERT_LT(left, minutes(10));
    // The interval in force typed again: the timer keeps its phase, nothing is written.
    type(QStringLiteral("10"));
    EXPECT_LE(prefs.downloadTimer().remainingTime(), left);
    EXPECT_FALSE(defaults.contains(kInterval));

    type(QStringLiteral("11"));
    EXPECT_EQ(prefs.downloadTimer().period(), minutes(11));
    EXPECT_GT(prefs.downloadTimer().remainingTime(), minutes(10)) << "the wait starts again";

    window.repeatDownloadSwitch()->click();
    EXPECT_FALSE(prefs.downloadTimer().isActive());
    EXPECT_EQ(defaults.boolForKey(QStringLiteral("Repeat Download")), false);
    type(QStringLiteral("12"));
    EXPECT_FALSE(prefs.downloadTimer().isActive()) << "a new interval does not switch repeating on";
}

class PreferencesTest : public AppFixture {};

TEST_F(PreferencesTest, AnEmptyStoreStartsNothingAndGetsTheVersionStamp)
{
    start();
    EXPECT_FALSE(app->preferences()->downloadTimer().isActive());
    EXPECT_EQ(app->titleWindow()->windowTitle(), QStringLiteral("InBox")) << "no download at start-up";
    app->terminate();
    const DefaultsStore saved(DefaultsStore::defaultPath());
    EXPECT_EQ(saved.integerForKey(QStringLiteral("Major Version")), 1);
    EXPECT_EQ(saved.integerForKey(QStringLiteral("Minor Version")), 1);
    EXPECT_EQ(saved.integerForKey(QStringLiteral("Mentenance Version")), 0);
    EXPECT_FALSE(saved.contains(kInterval));
    EXPECT_TRUE(suite.log().isEmpty());
}

TEST_F(PreferencesTest, StoredWishesDownloadAtStartUpAndThenEveryInterval)
{
    storePreferences([](DefaultsStore &d) {
        d.setBool(QStringLiteral("Download At Start Up"), true);
        d.setBool(QStringLiteral("Repeat Download"), true);
        d.setInteger(kInterval, 2);
    });
    before = [](Assembly &a) { a.preferences()->setMinute(milliseconds(150)); };
    start();
    EXPECT_EQ(app->titleWindow()->windowTitle(), QStringLiteral("Downloading..."));
    EXPECT_EQ(app->preferences()->downloadTimer().period(), milliseconds(300));
    // The one at start-up, then the repeated ones.
    EXPECT_EQ(suite.waitForLog(6).size(), 6);

    QCheckBox *repeat = app->preferencesWindow()->repeatDownloadSwitch();
    repeat->setChecked(true); // as the window shows it
    repeat->click();
    QTest::qWait(100); // a download started just before logs a little later
    const qsizetype downloads = suite.log().size();
    QTest::qWait(700);
    EXPECT_EQ(suite.log().size(), downloads) << "no download after switching repeating off";
}

TEST_F(PreferencesTest, ClosingTheWindowTakesTheIntervalTypedWithoutConfirming)
{
    start();
    QAction *preference = app->menuController()->action(QStringLiteral("preference"));
    ASSERT_NE(preference, nullptr);
    EXPECT_EQ(preference->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Comma));

    // Closed with Done.
    WhenModal<PreferencesWindow>([](PreferencesWindow *w) {
        EXPECT_EQ(w->downloadIntervalField()->text(), QStringLiteral("10"));
        w->downloadAtStartUpSwitch()->click();
        w->downloadIntervalField()->setText(QStringLiteral("7"));
        w->doneButton()->click();
    });
    app->preferences()->preference();
    EXPECT_EQ(app->preferences()->downloadInterval(), 7);
    EXPECT_TRUE(app->contentsWindow()->isVisible()) << "the main windows came to the front";
    // Written at once, not only at termination.
    const DefaultsStore saved(DefaultsStore::defaultPath());
    EXPECT_EQ(saved.integerForKey(kInterval), 7);
    EXPECT_EQ(saved.boolForKey(QStringLiteral("Download At Start Up")), true);

    // Opened from the menu and closed with Escape.
    WhenModal<PreferencesWindow>([](PreferencesWindow *w) {
        EXPECT_TRUE(w->downloadAtStartUpSwitch()->isChecked());
        w->downloadIntervalField()->setText(QStringLiteral("0"));
        QTest::keyClick(w, Qt::Key_Escape);
    });
    preference->trigger();
    EXPECT_TRUE(waitFor([&] { return app->preferences()->downloadInterval() == 1; }));
    EXPECT_FALSE(app->preferencesWindow()->isVisible());
}

TEST_F(PreferencesTest, TheHeaderCacheSwitchIsStoredAndYieldsToTheEnvironment)
{
    storePreferences([](DefaultsStore &d) { d.setBool(QStringLiteral("Use Header Cache"), false); });
    start();
    EXPECT_FALSE(app->mailTitles()->useCache()) << "in force from the first load";
    WhenModal<PreferencesWindow>([](PreferencesWindow *w) {
        EXPECT_FALSE(w->headerCacheSwitch()->isChecked());
        EXPECT_TRUE(w->headerCacheSwitch()->isEnabled());
        w->headerCacheSwitch()->click();
        w->doneButton()->click();
    });
    app->preferences()->preference();
    EXPECT_TRUE(app->mailTitles()->useCache());
    EXPECT_EQ(DefaultsStore(DefaultsStore::defaultPath()).boolForKey(QStringLiteral("Use Header Cache")), true);

    const ScopedEnv off("WEX_NO_CACHE", "1");
    WhenModal<PreferencesWindow>([](PreferencesWindow *w) {
        EXPECT_FALSE(w->headerCacheSwitch()->isChecked());
        EXPECT_FALSE(w->headerCacheSwitch()->isEnabled());
        w->doneButton()->click();
    });
    app->preferences()->preference();
    app->preferences()->switchHeaderCache(true);
    EXPECT_FALSE(app->mailTitles()->useCache());
}

} // namespace
} // namespace wex::test
