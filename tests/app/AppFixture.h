#pragma once
// The whole application over a scratch store and home, with the fake suite
// of DownloadSuite.h on PATH: InBox holds one read and two unread mails, so
// after start-up (which shows, and so reads, the first unread one) one
// unread mail is left.
#include "Assembly.h"
#include "DefaultsStore.h"
#include "DownloadSuite.h"
#include "Downloads.h"
#include "FSNodeInfo.h"
#include "ShellTestSupport.h"
#include "StoreLocations.h"
#include "WaitForTitles.h"

#include <QDeadlineTimer>
#include <QSignalSpy>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace wex::test {

class AppFixture : public ::testing::Test {
protected:
    static constexpr std::chrono::milliseconds kCheck{80};

    AppFixture()
    {
        ResetWEXPaths();
        FSNodeInfo::setSortFolderTag(QStringLiteral("name"));
        WriteMail(store, "InBox/1.mail", QStringLiteral("a"), QStringLiteral("first"), 5);
        WriteMail(store, "InBox/2.ygm", QStringLiteral("b"), QStringLiteral("second"), 6);
        WriteMail(store, "InBox/3.ygm", QStringLiteral("c"), QStringLiteral("third"), 7);
        home.makeSettings(store.path());
    }
    ~AppFixture() override
    {
        app.reset();
        ResetWEXPaths();
        FSNodeInfo::setSortFolderTag(QStringLiteral("name"));
    }

    // Stored preferences, written before the application starts.
    void storePreferences(const std::function<void(DefaultsStore &)> &write) const
    {
        DefaultsStore defaults(DefaultsStore::defaultPath());
        write(defaults);
        ASSERT_TRUE(defaults.save());
    }
    // Starts the application, its download checks kCheck apart, and waits
    // until the first folder is shown.
    void start()
    {
        app = std::make_unique<Assembly>();
        app->downloads()->setCheckInterval(kCheck);
        before(*app);
        ASSERT_TRUE(app->start());
        ASSERT_TRUE(titlesLoaded());
    }
    // Waits until the title list has no load running.
    bool titlesLoaded() const { return WaitForTitles(*app->mailTitles()); }
    // Lets n check intervals pass.
    static void passChecks(int n) { QTest::qWait(int(n * kCheck.count())); }
    static bool waitFor(const std::function<bool()> &done, int ms = 5000)
    {
        QDeadlineTimer deadline(ms);
        while (!done() && !deadline.hasExpired())
            QTest::qWait(10);
        return done();
    }

    std::function<void(Assembly &)> before = [](Assembly &) {};
    DownloadSuite suite; // first: nothing real ever runs
    TempHome home;
    TestDir store;
    std::unique_ptr<Assembly> app;
};

} // namespace wex::test
