#include "DownloadWatch.h"

#include "ProbeRunner.h"
#include "ShellCommand.h"

#include <algorithm>
#include <iterator>

namespace wex {

namespace {

const QString kProbes[] = {
    QStringLiteral("ps xw | grep WEX_Fetch | grep -v grep > /dev/null"),
    QStringLiteral("ps xw | grep WEX_Filer | grep -v grep > /dev/null"),
    QStringLiteral("ps xw | grep java | grep WEX | grep -v grep > /dev/null"),
};
constexpr int kProbeCount = int(std::size(kProbes));

} // namespace

QString DownloadWatch::downloaderCommand()
{
    // The suite folder travels as $1, quoted, never inside the text.
    return QStringLiteral("nice java -cp \"$1\"/tools/WEX_kit.jar:/System/Library/Java/ WEX.fetch.WEX_Fetch &");
}

const QString &DownloadWatch::probe(int index)
{
    return kProbes[std::clamp(index, 0, kProbeCount - 1)];
}

DownloadWatch::DownloadWatch(std::chrono::milliseconds checkInterval, ProbeRunner *runner, QObject *parent)
    : QObject(parent), runner_(runner)
{
    timer_.setInterval(checkInterval);
    connect(&timer_, &QTimer::timeout, this, &DownloadWatch::checkDownloading);
}

DownloadWatch *DownloadWatch::start(std::chrono::milliseconds checkInterval, ProbeRunner *runner, QObject *parent)
{
    auto *watch = new DownloadWatch(checkInterval, runner, parent);
    // The shell returns as soon as the downloader is in the background; what
    // becomes of the downloader is seen only through the probes.
    runner->run(downloaderCommand(), {SuiteFolder()}, watch, {});
    watch->timer_.start();
    return watch;
}

void DownloadWatch::checkDownloading()
{
    if (looking_ || ended_)
        return;
    looking_ = true;
    runProbe(0);
}

void DownloadWatch::runProbe(int index)
{
    // Not called once this watch is gone.
    runner_->run(kProbes[index], {}, this, [this, index](int status) {
        if (status == 0) {
            // Still running: the next look comes with the timer.
            looking_ = false;
            return;
        }
        if (index + 1 < kProbeCount)
            runProbe(index + 1);
        else
            end();
    });
}

void DownloadWatch::end()
{
    looking_ = false;
    ended_ = true;
    timer_.stop();
    emit ended();
    deleteLater();
}

} // namespace wex
