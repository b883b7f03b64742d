#pragma once
// Ends the application through QCoreApplication::quit() when SIGTERM, SIGINT
// or SIGHUP arrives, so aboutToQuit runs and the preferences are written also
// when the desktop session ends or the terminal goes away.
//
// The handler only writes one byte to a pipe (async-signal-safe); a
// QSocketNotifier reads it on the event loop and calls quit() there. A signal
// that arrives before the loop runs is acted on as soon as it runs. One
// object per process; the handlers stay installed for the process's life.
#include <QObject>

class QSocketNotifier;

namespace wex {

class QuitOnSignals : public QObject {
    Q_OBJECT
public:
    explicit QuitOnSignals(QObject *parent = nullptr);
    ~QuitOnSignals() override;
    bool isInstalled() const { return notifier_ != nullptr; }

private:
    void drain();
    QSocketNotifier *notifier_ = nullptr;
};

} // namespace wex
