// The main thread while a download is watched: the real Downloads (the
// downloader started through /bin/sh, the three `ps` probes of its watch, as
// asynchronous children) with a stand-in downloader that runs for SECONDS,
// so the real `ps xw` finds "WEX_Fetch" until it ends. A 1 ms timer on the
// main thread records every gap between its firings; a gap longer than its
// interval is a stall of the event loop, whether the program caused it or the
// machine gave the thread no processor. So every event the main thread
// handles is also timed (wall clock and the thread's own CPU time): the
// longest of these is the stall the program itself causes.
//
//   download_bench SECONDS CHECK_MS
//       one download, looked at every CHECK_MS (the program's 2000), timed
//       from download() until the watch ended; then, for comparison, one
//       look run the blocking way (each probe waited for in turn, which is
//       what a synchronous shell call costs the event loop), median of 9;
//       and the time the calling thread spends handing one probe over: to
//       the ProbeRunner (as the watch does) against starting the child
//       itself (QProcess::start on the main thread), 40 of each.
//
// Writes only a scratch folder (removed at the end). Results go to stdout as
// "result NAME VALUE" lines; bench/download-bench.sh makes the table.
#include "Coding.h"
#include "DefaultsStore.h"
#include "DownloadWatch.h"
#include "Downloads.h"
#include "FSBrowser.h"
#include "FolderRefresh.h"
#include "MailMoves.h"
#include "MailTitles.h"
#include "ProbeRunner.h"
#include "StoreContext.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QMainWindow>
#include <QProcess>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <ctime>
#include <sys/resource.h>
#include <cstdio>
#include <vector>

namespace {

void Result(const char *name, double value) { std::printf("result %s %.3f\n", name, value); }

bool Script(const QString &path, const QByteArray &body)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write("#!/bin/sh\n" + body);
    file.close();
    return file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

double Quantile(std::vector<double> values, double q)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[size_t(q * double(values.size() - 1))];
}

// Gaps between firings of a 1 ms timer on the main thread, in ms.
class GapMonitor {
public:
    GapMonitor()
    {
        timer_.setTimerType(Qt::PreciseTimer);
        timer_.setInterval(1);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            const double now = double(clock_.nsecsElapsed()) / 1e6;
            gaps_.push_back(now - last_);
            last_ = now;
        });
    }
    void start()
    {
        gaps_.clear();
        clock_.start();
        last_ = 0;
        timer_.start();
    }
    void stop() { timer_.stop(); }
    const QObject *timer() const { return &timer_; }
    const std::vector<double> &gaps() const { return gaps_; }
    double elapsedMs() const { return double(clock_.nsecsElapsed()) / 1e6; }

private:
    QTimer timer_;
    QElapsedTimer clock_;
    double last_ = 0;
    std::vector<double> gaps_;
};

// Times every outermost event delivery of the main thread while recording.
class TimedApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject *receiver, QEvent *event) override
    {
        if (!recording || depth_ > 0 || receiver == ignored)
            return QApplication::notify(receiver, event);
        ++depth_;
        QElapsedTimer wall;
        wall.start();
        const double cpu0 = ThreadCpuMs();
        rusage before{}, after{};
        getrusage(RUSAGE_THREAD, &before);
        const int type = event->type();
        const bool done = QApplication::notify(receiver, event);
        const double ms = double(wall.nsecsElapsed()) / 1e6;
        const double cpu = ThreadCpuMs() - cpu0;
        getrusage(RUSAGE_THREAD, &after);
        --depth_;
        if (ms > longestWall) {
            longestWall = ms;
            longestWallCpu = cpu;
            longestType = type;
            longestWaits = after.ru_nvcsw - before.ru_nvcsw;
            longestPreemptions = after.ru_nivcsw - before.ru_nivcsw;
        }
        longestCpu = std::max(longestCpu, cpu);
        totalCpu += cpu;
        return done;
    }
    static double ThreadCpuMs()
    {
        timespec ts{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
        return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
    }

    bool recording = false;
    // The gap monitor's own timer: the measurement, not the program.
    const QObject *ignored = nullptr;
    double longestWall = 0, longestWallCpu = 0, longestCpu = 0, totalCpu = 0;
    // Of the longest: its event type, and how often the thread gave up the
    // processor in it by waiting (voluntary) or was preempted (involuntary).
    int longestType = 0;
    long longestWaits = 0, longestPreemptions = 0;

private:
    int depth_ = 0;
};

void RunFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TimedApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: download_bench SECONDS CHECK_MS\n");
        return 2;
    }
    const int seconds = std::max(1, atoi(argv[1]));
    const int checkMs = std::max(10, atoi(argv[2]));

    QTemporaryDir work;
    const QString bin = work.path() + QStringLiteral("/bin");
    if (!work.isValid() || !QDir().mkpath(bin) || !QDir().mkpath(work.path() + QStringLiteral("/suite"))
        || !Script(bin + QStringLiteral("/nice"), "exec \"$@\"\n")
        || !Script(bin + QStringLiteral("/java"), "sleep " + QByteArray::number(seconds) + "\n")) {
        std::fprintf(stderr, "download_bench: cannot write the scratch folder\n");
        return 1;
    }
    qputenv("PATH", QFile::encodeName(bin) + ":" + qgetenv("PATH"));
    qputenv("WEX_SUITE", QFile::encodeName(work.path() + QStringLiteral("/suite")));

    // The pieces a download's end reaches: the refresh lists the scratch
    // folder, which holds no mail.
    QMainWindow titleWindow;
    QTableView table;
    const wex::Coding coding;
    wex::DefaultsStore defaults(work.path() + QStringLiteral("/defaults.json"));
    const wex::StoreContext store;
    wex::MailTitles titles(coding, defaults, store, table, titleWindow);
    wex::FSBrowser browser;
    browser.setRootPath(QFile::encodeName(work.path()));
    wex::MailMoves moves(titles, titleWindow);
    wex::FolderRefresh refresh(titles, browser, moves);
    wex::Downloads downloads(titles, refresh, titleWindow);
    downloads.setCheckInterval(std::chrono::milliseconds(checkMs));
    GapMonitor monitor;
    app.ignored = monitor.timer();

    // The event loop alone, for the floor of the measurement.
    monitor.start();
    RunFor(2000);
    monitor.stop();
    const std::vector<double> idle = monitor.gaps();

    QEventLoop watched;
    QObject::connect(&downloads, &wex::Downloads::downloadEnded, &watched, &QEventLoop::quit);
    monitor.start();
    app.recording = true;
    downloads.download();
    watched.exec();
    app.recording = false;
    monitor.stop();
    const double watchedMs = monitor.elapsedMs();
    const std::vector<double> busy = monitor.gaps();

    // One look run the blocking way: the three probes, each waited for (the
    // stand-in has ended, so all three run, as in a watch's last look).
    std::vector<double> blocking;
    for (int run = 0; run < 9; ++run) {
        QElapsedTimer t;
        t.start();
        for (int probe = 0; probe < 3; ++probe)
            QProcess::execute(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), wex::DownloadWatch::probe(probe)});
        blocking.push_back(double(t.nsecsElapsed()) / 1e6);
    }

    // Handing one probe over, the two ways.
    std::vector<double> viaRunner, direct;
    wex::ProbeRunner runner;
    QObject context;
    for (int run = 0; run < 40; ++run) {
        int pending = 2;
        QElapsedTimer t;
        t.start();
        runner.run(wex::DownloadWatch::probe(0), {}, &context, [&](int) { --pending; });
        viaRunner.push_back(double(t.nsecsElapsed()) / 1e6);
        auto *process = new QProcess(&context);
        QObject::connect(process, &QProcess::finished, [&] { --pending; });
        t.restart();
        process->start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), wex::DownloadWatch::probe(0)});
        direct.push_back(double(t.nsecsElapsed()) / 1e6);
        QElapsedTimer limit;
        limit.start();
        while (pending > 0 && limit.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        delete process;
        RunFor(20);
    }

    Result("seconds", seconds);
    Result("check_ms", checkMs);
    Result("watched_ms", watchedMs);
    Result("looks", watchedMs / checkMs);
    Result("idle_longest_gap_ms", Quantile(idle, 1.0));
    Result("idle_p99_gap_ms", Quantile(idle, 0.99));
    Result("watched_longest_gap_ms", Quantile(busy, 1.0));
    Result("watched_p99_gap_ms", Quantile(busy, 0.99));
    Result("watched_median_gap_ms", Quantile(busy, 0.5));
    Result("longest_event_ms", app.longestWall);
    Result("longest_event_cpu_ms", app.longestWallCpu);
    Result("longest_event_by_cpu_ms", app.longestCpu);
    Result("longest_event_type", app.longestType);
    Result("longest_event_waits", double(app.longestWaits));
    Result("longest_event_preemptions", double(app.longestPreemptions));
    Result("main_thread_cpu_per_look_ms", app.totalCpu / (watchedMs / checkMs));
    Result("blocking_look_ms", Quantile(blocking, 0.5));
    Result("handover_runner_median_ms", Quantile(viaRunner, 0.5));
    Result("handover_runner_longest_ms", Quantile(viaRunner, 1.0));
    Result("handover_direct_median_ms", Quantile(direct, 0.5));
    Result("handover_direct_longest_ms", Quantile(direct, 1.0));
    return watchedMs >= seconds * 1000.0 ? 0 : 3;
}
