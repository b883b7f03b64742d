#pragma once
// Drives the real application for bench/app_bench.cpp: a scratch home and
// store, the Assembly with its windows shown (offscreen), and the user's
// actions (a click in the folder browser, a row selected, a key pressed), each
// timed until the widgets it changes have been painted.
//
// Lifetime: PrepareHome() runs before the QApplication exists; an AppDriver
// lives inside the QApplication. Only files under the scratch folder are
// written; the source folders are only hard-linked from.
#include "Assembly.h"
#include "BrowserTextView.h"
#include "FSBrowser.h"
#include "FolderModel.h"
#include "MailContents.h"
#include "MailTitles.h"
#include "Title.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QListView>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QSet>
#include <QTableView>
#include <QThread>

#include <spawn.h>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

extern char **environ;

namespace bench {

using Clock = std::chrono::steady_clock;

inline double MsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

inline double CpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

inline double Median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

struct ChildRun {
    bool ok = false;
    double wallMs = 0, cpuMs = 0;
};

// Runs a program (found on PATH) with its arguments, stdin and stdout on
// /dev/null; wall-clock and CPU time (user + system) from start to exit.
inline ChildRun RunChild(const QStringList &args)
{
    std::vector<QByteArray> bytes;
    for (const QString &a : args)
        bytes.push_back(a.toLocal8Bit());
    std::vector<char *> argv;
    for (QByteArray &b : bytes)
        argv.push_back(b.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    ChildRun run;
    const Clock::time_point start = Clock::now();
    pid_t pid = -1;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return run;
    int status = 0;
    rusage usage{};
    while (wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    run.wallMs = MsSince(start);
    run.cpuMs = (double(usage.ru_utime.tv_sec) + double(usage.ru_stime.tv_sec)) * 1e3 +
                (double(usage.ru_utime.tv_usec) + double(usage.ru_stime.tv_usec)) / 1e3;
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return run;
}

struct ProcStatus {
    long rssKb = 0, hwmKb = 0;
};

inline ProcStatus ReadProcStatus()
{
    ProcStatus s;
    std::ifstream in("/proc/self/status");
    std::string key;
    long value = 0;
    while (in >> key) {
        if (key == "VmRSS:" && in >> value)
            s.rssKb = value;
        else if (key == "VmHWM:" && in >> value)
            s.hwmKb = value;
    }
    return s;
}

struct InotifyCount {
    long folder = 0;   // events of the folder itself: it was opened or listed
    long expected = 0; // events of the file of the mail on show
    long other = 0;    // events of any other file in the folder
};

// Reads every pending event of a non-blocking inotify descriptor. A file
// counts as the shown mail's when its name up to the last '.' is shownStem.
inline InotifyCount DrainInotify(int fd, const QByteArray &shownStem)
{
    InotifyCount count;
    alignas(inotify_event) char buffer[64 * 1024];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0)
            return count;
        for (ssize_t at = 0; at < n;) {
            const auto *event = reinterpret_cast<const inotify_event *>(buffer + at);
            at += ssize_t(sizeof(inotify_event) + event->len);
            const QByteArray name = event->len ? QByteArray(event->name) : QByteArray();
            if (name.isEmpty()) {
                ++count.folder;
            } else if (!shownStem.isEmpty() && name.left(name.lastIndexOf('.')) == shownStem) {
                ++count.expected;
            } else {
                if (++count.other <= 5)
                    std::fprintf(stderr, "  folder access: %s (mask %#x)\n", name.constData(), event->mask);
            }
        }
    }
}

// The scratch home and store: WORK/home with the settings folder, its
// "WEX_Root" link to WORK/store, and an InBox of three small mails.
inline bool PrepareHome(const QString &work)
{
    const QString settings = work + QStringLiteral("/home/Library/Preferences/WEX_Preferences");
    const QString inbox = work + QStringLiteral("/store/InBox");
    if (!QDir().mkpath(settings) || !QDir().mkpath(inbox))
        return false;
    const QString root = QDir(work + QStringLiteral("/store")).canonicalPath();
    QFile::link(root, settings + QStringLiteral("/WEX_Root"));
    for (int i = 1; i <= 3; ++i) {
        std::ofstream(QStringLiteral("%1/%2.mail").arg(inbox).arg(i).toStdString())
            << "From: ken@jp.example.org\nSubject: hello " << i << "\nDate: Mon, " << i
            << " Dec 2026 10:00:00 +0900\n\nX-WEX-CharSet: UTF8\n\nA short mail.\n";
    }
    const QByteArray home = QDir(work + QStringLiteral("/home")).canonicalPath().toLocal8Bit();
    qputenv("HOME", home);
    qputenv("XDG_CONFIG_HOME", home + "/.config");
    qputenv("XDG_CACHE_HOME", home + "/.cache"); // header caches stay in the scratch home
    return true;
}

// Notes which of the watched widgets have been painted since reset().
class PaintWatch : public QObject {
public:
    void watch(QWidget *w)
    {
        widgets_.insert(w);
        w->installEventFilter(this);
    }
    void reset() { painted_.clear(); }
    bool allPainted() const { return painted_.size() == widgets_.size(); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && widgets_.contains(watched))
            painted_.insert(watched);
        return false;
    }

private:
    QSet<QObject *> widgets_, painted_;
};

