// Moving many selected mails to a move destination in the real application
// (every controller and window, offscreen), the way the Move menu does it.
//
//   move_bench WORK [RUNS] [MAILS] [SELECTED]      (defaults: 5 5000 1000)
//
// Each run writes a fresh folder of MAILS small mails into the scratch store
// under WORK, opens it with a click in the folder browser, selects SELECTED of
// its rows and moves them to a fresh folder of the same store (same file
// system), running the event loop until the move has ended. Three selections:
//   contiguous  SELECTED adjacent rows from the middle of the list
//   scattered   every (MAILS / SELECTED)-th row
//   one-step    contiguous again, with the whole move in one step (how long
//               the window would freeze without the steps)
// For each: the time from the command until the move had ended and the table
// was painted, and the event loop's longest stall meanwhile (the largest gap
// between two turns of a 1 ms heartbeat timer, the command's own call
// included). Medians of RUNS; results as "result NAME VALUE" lines.
#include "app_bench_driver.h"

#include "MailMoves.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QItemSelectionModel>
#include <QTableView>
#include <QTimer>

#include <cstdio>
#include <fstream>

using namespace bench;

namespace {

void Result(const char *name, double value) { std::printf("result %s %.2f\n", name, value); }

bool WriteMails(const QString &folder, int count)
{
    if (!QDir().mkpath(folder))
        return false;
    for (int i = 0; i < count; ++i) {
        std::ofstream out(QStringLiteral("%1/%2.mail").arg(folder).arg(i).toStdString());
        out << "From: sender" << i % 97 << "@example.org\nSubject: mail " << i << "\nDate: Mon, " << 1 + i % 28
            << " Dec 2026 " << 10 + i % 12 << ":" << i % 60 << ":00 +0900\nX-WEX-CharSet: UTF8\n\nA short mail.\n";
        if (!out.flush())
            return false;
    }
    return true;
}

struct MoveRun {
    bool ok = false;
    double wallMs = 0, stallMs = 0;
};

enum class Selection { Contiguous, Scattered, OneStep };

MoveRun MoveSelected(AppDriver &app, Selection kind, int mails, int selected, int run)
{
    MoveRun result;
    const QString name = QStringLiteral("Move-%1-%2").arg(int(kind)).arg(run);
    const QString destination = app.storePath() + QStringLiteral("/Kept-%1-%2").arg(int(kind)).arg(run);
    if (!WriteMails(app.storePath() + QLatin1Char('/') + name, mails) || !QDir().mkpath(destination))
        return result;
    if (!app.clickFolder(name).ok)
        return result;

    QTableView *table = &app.assembly().mailTable();
    QItemSelectionModel *selection = table->selectionModel();
    const QAbstractItemModel *model = table->model();
    QItemSelection rows;
    if (kind == Selection::Scattered) {
        const int stride = std::max(1, mails / selected);
        for (int row = 0, n = 0; row < mails && n < selected; row += stride, ++n)
            rows.select(model->index(row, 0), model->index(row, 0));
    } else {
        const int first = std::max(0, (mails - selected) / 2);
        rows.select(model->index(first, 0), model->index(first + selected - 1, 0));
    }
    selection->setCurrentIndex(rows.first().topLeft(), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    selection->select(rows, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QApplication::processEvents();
    if (selection->selectedRows().size() != selected) {
        std::fprintf(stderr, "move_bench: %lld rows selected, not %d\n",
                     static_cast<long long>(selection->selectedRows().size()), selected);
        return result;
    }

    wex::MailMoves *moves = &app.assembly().mailMoves();
    moves->setStepBudget(kind == Selection::OneStep ? std::chrono::nanoseconds::max()
                                                    : std::chrono::nanoseconds(std::chrono::milliseconds(12)));
    QEventLoop loop;
    QObject::connect(moves, &wex::MailMoves::moveFinished, &loop, &QEventLoop::quit);
    // The heartbeat: the largest gap between two of its turns is the longest
    // time the event loop could not serve a timer (or a key press).
    QElapsedTimer beat;
    double longest = 0;
    QTimer heartbeat;
    heartbeat.setTimerType(Qt::PreciseTimer);
    QObject::connect(&heartbeat, &QTimer::timeout, [&] {
        longest = std::max(longest, double(beat.nsecsElapsed()) / 1e6);
        beat.restart();
    });
    heartbeat.start(1);

    const Clock::time_point start = Clock::now();
    beat.start();
    moves->moveMailToDirectory(destination);
    if (moves->isMoving())
        loop.exec();
    QApplication::processEvents(); // the table's last paint
    result.wallMs = MsSince(start);
    longest = std::max(longest, double(beat.nsecsElapsed()) / 1e6);
    heartbeat.stop();
    result.stallMs = longest;

    const qsizetype moved = QDir(destination).entryList(QDir::Files).size();
    result.ok = moved == selected && app.titles()->count() == mails - selected;
    if (!result.ok)
        std::fprintf(stderr, "move_bench: moved %lld, %d rows left (%s)\n", static_cast<long long>(moved),
                     app.titles()->count(), qPrintable(moves->lastMessage()));
    return result;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: move_bench WORK [RUNS] [MAILS] [SELECTED]\n");
        return 2;
    }
    const QString work = QString::fromLocal8Bit(argv[1]);
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    const int mails = argc > 3 ? std::max(2, std::atoi(argv[3])) : 5000;
    const int selected = argc > 4 ? std::clamp(std::atoi(argv[4]), 1, mails) : 1000;
    if (!PrepareHome(work))
        return 1;
    qputenv("WEX_SUITE", (work + QStringLiteral("/no-suite")).toLocal8Bit());
    QApplication application(argc, argv);
    AppDriver app(work);
    if (!app.start())
        return 1;

    const struct {
        Selection kind;
        const char *name;
    } kinds[] = {{Selection::Contiguous, "contiguous"}, {Selection::Scattered, "scattered"}, {Selection::OneStep, "one_step"}};
    for (const auto &k : kinds) {
        std::vector<double> wall, stall;
        for (int run = 0; run <= runs; ++run) { // run 0 warms up and is not counted
            const MoveRun r = MoveSelected(app, k.kind, mails, selected, run);
            if (!r.ok)
                return 1;
            std::fprintf(stderr, "  %s run %d: %.0f ms, longest stall %.1f ms\n", k.name, run, r.wallMs, r.stallMs);
            if (run == 0)
                continue;
            wall.push_back(r.wallMs);
            stall.push_back(r.stallMs);
        }
        Result((std::string("move_") + k.name + "_wall_ms").c_str(), Median(wall));
        Result((std::string("move_") + k.name + "_max_stall_ms").c_str(), Median(stall));
    }
    Result("move_mails", mails);
    Result("move_selected", selected);
    return 0;
}
