// The preferences: the intervals in force and the timer repeating downloads, what start-up makes of the stored
// wishes, and the window's controls as the assembled program wires them.
#include "AppFixture.h"
#include "MenuController.h"
#include "Preferences.h"
#include "PreferencesWindow.h"
#include "RepeatTimer.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <climits>

namespace wex::test {
namespace {

using namespace std::chrono_literals;
using std::chrono::milliseconds;
using std::chrono::minutes;

const QString kInterval = QStringLiteral("Download Interval in Minutes");
constexpr int kMax = Preferences::kMaxInterval;

TEST(PreferencesIntervals, StoredAndTypedIntervalsAreClampedWithoutOverflow)
{
    const std::pair<std::optional<qint64>, int> stored[] = {
        {std::nullopt, 10}, {-3, 10}, {7, 7}, {qint64(1) << 40, kMax}};
    for (const auto &[value, inForce] : stored)
        EXPECT_EQ(Preferences::intervalFromStore(value), inForce) << value.value_or(-1);
    const std::pair<const char *, int> typed[] = {
        {" 3 minutes", 3}, {"-4", 1}, {"letters", 1}, {"+8", 8}, {"99999999999999999999", kMax}};
    for (const auto &[text, inForce] : typed)
        EXPECT_EQ(Preferences::intervalFromText(QString::fromLatin1(text)), inForce) << text;
}

TEST(RepeatTimer, WaitsInStepsAndFiresOncePerPeriod)
{
    RepeatTimer timer;
    timer.setMaxStep(5ms);
    QList<qint64> firedAt;
    QElapsedTimer clock;
    QObject::connect(&timer, &RepeatTimer::timeout, [&] { firedAt.append(clock.elapsed()); });
    clock.start();
    timer.start(100ms);
    ASSERT_TRUE(WaitUntil([&] { return firedAt.size() == 2; }));
    // The 5 ms steps are not firings: a whole period lies before each one.
    EXPECT_GE(firedAt[0], 100);
    EXPECT_GE(firedAt[1], 200);
    timer.stop();
    EXPECT_EQ(timer.remainingTime(), 0ms);
}

QStringList warnings;
void Collect(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type != QtDebugMsg && type != QtInfoMsg)
        warnings.append(message);
}

// A QTimer handed such a period silently does not run; Qt only warns. 30 days is a negative int of milliseconds.
TEST(RepeatTimer, HoldsPeriodsBeyondWhatAQTimerCan)
{
    warnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(Collect);
    for (const milliseconds period : {milliseconds(std::chrono::hours(24 * 30)), milliseconds(minutes(kMax))}) {
        RepeatTimer timer;
        timer.start(period);
        EXPECT_TRUE(timer.isActive()) << period.count();
        EXPECT_EQ(timer.period(), period);
        EXPECT_GT(timer.remainingTime().count(), qint64(INT_MAX));
    }
    qInstallMessageHandler(previous);
    EXPECT_EQ(warnings, QStringList());
}

class PreferencesTest : public AppFixture {
protected:
    Preferences &prefs() const { return app->preferences(); }
    PreferencesWindow &window() const { return app->preferencesWindow(); }
    void type(const QString &text) const
    {
        window().downloadIntervalField()->setText(text);
        prefs().intervalChanged();
    }
};

TEST_F(PreferencesTest, StoredWishesDownloadAtStartUpAndThenEveryInterval)
{
    storePreferences([](DefaultsStore &d) {
        d.setBool(QStringLiteral("Download At Start Up"), true);
        d.setBool(QStringLiteral("Repeat Download"), true);
        d.setInteger(kInterval, 2);
    });
    start([](Assembly &a) { a.preferences().setMinute(milliseconds(50)); });
    EXPECT_EQ(prefs().downloadTimer().period(), milliseconds(100));
    // The one at start-up, then repeated ones: two recorded calls each.
    EXPECT_EQ(suite.waitForLines(6).size(), 6);
    window().repeatDownloadSwitch()->setChecked(true); // as the window shows it
    window().repeatDownloadSwitch()->click();
    EXPECT_FALSE(prefs().downloadTimer().isActive());
    EXPECT_EQ(app->defaults().boolForKey(QStringLiteral("Repeat Download")), false);
}

TEST_F(PreferencesTest, TheRepeatTimerRestartsOnlyWhenTheIntervalChanges)
{
    start();
    EXPECT_FALSE(prefs().downloadTimer().isActive()) << "repeating is off in an empty store";
    window().repeatDownloadSwitch()->click();
    ASSERT_TRUE(prefs().downloadTimer().isActive());
    ASSERT_TRUE(WaitUntil([&] { return prefs().downloadTimer().remainingTime() < minutes(10); }));
    const milliseconds left = prefs().downloadTimer().remainingTime();
    type(QStringLiteral("10")); // the interval in force: the phase stays, nothing is written
    EXPECT_LE(prefs().downloadTimer().remainingTime(), left);
    EXPECT_FALSE(app->defaults().contains(kInterval));
    type(QStringLiteral("11"));
    EXPECT_GT(prefs().downloadTimer().remainingTime(), minutes(10)) << "the wait starts again";
    type(QStringLiteral("99999999999999999999"));
    EXPECT_EQ(prefs().downloadTimer().period(), minutes(kMax)) << "no overflow on the way";
    window().repeatDownloadSwitch()->click();
    type(QStringLiteral("12"));
    EXPECT_FALSE(prefs().downloadTimer().isActive()) << "a new interval does not switch repeating on";
}

// The switches and the interval are stored as changed; closing takes the typed interval; the environment's word on
// the header cache wins.
TEST_F(PreferencesTest, TheWindowsControlsAreStoredAsChangedAndClosingTakesTheTypedInterval)
{
    storePreferences([](DefaultsStore &d) { d.setBool(QStringLiteral("Use Header Cache"), false); });
    start();
    EXPECT_FALSE(titles().useCache()) << "in force from the first load";
    WhenModal<PreferencesWindow>([](PreferencesWindow *w) {
        EXPECT_FALSE(w->headerCacheSwitch()->isChecked());
        w->headerCacheSwitch()->click();
        EXPECT_TRUE(w->notifyNewMailSwitch()->isChecked()) << "on by default";
        w->notifyNewMailSwitch()->click();
        w->downloadAtStartUpSwitch()->click();
        w->downloadIntervalField()->setText(QStringLiteral("7"));
        w->doneButton()->click();
    });
    app->menuController().action(QStringLiteral("preference"))->trigger(); // runs from the event loop
    ASSERT_TRUE(WaitUntil([&] { return prefs().downloadInterval() == 7; }));
    EXPECT_TRUE(app->contentsWindow().isVisible()) << "the main windows came to the front";
    EXPECT_TRUE(titles().useCache());
    const DefaultsStore saved(DefaultsStore::defaultPath()); // written at once, not only at the end
    EXPECT_EQ(saved.integerForKey(kInterval), 7);
    EXPECT_EQ(saved.boolForKey(QStringLiteral("Download At Start Up")), true);
    EXPECT_EQ(saved.boolForKey(QStringLiteral("Use Header Cache")), true);
    EXPECT_FALSE(Preferences::notifyNewMailWanted(saved));

    WhenModal<PreferencesWindow>([](PreferencesWindow *w) {
        w->downloadIntervalField()->setText(QStringLiteral("0"));
        QTest::keyClick(w, Qt::Key_Escape);
    });
    prefs().preference();
    EXPECT_EQ(prefs().downloadInterval(), 1);
    EXPECT_FALSE(window().isVisible());

    const ScopedEnv off("WEX_NO_CACHE", "1");
    WhenModal<PreferencesWindow>([](PreferencesWindow *w) {
        EXPECT_FALSE(w->headerCacheSwitch()->isChecked() || w->headerCacheSwitch()->isEnabled());
        w->doneButton()->click();
    });
    prefs().preference();
    prefs().switchHeaderCache(true);
    EXPECT_FALSE(titles().useCache());
}

} // namespace
} // namespace wex::test
