// Timings of single units, kept out of the unit tests (which assert what the
// units do, never how fast):
//
//   unit_bench [RUNS]          (default 5; medians in milliseconds)
//     decode-sjis-5mb, decode-utf8-5mb   TextDecoder over a 5 MB mail text
//     scan-50mb-mail                     TitleScanner over a folder of one 50 MB
//                                        mail whose charset line is its last line
//     shell-run-return                   ShellCommand::run() of "sleep 1" until it
//                                        returns (the event loop must not wait)
//     shell-background-report            a text that leaves "sleep 2" running in
//                                        the background, until its report
// Results go to stdout as "result NAME VALUE" lines. The 5 MB mails shown in
// the application are timed by app_bench.
#include "Coding.h"
#include "ShellCommand.h"
#include "TextDecoder.h"
#include "TitleScanner.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace wex;

namespace {

double Median(const std::function<void()> &work, int runs)
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        ms.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

void Result(const char *name, double value) { std::printf("result %s %.2f\n", name, value); }

QByteArray Repeat(const QByteArray &line, qsizetype size)
{
    QByteArray out;
    out.reserve(size + line.size());
    while (out.size() < size)
        out += line;
    return out;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;

    TextDecoder decoder;
    const QByteArray sjis = Repeat(QByteArray("Subject: test\n\x82\xa0\x82\xa2 abc \x88\x9f", 26), 5 << 20);
    const QByteArray utf8 = Repeat("Subject: test \xe3\x81\x82\n", 5 << 20);
    Result("decode-sjis-5mb", Median([&] { decoder.decode(sjis, enc::ShiftJIS); }, runs));
    Result("decode-utf8-5mb", Median([&] { decoder.decode(utf8, enc::UTF8); }, runs));

    QTemporaryDir dir;
    QFile big(dir.path() + QStringLiteral("/big.ygm"));
    if (!big.open(QIODevice::WriteOnly))
        return 1;
    big.write("From: big\nSubject: fifty megabytes\n\n" + Repeat(QByteArray(79, 'y') + '\n', 50 << 20)
              + "X-WEX-CharSet: SJIS\n");
    big.close();
    const Coding coding;
    TitleScanner scanner(coding);
    Result("scan-50mb-mail", Median([&] { scanner.loadTitleArray(QFile::encodeName(dir.path())); }, runs));

    auto runShell = [](const QString &text, double *returned) {
        QEventLoop loop;
        QElapsedTimer timer;
        timer.start();
        ShellCommand::run(text, {}, [&](int) { loop.quit(); });
        *returned = double(timer.nsecsElapsed()) / 1e6;
        loop.exec();
        return double(timer.nsecsElapsed()) / 1e6;
    };
    double returned = 0;
    std::vector<double> returns;
    for (int i = 0; i < runs; ++i) {
        runShell(QStringLiteral("sleep 1"), &returned);
        returns.push_back(returned);
    }
    std::sort(returns.begin(), returns.end());
    Result("shell-run-return", returns[returns.size() / 2]);
    Result("shell-background-report",
           Median([&] { runShell(QStringLiteral("(sleep 2)&"), &returned); }, runs));
    return 0;
}
