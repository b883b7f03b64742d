#pragma once
// The store's places as the windows are handed them: one value, filled at
// start-up from the store locations and read by every controller that reaches
// into the store. Tests make one for a temporary store instead of changing
// the process's home.
#include <QByteArray>
#include <QString>

namespace wex {

struct StoreContext {
    QByteArray settingPath; // the settings folder, ending in "/"; empty when none
    QByteArray rootPath;    // the store root, no trailing slash; empty when unresolved
    QString rootString;     // rootPath decoded for display and for stored folder entries

    // The store's places as the store locations found them (SetWEXPath).
    static StoreContext fromStoreLocations();
};

} // namespace wex
