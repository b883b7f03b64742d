// Downloads on the title list alone: the downloader started through the shell among the fake suite's programs,
// its watch looking at the fake `ps`; and the probe runner such watches use.
#include "Downloads.h"
#include "FSBrowser.h"
#include "FolderRefresh.h"
#include "MailMoves.h"
#include "PathUtils.h"
#include "ProbeRunner.h"
#include "ReadingFixture.h"

#include <QElapsedTimer>
#include <QProgressBar>
#include <signal.h>

namespace wex::test {
namespace {

class DownloadsTest : public ::testing::Test, protected ReadingFixture {
protected:
    DownloadsTest()
    {
        WriteMail(dir, "InBox/1.ygm", "a", QStringLiteral("first"), 5);
        browser.setRootPath(dir.path());
        EXPECT_TRUE(browser.setPath(dir.at("InBox")));
        EXPECT_TRUE(LoadTitlesNow(titles, dir.at("InBox"), false));
        titleWindow.setWindowTitle(QStringLiteral("InBox"));
        downloads.setCheckInterval(std::chrono::milliseconds(10));
    }
    // Until the watches have looked twice more at the process list (a look runs at most three probes).
    bool twoMoreLooks() const
    {
        const qsizetype target = suite.psRuns() + 7;
        return WaitUntil([&] { return suite.psRuns() >= target; });
    }
    bool busy() const
    {
        const auto *bar = titleWindow.statusBar()->findChild<QProgressBar *>();
        return bar && !bar->isHidden();
    }
    // Every watch has ended and is gone, timers with it.
    bool watchesGone() const
    {
        return WaitUntil([this] {
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            return downloads.activeWatches() == 0 && downloads.findChildren<QObject *>().isEmpty();
        });
    }

