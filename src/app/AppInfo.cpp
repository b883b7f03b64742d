#include "AppInfo.h"

#include <QCoreApplication>

namespace wex {

void SetupApplicationInfo()
{
    QCoreApplication::setApplicationName(QStringLiteral("WEX Browser"));
    QCoreApplication::setOrganizationName(QStringLiteral("WEX"));
    QCoreApplication::setApplicationVersion(QStringLiteral("0.1.0"));
}

} // namespace wex
