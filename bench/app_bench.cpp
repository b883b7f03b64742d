// The desktop application's benchmark: the real Assembly (every controller and
// window, offscreen) over a scratch store, driven the way a user drives it.
//
//   app_bench timing WORK FOLDER WEX_BINARY RUNS
//       1. a click on a folder of FOLDER's mails in the folder browser, until the
//          title table has selected its first unread mail and both the table
//          and the mail text were painted; beside it `WEX_BINARY --list` of
//          the same folder as a child process; RUNS of each, alternating
//       2. selecting a 5 MB mail (Shift_JIS, ISO-2022-JP, UTF-8) until its text
//          is set, and until it was painted
//       3. next-mail, previous-mail and page-of-mails key presses (QKeyEvents
//          through the application's key routing) over those mails while
//          inotify watches the folder: time per move and the folder accesses
//   app_bench mails WORK RUNS
//       2. alone (for profiling)
//   app_bench memory WORK FOLDER
//       4. VmRSS and VmHWM once a click has opened FOLDER (run it alone, in a
//          fresh process, so the high-water mark is this load's), the longest
//          stall of the event loop while it loaded, and the same once more
//          after a click elsewhere (the header cache's load)
//
// WORK is a scratch folder this program fills (home, store, defaults); FOLDER
// is never changed: each click opens a fresh hard-link copy of it (`cp -al`),
// because showing a mail marks it read by renaming it. Results go to stdout as
// "result NAME VALUE" lines; bench/app-bench.sh makes the table.
#include "app_bench_driver.h"

#include "DefaultsStore.h"
#include "KeyController.h"
#include "KeyEventConverter.h"
#include "MailContents.h"
#include "MailTitles.h"
#include "app_bench_mail.h"

#include <QApplication>
#include <QDir>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QTableView>

#include <sys/inotify.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>

using namespace bench;

