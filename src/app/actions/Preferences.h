#pragma once
// The download preferences, the header cache switch and the preferences
// window.
//
// "Notify New Mail" (absent: on) says whether a download that brings new
// unread mail is told on the desktop; it is asked at each download's end.
//
// "Use Header Cache" (absent: on) says whether folders are listed with the
// header cache; WEX_NO_CACHE in the environment turns it off whatever is
// stored, and the switch is then shown off and disabled. A change counts from
// the next folder load on.
//
// "Download At Start Up", "Repeat Download" and "Download Interval in
// Minutes" are read once at start-up (loadPrefAndStartUpDownload) and written
// whenever the user changes them; the version stamp 1, 1, 0 is written at
// every start. While repeating is on, a download starts every interval,
// the first one a whole interval after repeating was switched on, the
// interval changed, or the application started.
//
// Intervals always lie in 1..kMaxInterval minutes, so that the period in
// seconds fits a signed 32-bit number: a stored interval of zero, below zero,
// absent or not a whole number counts as 10 (and is not written back); a
// larger one as kMaxInterval. The field reads its leading number (none reads
// as 0), corrects it into that range and shows the value in force.
//
// The window runs modally (preference()); however it is closed, closed() asks
// for the main windows in front and the interval field is read once more, so
// an interval typed without confirming still counts.
//
// The repeat timer is its own; the defaults store, the window, the downloads,
// the key editor and the title list must outlive it.
#include <QObject>
#include <chrono>
#include <cstdint>
#include <limits>

namespace wex {

class DefaultsStore;
class KeyEditor;
class MailTitles;
class Downloads;
class PreferencesWindow;
class RepeatTimer;

class Preferences : public QObject {
    Q_OBJECT
public:
    static constexpr int kDefaultInterval = 10;
    static constexpr int kMaxInterval = std::numeric_limits<int32_t>::max() / 60;

    // Connects the window's download and cache controls to this object.
    Preferences(DefaultsStore &defaults, PreferencesWindow &window, Downloads &downloads, KeyEditor &keyEditor,
                MailTitles &titles, QObject *parent = nullptr);

    // Whether the header cache is to be used: stored wish and environment.
    static bool headerCacheWanted(const DefaultsStore &defaults);
    void switchHeaderCache(bool on);
    // Whether new mail is to be told on the desktop.
    static bool notifyNewMailWanted(const DefaultsStore &defaults);
    void switchNotifyNewMail(bool on);

    // Start-up: reads the preferences, downloads once and starts repeating as
    // they ask, writes the version stamp.
    void loadPrefAndStartUpDownload();

    // Shows the window modally; returns when it is closed.
    void preference();
    // Closes the window (its Done button).
    void preferenceDone();

    // The actions of the three controls.
    void switchDownloadAtStartUp(bool on);
    void switchRepeatDownload(bool on);
    void intervalChanged();

    // (Re)starts the repeat timer with the current interval.
    void startRepeatDownload();
    // The repeat timer fired: one more download.
    void repeatDownload();

    bool downloadAtStartUp() const { return downloadAtStartUp_; }
    bool isRepeating() const { return repeatDownload_; }
    int downloadInterval() const { return downloadInterval_; }
    const RepeatTimer &downloadTimer() const { return *downloadTimer_; }

    // The interval in force for a stored value (nullopt: absent or not whole).
    static int intervalFromStore(std::optional<qint64> stored);
    // The interval in force for what the field holds.
    static int intervalFromText(const QString &text);

    // The length of a minute of the repeat interval: 60 s. A test seam.
    void setMinute(std::chrono::milliseconds minute) { minute_ = minute; }

signals:
    // The window was closed: the main windows are to come to the front.
    void closed();

private:
    void windowClosed();

    DefaultsStore &defaults_;
    PreferencesWindow &window_;
    Downloads &downloads_;
    KeyEditor &keyEditor_;
    MailTitles &titles_;
    RepeatTimer *downloadTimer_;
    bool downloadAtStartUp_ = false;
    bool repeatDownload_ = false;
    int downloadInterval_ = kDefaultInterval;
    std::chrono::milliseconds minute_ = std::chrono::minutes(1);
};

} // namespace wex
