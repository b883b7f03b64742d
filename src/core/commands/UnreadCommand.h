#pragma once
// The headless unread list:
//   wex-browser --unread [--store ROOT] [--sort state|from|date|subject|none] [--reverse]
// One line per mail that the store's "temp/unreadAliases" points to (lines as
// TitleLines.h says); by date ascending unless --sort says otherwise; "--sort
// none" keeps the byte order of the alias names.
#include <cstdio>

namespace wex {

// argv[1] is "--unread". Exit status: 0 listed (a store without an unread
// alias folder has no unread mail: an empty listing), 1 no settings folder,
// no store, an alias folder that exists but cannot be listed, or a failed
// output (one line on err), 2 usage.
int RunUnreadCommand(int argc, char **argv, FILE *out, FILE *err);

} // namespace wex