namespace {

void Result(const char *name, double value) { std::printf("result %s %.2f\n", name, value); }

// 1: RUNS clicks and RUNS headless listings of fresh copies of the folder.
bool ClickVersusList(AppDriver &app, const QString &source, const QString &wex, int runs, QString *lastFolder)
{
    std::vector<double> clickWall, clickCpu, loadWall, listWall, listCpu;
    for (int run = 0; run <= runs; ++run) { // run 0 warms up and is not counted
        const QString name = QStringLiteral("Big-%1").arg(run);
        if (!app.copyIntoStore(source, name))
            return false;
        const QString folder = app.storePath() + QLatin1Char('/') + name;
        const ChildRun list = RunChild({wex, QStringLiteral("--list"), folder});
        const ClickRun click = app.clickFolder(name);
        if (!list.ok || !click.ok) {
            std::fprintf(stderr, "app_bench: run %d failed (list %d, click %d)\n", run, list.ok, click.ok);
            return false;
        }
        std::fprintf(stderr, "  run %d: click %.0f ms (%.0f ms CPU; loaded after %.0f ms), list %.0f ms (%.0f ms CPU)\n",
                     run, click.wallMs, click.cpuMs, click.loadMs, list.wallMs, list.cpuMs);
        if (run == 0)
            continue;
        clickWall.push_back(click.wallMs);
        clickCpu.push_back(click.cpuMs);
        loadWall.push_back(click.loadMs);
        listWall.push_back(list.wallMs);
        listCpu.push_back(list.cpuMs);
        *lastFolder = folder;
    }
    Result("click_rows", app.titles()->count());
    Result("click_first_unread_row", app.titles()->selectedRow());
    Result("click_wall_ms", Median(clickWall));
    Result("click_cpu_ms", Median(clickCpu));
    Result("click_load_ms", Median(loadWall));
    Result("list_wall_ms", Median(listWall));
    Result("list_cpu_ms", Median(listCpu));
    return true;
}

// 2: the time from the selection change to the text in the view, and to the
// view painted, for each long mail; a small mail is shown in between.
bool LargeMails(AppDriver &app, int runs)
{
    struct Kind {
        const char *file, *iconv, *mime, *wex, *result;
    };
    const Kind kinds[] = {
        {"2.mail", "SHIFT_JIS", "Shift_JIS", "ShiftJIS", "large_sjis"},
        {"3.mail", "ISO-2022-JP", "ISO-2022-JP", "ISO2022JP", "large_jis"},
        {"4.mail", "UTF-8", "UTF-8", "UTF8", "large_utf8"},
    };
    const QString folder = app.storePath() + QStringLiteral("/Large");
    QDir().mkpath(folder);
    app.writeFile(folder + QStringLiteral("/1.mail"),
                  "From: ken@jp.example.org\nSubject: short\nDate: Mon, 7 Dec 2026 10:00:00 +0900\n\n"
                  "X-WEX-CharSet: UTF8\n\nA short mail.\n");
    constexpr size_t kBytes = 5u * 1024 * 1024;
    for (const Kind &k : kinds) {
        const std::optional<std::string> mail = LongMail(kBytes, k.iconv, k.mime, k.wex);
        if (!mail || !app.writeFile(folder + QLatin1Char('/') + QLatin1String(k.file), *mail))
            return false;
    }
    if (!app.clickFolder(QStringLiteral("Large")).ok)
        return false;
    const int small = app.rowOfFile(QStringLiteral("1.mail"));
    for (const Kind &k : kinds) {
        const int row = app.rowOfFile(QLatin1String(k.file));
        std::vector<double> set, painted, whole;
        qsizetype characters = 0;
        for (int run = 0; run <= runs; ++run) {
            app.selectRow(small);
            const SelectRun shown = app.selectRow(row);
            characters = shown.characters;
            if (!shown.ok || shown.characters < qsizetype(1000000)) {
                std::fprintf(stderr, "app_bench: %s was not shown (%lld characters)\n", k.file,
                             static_cast<long long>(shown.characters));
                return false;
            }
            if (run > 0) {
                set.push_back(shown.setMs);
                painted.push_back(shown.paintedMs);
                whole.push_back(shown.wholeMs);
            }
        }
        const std::string name = k.result;
        Result((name + "_bytes").c_str(), double(app.fileSize(folder + QLatin1Char('/') + QLatin1String(k.file))));
        Result((name + "_characters").c_str(), double(characters));
        Result((name + "_set_ms").c_str(), Median(set));
        Result((name + "_painted_ms").c_str(), Median(painted));
        Result((name + "_whole_ms").c_str(), Median(whole));
    }
    return true;
}

// 3: key moves over the folder, with inotify counting what they open or read
// in it. The file of the mail shown after a move is expected (under its read
// name and, for an unread mail, the name it had before); anything else in the
// folder, or the folder itself (a listing), is folder I/O.
bool KeyMoves(AppDriver &app, const QString &folder, int moves)
{
    const int fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd < 0 || inotify_add_watch(fd, folder.toLocal8Bit().constData(), IN_OPEN | IN_ACCESS | IN_MODIFY) < 0) {
        std::perror("app_bench: inotify");
        return false;
    }
    // The watch must see a listing: list the folder once and expect events.
    DrainInotify(fd, {});
    const qsizetype listed = QDir(folder).entryList(QDir::Files).size();
    const InotifyCount probe = DrainInotify(fd, {});
    if (probe.folder == 0) {
        std::fprintf(stderr, "app_bench: inotify saw no event for a listing of %lld files\n",
                     static_cast<long long>(listed));
        return false;
    }
    Result("key_probe_listing_events", double(probe.folder));

    const QKeyEvent next(QEvent::KeyPress, Qt::Key_N, Qt::AltModifier);
    const QKeyEvent prev(QEvent::KeyPress, Qt::Key_P, Qt::AltModifier);
    const QKeyEvent pageDown(QEvent::KeyPress, Qt::Key_PageDown, Qt::AltModifier);
    const QKeyEvent pageUp(QEvent::KeyPress, Qt::Key_PageUp, Qt::AltModifier);
    // Next and previous mail are bound by default; the page moves get keys here.
    wex::KeyController *keys = &app.assembly().keyController();
    keys->addBinding(*wex::MethodKeyFromEvent(pageDown), wex::KeyController::NextPageMail);
    keys->addBinding(*wex::MethodKeyFromEvent(pageUp), wex::KeyController::PrevPageMail);

