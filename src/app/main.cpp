#include "ListCommand.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    if (wex::IsHeadlessCommand(argc, argv)) {
        QCoreApplication app(argc, argv);
        return wex::RunListCommand(argc, argv, stdout, stderr);
    }
    std::fprintf(stderr, "wex-browser: the desktop application is not built yet; use --list FOLDER\n");
    return 2;
}
