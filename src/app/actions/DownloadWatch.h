#pragma once
// One download of new mail: starts the suite's downloader in the background,
// then looks at the process list every check interval until none of the
// suite's programs runs any more, reports ended() once and deletes itself.
//
// A look runs the three `ps` probes one after another, each an asynchronous
// child process started by the ProbeRunner's thread, and stops at the first
// that finds a process: the event loop never waits for `ps`, nor for a child
// to be created. A look still in flight when the timer fires again is
// not doubled. A probe that cannot run counts as finding nothing, so a
// downloader that cannot start ends its watch at the first look.
//
// Ownership: the parent owns the watch until it ends; afterwards it deletes
// itself (deleteLater), and no timer or child of it is left behind.
#include <QObject>
#include <QString>
#include <QTimer>
#include <chrono>

namespace wex {

class ProbeRunner;

class DownloadWatch : public QObject {
    Q_OBJECT
public:
    // The fixed shell texts: the downloader (the suite folder is "$1") and
    // the three probes, in the order they run.
    static QString downloaderCommand();
    static const QString &probe(int index); // 0..2

    // Starts the downloader and the check timer (the first look comes one
    // checkInterval later). The runner must outlive the watch.
    static DownloadWatch *start(std::chrono::milliseconds checkInterval, ProbeRunner *runner, QObject *parent);

    bool hasEnded() const { return ended_; }

signals:
    // Once, when a look found none of the suite's programs running.
    void ended();

private:
    DownloadWatch(std::chrono::milliseconds checkInterval, ProbeRunner *runner, QObject *parent);
    void checkDownloading();
    void runProbe(int index);
    void end();

    ProbeRunner *runner_;
    QTimer timer_;
    bool looking_ = false;
    bool ended_ = false;
};

} // namespace wex
