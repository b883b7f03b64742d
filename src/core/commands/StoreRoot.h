#pragma once
// The mail store a headless command works on: the folder given with
// "--store ROOT", or else the one the desktop application uses (the
// "WEX_Root" item of the settings folder).
#include <QByteArray>
#include <cstdio>

namespace wex {

// 0 with *root set to the store's folder (absolute, no trailing slash); 1 with
// one line on err when there is no settings folder or no store there.
int FindCommandStore(const char *storeArgument, FILE *err, QByteArray *root);

} // namespace wex
