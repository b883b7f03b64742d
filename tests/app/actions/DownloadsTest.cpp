// Downloads in the whole application: the downloader started through the
// shell among fake suite programs, its watch looking at a fake `ps`.
#include "AppFixture.h"
#include "DownloadWatch.h"
#include "MailTitles.h"
#include "MenuController.h"

#include <QAction>
#include <QMainWindow>
#include <QProgressBar>
#include <QStatusBar>

namespace wex::test {
namespace {

class DownloadsTest : public AppFixture {
protected:
    QString title() const { return app->titleWindow()->windowTitle(); }
    QProgressBar *busy() const { return app->titleWindow()->statusBar()->findChild<QProgressBar *>(); }
    void getMail() const { app->menuController()->action(QStringLiteral("download"))->trigger(); }
    // Every watch has ended and is gone, timers with it.
    bool watchesGone() const
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return app->downloads()->activeWatches() == 0 && app->downloads()->findChildren<QObject *>().isEmpty();
    }
};

TEST_F(DownloadsTest, TheWatchEndsOnlyWhenNoneOfTheSuitesProgramsRuns)
{
    start();
    QSignalSpy ends(app->downloads(), &Downloads::downloadEnded);
    EXPECT_EQ(app->menuController()->action(QStringLiteral("download"))->shortcut(),
              QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_G));
    suite.running("java -cp x WEX.fetch.WEX_Fetch");
    getMail();
    EXPECT_EQ(title(), QStringLiteral("Downloading..."));
    ASSERT_NE(busy(), nullptr);
    EXPECT_FALSE(busy()->isHidden());
    const QList<QByteArray> started = suite.waitForLog(2);
    ASSERT_EQ(started.size(), 2);
    EXPECT_EQ(started[1], "java -cp " + suite.suite() + "/tools/WEX_kit.jar:/System/Library/Java/ WEX.fetch.WEX_Fetch");

    // Each probe alone keeps the watch going: the downloader, the mail
    // processor, any Java program of the suite.
    for (const QByteArray running : {"java -cp x WEX.fetch.WEX_Fetch", "/opt/wex/WEX_Filer", "java -cp x WEX.UnreadScan"}) {
        suite.running(running);
        passChecks(4);
        EXPECT_EQ(ends.count(), 0) << running.constData();
    }
    EXPECT_EQ(title(), QStringLiteral("Downloading..."));
    WriteMail(store, "InBox/4.ygm", QStringLiteral("d"), QStringLiteral("fetched"), 9);
    EXPECT_EQ(app->mailTitles()->count(), 3) << "no refresh while the suite works";

    suite.running("java -cp x org.example.Other");
    ASSERT_TRUE(waitFor([&] { return ends.count() == 1; }));
    ASSERT_TRUE(titlesLoaded());
    EXPECT_EQ(title(), QStringLiteral("InBox"));
    EXPECT_EQ(app->mailTitles()->count(), 4);
    EXPECT_TRUE(busy()->isHidden());
    EXPECT_EQ(app->titleWindow()->statusBar()->currentMessage(),
              QStringLiteral("Mail downloaded: 2 unread mails now, 1 before"));
    passChecks(3);
    EXPECT_EQ(ends.count(), 1) << "one refresh per download";
    EXPECT_TRUE(watchesGone());
}

TEST_F(DownloadsTest, OverlappingDownloadsEachEndTheirOwnWatch)
{
    start();
    QSignalSpy ends(app->downloads(), &Downloads::downloadEnded);
    // What the window shows at each end.
    QStringList titles;
    QObject::connect(app->downloads(), &Downloads::downloadEnded, app->downloads(),
                     [&] { titles.append(title() + (busy()->isHidden() ? "" : " (busy)")); });
    suite.running("java WEX.fetch.WEX_Fetch");
    getMail();
    getMail();
    EXPECT_EQ(suite.waitForLog(4).size(), 4) << "two downloaders started";
    EXPECT_EQ(app->downloads()->activeWatches(), 2);
    passChecks(3);
    EXPECT_EQ(ends.count(), 0);
    suite.gone();
    ASSERT_TRUE(waitFor([&] { return ends.count() == 2; }));
    passChecks(3);
    EXPECT_EQ(ends.count(), 2);
    EXPECT_EQ(titles, QStringList({"Downloading... (busy)", "InBox"})) << "the window says so while one still runs";
    EXPECT_TRUE(watchesGone());
}

TEST_F(DownloadsTest, ADownloaderThatCannotStartEndsItsWatchAtTheFirstCheck)
{
    start();
    QSignalSpy ends(app->downloads(), &Downloads::downloadEnded);
    {
        // Neither `nice` nor `java` can be found.
        DownloadSuite bare(false);
        getMail();
        ASSERT_TRUE(waitFor([&] { return ends.count() == 1; }, int(4 * kCheck.count())));
        EXPECT_TRUE(bare.log("").isEmpty());
    }
    EXPECT_EQ(title(), QStringLiteral("InBox"));
    EXPECT_TRUE(watchesGone());
}

} // namespace
} // namespace wex::test
