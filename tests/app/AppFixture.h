#pragma once
// The one whole application: the Assembly over a scratch store and home, the fake suite on PATH; for what only the
// assembled program shows. InBox holds "first" (read), "second" and "third" (unread); start-up reads "second".
#include "AppTestSupport.h"
#include "Assembly.h"
#include "DefaultsStore.h"
#include "Downloads.h"
#include "FSNodeInfo.h"
#include "FakeSuite.h"
#include "StoreLocations.h"

#include <QTest>
#include <memory>

namespace wex::test {

class AppFixture : public ::testing::Test {
protected:
    AppFixture()
    {
        // The store locations are the process's: each test finds its own.
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
    // Builds and starts the application and waits until the first folder is
    // shown. before runs between building and starting.
    void start(const std::function<void(Assembly &)> &before = {})
    {
        app = std::make_unique<Assembly>();
        if (before)
            before(*app);
        ASSERT_TRUE(app->start());
        ASSERT_TRUE(WaitForTitles(titles()));
    }
    MailTitles &titles() const { return app->mailTitles(); }
    QStringList subjects() const { return Subjects(app->mailTitles()); }

    FakeSuite suite; // first: nothing real ever runs
    TempHome home;
    TestDir store;
    std::unique_ptr<Assembly> app;
};

} // namespace wex::test