struct ClickRun {
    bool ok = false;
    double wallMs = 0, cpuMs = 0, loadMs = 0; // loadMs: until the click's handling returned
    // The longest time the event loop was busy without a break, from the
    // click (its own handling included) until the loaded folder was painted.
    double stallMs = 0;
};
struct SelectRun {
    bool ok = false;
    double setMs = 0, paintedMs = 0;
    double wholeMs = 0; // until the whole of a long text has arrived in the view
    qsizetype characters = 0;
};
struct KeyRun {
    double wallMs = 0;
    bool painted = false;
};

class AppDriver {
public:
    explicit AppDriver(const QString &work)
        : store_(QDir(work + QStringLiteral("/store")).canonicalPath()),
          app_(work + QStringLiteral("/defaults.json"))
    {
    }

    wex::Assembly &assembly() { return app_; }
    wex::MailTitles *titles() const { return &app_.mailTitles(); }
    const QString &storePath() const { return store_; }

    bool start()
    {
        if (!app_.start())
            return false;
        app_.showWindows();
        // Paints count from the moment the titles arrive: the table is
        // painted empty at once when another folder starts loading.
        QObject::connect(titles(), &wex::MailTitles::titlesLoaded, titles(), [this] {
            paints_.reset();
            loaded_ = true;
        });
        paints_.watch(app_.mailTable().viewport());
        paints_.watch(app_.textView().viewport());
        paints_.reset();
        return processUntilPainted();
    }

    bool copyIntoStore(const QString &source, const QString &name)
    {
        return RunChild({QStringLiteral("cp"), QStringLiteral("-al"), QStringLiteral("--"), source,
                         store_ + QLatin1Char('/') + name})
            .ok;
    }

    bool writeFile(const QString &path, std::string_view bytes) const
    {
        std::ofstream out(path.toStdString(), std::ios::binary);
        out.write(bytes.data(), std::streamsize(bytes.size()));
        return bool(out.flush());
    }
    static qint64 fileSize(const QString &path) { return QFileInfo(path).size(); }

    // A single click (press and release) on a store folder's row in the
    // folder browser, until the table and the mail text have been painted.
    ClickRun clickFolder(const QString &name)
    {
        ClickRun run;
        wex::FSBrowser *browser = &app_.fsBrowser();
        wex::FolderModel *model = browser->folderModel();
        int column = -1;
        for (int c = 0; c <= browser->lastColumn(); ++c)
            if (QDir::cleanPath(QString::fromUtf8(model->pathOf(browser->columnView(c)->rootIndex()))) == store_)
                column = c;
        if (column < 0)
            return run;
        browser->reloadColumn(column); // the folder may be new
        QListView *view = browser->columnView(column);
        const int row = model->rowOfName(view->rootIndex(), name.toUtf8());
        if (row < 0)
            return run;
        const QModelIndex index = model->index(row, 0, view->rootIndex());
        browser->scrollColumnToVisible(column);
        view->scrollTo(index);
        QApplication::processEvents();
        const QPointF at = view->visualRect(index).center();
        const QPointF global = view->viewport()->mapToGlobal(at);
        QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);

