#include "AppInfo.h"

#include "ProgramVersion.h"

#include <QGuiApplication>
#include <QIcon>

namespace wex {

void SetupApplicationInfo()
{
    QCoreApplication::setApplicationName(QStringLiteral("WEX Browser"));
    QCoreApplication::setOrganizationName(QStringLiteral("WEX"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(kProgramVersion));
    // The desktop entry that launched the program, for its icon and name.
    QGuiApplication::setDesktopFileName(QStringLiteral("wex-browser"));
    // The installed icon theme's; none when run from the build folder.
    QGuiApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("wex-browser")));
}

} // namespace wex
