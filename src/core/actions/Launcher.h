#pragma once
// Starts other programs: the suite's applications, the desktop's default
// application for a file, and the file manager.
//
// Programs always get an argument list (QProcess::startDetached); no path or
// mail name is ever put into a shell text. Started programs are never waited
// for and outlive this process.
//
// A "program" is either an application folder "X.app", which runs its
// executable "X.app/X" or else "X.app/Contents/MacOS/X", or an executable file.
#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

namespace wex {

// What became of one start.
struct LaunchResult {
    bool started = false;
    // The program as a user knows it: the application folder's or the
    // executable's name ("WEX_Composer.app", "xdg-open").
    QString program;
    // One short line naming the program, set exactly when nothing started.
    QString reason;
    bool ok() const { return started; }
};

class Launcher {
public:
    // The suite application appName ("WEX_Seek.app") under SuiteFolder().
    static QString suiteApplication(const QString &appName);
    // The settings folder's entry (an alias or the program itself, e.g.
    // "Mail_Reader") resolved to its end; empty when there is no settings
    // folder or the entry is missing or unresolvable.
    static QString settingsApplication(const QString &entryName);
    // The executable that runs program; empty when there is none.
    static QString executableOf(const QString &program);

    // Starts program without a file.
    static LaunchResult launchApplication(const QString &program);
    // Starts program with the one file as its argument.
    static LaunchResult openFileWithApplication(const QByteArray &file, const QString &program);
    // Opens the file in the desktop's default application: "xdg-open FILE".
    static LaunchResult openFile(const QByteArray &file);

    // Shows the files selected in the desktop's file manager (D-Bus
    // org.freedesktop.FileManager1.ShowItems through "dbus-send"); when no file
    // manager answers, opens each containing folder with "xdg-open". Runs in
    // the background: done is called once from the event loop with the outcome
    // (never when context is destroyed first; nothing at all without a
    // context). An empty list reports success.
    using RevealDone = std::function<void(const LaunchResult &)>;
    static void revealFiles(const QList<QByteArray> &files, QObject *context, RevealDone done);
};

} // namespace wex