        paints_.reset();
        loaded_ = false;
        const double cpu = CpuMs();
        const Clock::time_point start = Clock::now();
        QApplication::sendEvent(view->viewport(), &press);
        QApplication::sendEvent(view->viewport(), &release);
        run.loadMs = MsSince(start);
        run.stallMs = run.loadMs;
        bool painted = false;
        while (!painted && MsSince(start) < 120000) {
            const Clock::time_point step = Clock::now();
            QApplication::processEvents(QEventLoop::AllEvents);
            run.stallMs = std::max(run.stallMs, MsSince(step));
            painted = loaded_ && paints_.allPainted();
            if (!painted)
                QThread::usleep(200); // as an idle event loop would wait
        }
        run.wallMs = MsSince(start);
        run.cpuMs = CpuMs() - cpu;
        run.ok = painted && shownIsFirstUnread(name);
        if (!run.ok)
            std::fprintf(stderr, "app_bench: click on %s: painted %d, rows %d, selected %d\n", qPrintable(name),
                         painted, titles()->count(), titles()->selectedRow());
        return run;
    }

    int rowOfFile(const QString &fileName) const
    {
        const QByteArray tail = '/' + fileName.toLocal8Bit();
        for (int row = 0; row < titles()->count(); ++row)
            if (titles()->titleAt(row)->path().endsWith(tail))
                return row;
        return -1;
    }

    // Selects a row as a click on it does, until the mail text was painted.
    SelectRun selectRow(int row)
    {
        SelectRun run;
        QTableView *table = &app_.mailTable();
        if (titles()->selectedRow() == row) { // nothing changes, nothing is painted
            run.ok = true;
            return run;
        }
        paints_.reset();
        const Clock::time_point start = Clock::now();
        table->selectionModel()->setCurrentIndex(table->model()->index(row, 0),
                                                 QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        run.setMs = MsSince(start);
        wex::BrowserTextView *textView = &app_.textView();
        run.characters = textView->fullText().size();
        run.ok = processUntilPainted();
        run.paintedMs = MsSince(start);
        // A long text's start is shown at once and the rest appended from the
        // event loop; also time until all of it is in the view.
        while (textView->isLoading())
            QCoreApplication::processEvents();
        run.wholeMs = MsSince(start);
        run.ok = run.ok && textView->document()->characterCount() - 1 == run.characters;
        return run;
    }

    // One key press delivered to the title table, as the window system would.
    KeyRun pressKey(const QKeyEvent &key)
    {
        KeyRun run;
        QKeyEvent event(key.type(), key.key(), key.modifiers());
        paints_.reset();
        const Clock::time_point start = Clock::now();
        QApplication::sendEvent(&app_.mailTable(), &event);
        run.painted = processUntilPainted();
        run.wallMs = MsSince(start);
        return run;
    }

    // The shown mail's file name up to its last '.'.
    QByteArray shownFileStem() const
    {
        const QByteArray path = app_.mailContents().currentPathString();
        const QByteArray name = path.mid(path.lastIndexOf('/') + 1);
        return name.left(name.lastIndexOf('.'));
    }

private:
    // Handles events until every watched widget has been painted (at most 5 s).
    bool processUntilPainted()
    {
        const Clock::time_point start = Clock::now();
        do {
            QApplication::processEvents();
            if (paints_.allPainted())
                return true;
        } while (MsSince(start) < 5000);
        return false;
    }

    // The folder is loaded, a row is selected, every row above it is read,
    // and the text view shows the selected mail.
    bool shownIsFirstUnread(const QString &name) const
    {
        const int selected = titles()->selectedRow();
        if (!QString::fromLocal8Bit(titles()->folderPath()).contains(QLatin1Char('/') + name) || selected < 0)
            return false;
        for (int row = 0; row < selected; ++row)
            if (titles()->titleAt(row)->unreadState())
                return false;
        return app_.mailContents().currentPathString() == titles()->titleAt(selected)->path();
    }

    QString store_;
    bool loaded_ = false; // titles arrived since the last click
    wex::Assembly app_;
    PaintWatch paints_;
};

} // namespace bench
