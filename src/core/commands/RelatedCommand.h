#pragma once
// The headless thread of one mail:
//   wex-browser --related MAIL [--store ROOT] [--sort state|from|date|subject|none] [--reverse]
// One line per mail of MAIL's thread as found through the store's
// "temp/refByAliases" (lines as TitleLines.h says); by date ascending unless
// --sort says otherwise. "--sort none" keeps the walk's order: MAIL, then its
// ancestors, then its descendants, depth first.
#include <cstdio>

namespace wex {

// argv[1] is "--related". MAIL is a mail file or an attachment folder (or a
// link to one, resolved to its end). Exit status: 0 listed, 1 no settings
// folder, no store, MAIL missing or not a mail, or a failed output (one line
// on err), 2 usage.
int RunRelatedCommand(int argc, char **argv, FILE *out, FILE *err);

} // namespace wex