    struct Kind {
        const QKeyEvent *event;
        int count;
        const char *result;
    };
    const Kind kinds[] = {{&next, moves, "key_next"}, {&prev, moves, "key_prev"},
                          {&pageDown, moves / 5, "key_pagedown"}, {&pageUp, moves / 5, "key_pageup"}};
    long folderAccesses = 0, expected = 0, total = 0, notPainted = 0;
    for (const Kind &k : kinds) {
        std::vector<double> times;
        const int before = app.titles()->selectedRow();
        for (int i = 0; i < k.count; ++i) {
            const KeyRun run = app.pressKey(*k.event);
            times.push_back(run.wallMs);
            notPainted += !run.painted;
            const InotifyCount c = DrainInotify(fd, app.shownFileStem());
            folderAccesses += c.folder + c.other;
            expected += c.expected;
        }
        total += k.count;
        std::fprintf(stderr, "  %s: row %d -> %d\n", k.result, before, app.titles()->selectedRow());
        Result((std::string(k.result) + "_median_ms").c_str(), Median(times));
        Result((std::string(k.result) + "_max_ms").c_str(), *std::max_element(times.begin(), times.end()));
    }
    ::close(fd);
    Result("key_moves", double(total));
    Result("key_folder_accesses", double(folderAccesses));
    Result("key_shown_mail_accesses", double(expected));
    Result("key_not_painted", double(notPainted));
    return true;
}

int Timing(const QString &work, const QString &source, const QString &wex, int runs)
{
    AppDriver app(work);
    if (!app.start())
        return 1;
    std::fprintf(stderr, "== click on a folder of %s vs wex-browser --list, %d runs\n", qPrintable(source), runs);
    QString last;
    if (!ClickVersusList(app, source, wex, runs, &last))
        return 1;
    std::fprintf(stderr, "== key moves in %s\n", qPrintable(last));
    if (!KeyMoves(app, last, 200))
        return 1;
    std::fprintf(stderr, "== 5 MB mails\n");
    return LargeMails(app, runs) ? 0 : 1;
}

int Mails(const QString &work, int runs)
{
    AppDriver app(work);
    return app.start() && LargeMails(app, runs) ? 0 : 1;
}

int Memory(const QString &work, const QString &source)
{
    AppDriver app(work);
    if (!app.start() || !app.copyIntoStore(source, QStringLiteral("Huge")))
        return 1;
    // A hard link changes its file's change time, and files changed in the
    // last two seconds are not cached: the mails settle first, as a user's do.
    QThread::sleep(3);
    const ProcStatus before = ReadProcStatus();
    const ClickRun click = app.clickFolder(QStringLiteral("Huge"));
    if (!click.ok)
        return 1;
    const ProcStatus after = ReadProcStatus();
    Result("memory_rows", app.titles()->count());
    Result("memory_click_ms", click.wallMs);
    Result("memory_click_return_ms", click.loadMs);
    Result("memory_stall_ms", click.stallMs);
    Result("memory_rss_before_mb", before.rssKb / 1024.0);
    Result("memory_rss_mb", after.rssKb / 1024.0);
    Result("memory_hwm_mb", after.hwmKb / 1024.0);
    // Away and back: the second load is served by the header cache (unless
    // WEX_NO_CACHE is set).
    if (!app.clickFolder(QStringLiteral("InBox")).ok)
        return 1;
    QThread::msleep(500); // the list left behind is freed on a worker
    Result("memory_away_rss_mb", ReadProcStatus().rssKb / 1024.0);
    const ClickRun again = app.clickFolder(QStringLiteral("Huge"));
    if (!again.ok)
        return 1;
    const ProcStatus last = ReadProcStatus();
    Result("memory_again_click_ms", again.wallMs);
    Result("memory_again_stall_ms", again.stallMs);
    Result("memory_again_rss_mb", last.rssKb / 1024.0);
    Result("memory_again_hwm_mb", last.hwmKb / 1024.0);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::string mode = argc > 1 ? argv[1] : "";
    if (!((mode == "timing" && argc == 6) || (mode == "memory" && argc == 4) || (mode == "mails" && argc == 4))) {
        std::fprintf(stderr, "usage: app_bench timing WORK FOLDER WEX_BINARY RUNS\n"
                             "       app_bench memory WORK FOLDER\n"
                             "       app_bench mails WORK RUNS\n");
        return 2;
    }
    // The scratch home must be in place before Qt or the store look at $HOME.
    const QString work = QString::fromLocal8Bit(argv[2]);
    if (!PrepareHome(work))
        return 1;
    QApplication application(argc, argv);
    if (mode == "mails")
        return Mails(work, std::max(1, std::atoi(argv[3])));
    const QString source = QFileInfo(QString::fromLocal8Bit(argv[3])).absoluteFilePath();
    if (mode == "memory")
        return Memory(work, source);
    const int runs = std::max(1, std::atoi(argv[5]));
    return Timing(work, source, QString::fromLocal8Bit(argv[4]), runs);
}
