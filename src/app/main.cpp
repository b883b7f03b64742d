// wex-browser: with a headless command (--list, --unread, ...) it runs without
// a display on Qt Core alone; otherwise it is the desktop application, opening
// the path given (a folder or a mail) or the InBox.
#include "AppController.h"
#include "AppInfo.h"
#include "Assembly.h"
#include "HeadlessCommand.h"
#include "QuitOnSignals.h"
#include "Translations.h"

#include <QApplication>
#include <cstdio>
#include <cstring>

int main(int argc, char **argv)
{
    if (wex::IsHeadlessCommand(argc, argv)) {
        QCoreApplication app(argc, argv);
        // Only the help speaks the user's language: listings and their
        // messages are read by scripts and stay the same in every locale.
        if (std::strcmp(argv[1], "--help") == 0)
            wex::InstallTranslations();
        return wex::RunHeadlessCommand(argc, argv, stdout, stderr);
    }
    // Takes Qt's own options (-platform, -style, ...) out of argv.
    QApplication app(argc, argv);
    wex::SetupApplicationInfo();
    // Before any window exists: texts are translated when they are set.
    wex::InstallTranslations();
    // Installed first, so a signal during start-up still ends the run
    // through aboutToQuit once the event loop is up.
    wex::QuitOnSignals quitOnSignals;
    wex::Assembly assembly;
    // A file manager may pass several paths (%F): the first is opened.
    if (argc >= 2)
        assembly.appController().setStartPath(argv[1]);
    if (!assembly.start())
        return 255; // no settings folder: nothing shown, nothing written
    assembly.showWindows();
    return app.exec();
}
