// Quick filter benchmark: the window time of a keystroke in the filter field
// over one large folder, from the text set in the field until the title table
// and the status line are painted again.
//
//   filter_bench FOLDER WORD RUNS
//
// Loads FOLDER into a title table shown offscreen (the header cache of the
// calling environment is used and may be written), then RUNS times types
// WORD one letter after another (each narrowing the rows) and takes it back
// one letter after another (each broadening them). Prints
// "result NAME VALUE" lines: the median and worst keystroke of each kind in
// ms, and the rows of the folder and those WORD leaves. Nothing in FOLDER is
// written: no mail is shown, so none is marked read.
#include "Coding.h"
#include "DefaultsStore.h"
#include "MailTitles.h"
#include "QuickFilterField.h"
#include "StoreContext.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMainWindow>
#include <QStatusBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

void Result(const char *name, double value) { std::printf("result %s %.2f\n", name, value); }

} // namespace

int main(int argc, char **argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: filter_bench FOLDER WORD RUNS\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QString folderPath = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    const QByteArray folder = QFile::encodeName(folderPath);
    const QString word = QString::fromLocal8Bit(argv[2]);
    const int runs = std::max(1, std::atoi(argv[3]));

    QTemporaryDir scratch;
    wex::Coding coding;
    wex::DefaultsStore defaults(scratch.filePath(QStringLiteral("prefs.json")));
    const QString root = QFileInfo(folderPath).absolutePath(); // the folder's parent stands for the store
    const wex::StoreContext store{{}, QFile::encodeName(root), root};
    QMainWindow window;
    auto *central = new QWidget(&window);
    auto *layout = new QVBoxLayout(central);
    auto *field = new QLineEdit(central);
    auto *table = new QTableView(central);
    layout->addWidget(field);
    layout->addWidget(table);
    window.setCentralWidget(central);
    window.resize(1000, 700);
    wex::MailTitles titles(coding, defaults, store, *table, window);
    wex::QuickFilterField filter(titles, *field, *window.statusBar());
    window.show();

    titles.loadTitleTable(folder, false, {});
    QElapsedTimer waited;
    waited.start();
    while (titles.isLoading() && waited.elapsed() < 600000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    if (titles.isLoading() || titles.count() == 0) {
        std::fprintf(stderr, "filter_bench: %s did not load\n", argv[1]);
        return 1;
    }
    const int rows = titles.count();
    int found = 0;

    std::vector<double> narrowing, broadening;
    const auto keystroke = [&](const QString &text, std::vector<double> &times) {
        QElapsedTimer timer;
        timer.start();
        field->setText(text);
        window.repaint(); // the table and the status line, painted at once
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    };
    for (int run = 0; run < runs; ++run) {
        for (qsizetype n = 1; n <= word.size(); ++n)
            keystroke(word.left(n), narrowing);
        found = titles.count();
        for (qsizetype n = word.size() - 1; n >= 0; --n)
            keystroke(word.left(n), broadening);
        if (titles.count() != rows) {
            std::fprintf(stderr, "filter_bench: %d rows after the words went, %d before\n", titles.count(), rows);
            return 1;
        }
    }
    Result("rows", rows);
    Result("found", found);
    Result("narrowing_median_ms", Median(narrowing));
    Result("narrowing_worst_ms", *std::max_element(narrowing.begin(), narrowing.end()));
    Result("broadening_median_ms", Median(broadening));
    Result("broadening_worst_ms", *std::max_element(broadening.begin(), broadening.end()));
    return 0;
}
