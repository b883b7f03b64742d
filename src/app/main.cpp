// wex-browser: with a headless command (--list, --unread, ...) it runs without a display
// on Qt Core alone; with no arguments it is the desktop application.
#include "AppInfo.h"
#include "Assembly.h"
#include "HeadlessCommand.h"
#include "QuitOnSignals.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    if (wex::IsHeadlessCommand(argc, argv)) {
        QCoreApplication app(argc, argv);
        return wex::RunHeadlessCommand(argc, argv, stdout, stderr);
    }
    QApplication app(argc, argv);
    wex::SetupApplicationInfo();
    // Installed first, so a signal during start-up still ends the run
    // through aboutToQuit once the event loop is up.
    wex::QuitOnSignals quitOnSignals;
    wex::Assembly assembly;
    if (!assembly.start())
        return 255; // no settings folder: nothing shown, nothing written
    assembly.showWindows();
    return app.exec();
}