    FSBrowser browser;
    MailMoves moves{titles, titleWindow};
    FolderRefresh refresh{titles, browser, moves};
    Downloads downloads{titles, refresh, titleWindow};
    QSignalSpy ends{&downloads, &Downloads::downloadEnded};
};

TEST_F(DownloadsTest, TheWatchEndsOnlyWhenNoneOfTheSuitesProgramsRuns)
{
    suite.running("java -cp x WEX.fetch.WEX_Fetch");
    downloads.download();
    EXPECT_NE(titleWindow.windowTitle(), QStringLiteral("InBox"));
    EXPECT_TRUE(busy());
    const QList<QByteArray> started = suite.waitForLines(2);
    ASSERT_EQ(started.size(), 2);
    EXPECT_EQ(started[1], "java|-cp|" + suite.suite() + "/tools/WEX_kit.jar:/System/Library/Java/|WEX.fetch.WEX_Fetch");
    // Each probe alone keeps the watch going: the downloader, the mail processor, any Java program of the suite.
    for (const QByteArray running : {"java -cp x WEX.fetch.WEX_Fetch", "/opt/wex/WEX_Filer", "java -cp x WEX.UnreadScan"}) {
        suite.running(running);
        ASSERT_TRUE(twoMoreLooks());
        EXPECT_EQ(ends.count(), 0) << running.constData();
    }
    WriteMail(dir, "InBox/2.ygm", "d", QStringLiteral("fetched"), 9);
    EXPECT_EQ(titles.count(), 1) << "no refresh while the suite works";

    suite.running("java -cp x org.example.Other");
    ASSERT_TRUE(WaitUntil([&] { return ends.count() == 1; }));
    ASSERT_TRUE(WaitForTitles(titles));
    EXPECT_EQ(titleWindow.windowTitle(), QStringLiteral("InBox"));
    EXPECT_EQ(titles.count(), 2);
    EXPECT_FALSE(busy());
    EXPECT_TRUE(watchesGone());
    EXPECT_EQ(ends.count(), 1) << "one refresh per download";
}

TEST_F(DownloadsTest, OverlappingDownloadsEachEndTheirOwnWatch)
{
    QList<bool> busyAtEnd; // what the window shows at each end
    QObject::connect(&downloads, &Downloads::downloadEnded, [&] { busyAtEnd.append(busy()); });
    TitleArray arrived; // the last refresh's new mails
    QObject::connect(&downloads, &Downloads::mailArrived, [&](const TitleArray &mails) { arrived = mails; });
    WriteMail(dir, "InBox/0.ygm", "z", QStringLiteral("unread before"), 1);
    ASSERT_TRUE(LoadTitlesNow(titles, dir.at("InBox"), false)); // listed, not shown: stays unread
    suite.running("java WEX.fetch.WEX_Fetch");
    downloads.download();
    downloads.download();
    EXPECT_EQ(suite.waitForLines(4).size(), 4) << "two downloaders started";
    EXPECT_EQ(downloads.activeWatches(), 2);
    ASSERT_TRUE(twoMoreLooks());
    EXPECT_EQ(ends.count(), 0);
    WriteMail(dir, "InBox/2.ygm", "b", QStringLiteral("second"), 6);
    WriteMail(dir, "InBox/3.ygm", "c", QStringLiteral("third"), 7);
    suite.gone();
    ASSERT_TRUE(WaitUntil([&] { return ends.count() == 2; }));
    EXPECT_TRUE(watchesGone());
    EXPECT_EQ(ends.count(), 2);
    EXPECT_EQ(busyAtEnd, QList<bool>({true, false})) << "the window says so while one still runs";
    EXPECT_EQ(titleWindow.windowTitle(), QStringLiteral("InBox"));
    // Counted against the list before the first download, whichever refresh ends last.
    const QString counted = Localize("Mail downloaded: %1 unread mails now, %2 before").arg(3).arg(1);
    EXPECT_TRUE(WaitUntil([&] { return titleWindow.statusBar()->currentMessage() == counted; }))
        << titleWindow.statusBar()->currentMessage().toStdString();
    ASSERT_EQ(arrived.size(), 2u);
    EXPECT_TRUE(arrived[0].subject() == "third" && arrived[1].subject() == "second") << "new ones, newest first";
}

// A downloader that cannot start ends its watch at the first check. Another folder opened while the refresh loads
// never gets the count, and the download's message goes all the same.
TEST_F(DownloadsTest, ADownloaderThatCannotStartEndsItsWatchAndItsMessage)
{
    WriteMail(dir, "Other/1.mail", "o", QStringLiteral("other"), 1);
    QObject::connect(&downloads, &Downloads::downloadEnded, [&] { titles.loadTitleTable(dir.at("Other"), true); });
    const FakeSuite bare(FakeSuite::Tools::ProbesOnly); // neither `nice` nor `java`
    downloads.download();
    ASSERT_TRUE(WaitUntil([&] { return ends.count() == 1; }));
    EXPECT_TRUE(bare.lines().isEmpty());
    EXPECT_TRUE(watchesGone());
    ASSERT_TRUE(WaitForTitles(titles));
    EXPECT_EQ(titles.folderPath(), dir.at("Other"));
    EXPECT_TRUE(titleWindow.statusBar()->currentMessage().isEmpty()) << titleWindow.statusBar()->currentMessage().toStdString();
}

TEST(ProbeRunner, StatusesComeBackOnTheOwnersThreadOnlyWhileTheContextLives)
{
    TestDir dir;
    const QString done = dir.pathString() + QStringLiteral("/done");
    ProbeRunner runner;
    QObject context;
    auto gone = std::make_unique<QObject>();
    QList<int> statuses;
    QList<QThread *> threads;
    bool late = false;
    runner.run(QStringLiteral(": > \"$1\""), {done}, gone.get(), [&](int) { late = true; });
    // Ends only after the first one has.
    runner.run(QStringLiteral("while [ ! -e \"$1\" ]; do :; done; exit \"$2\""), {done, QStringLiteral("3")}, &context,
               [&](int status) { statuses.append(status), threads.append(QThread::currentThread()); });
    gone.reset();
    EXPECT_TRUE(statuses.isEmpty()) << "never inside run()";
    EXPECT_TRUE(WaitUntil([&] { return !statuses.isEmpty(); }));
    EXPECT_EQ(statuses, QList<int>({3}));
    EXPECT_EQ(threads, QList<QThread *>({QThread::currentThread()}));
    EXPECT_FALSE(late);
}

TEST(ProbeRunner, GoingAwayKillsWhatStillRunsAndReportsNothing)
{
    TestDir dir;
    const QByteArray pidFile = dir.at("pid");
    QObject context;
    bool reported = false;
    QElapsedTimer clock;
    {
        ProbeRunner runner;
        runner.run(QStringLiteral("echo $$ > \"$1\"; exec sleep 30"), {QFile::decodeName(pidFile)}, &context,
                   [&](int) { reported = true; });
        ASSERT_TRUE(WaitUntil([&] { return ReadAll(pidFile).endsWith('\n'); }));
        clock.start();
    }
    EXPECT_LT(clock.elapsed(), 10000) << "the child was killed, not waited for";
    EXPECT_NE(::kill(ReadAll(pidFile).trimmed().toInt(), 0), 0) << "the child is gone";
    QCoreApplication::processEvents();
    EXPECT_FALSE(reported);
}

} // namespace
} // namespace wex::test
