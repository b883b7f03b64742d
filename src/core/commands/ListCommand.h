#pragma once
// The headless listing of one folder:
//   wex-browser --list FOLDER [--sort state|from|date|subject|none] [--reverse] [--no-cache]
// One line per mail of the folder (TitleLines.h); by date ascending unless
// --sort says otherwise; "--sort none" keeps the folder's listing order (byte
// order of the names). The folder is read through the header cache unless
// --no-cache is given or WEX_NO_CACHE is set; the output is the same either
// way.
#include "HeadlessCommand.h"
#include "TitleLines.h"
#include <cstdio>

namespace wex {

// argv[1] is "--list". Returns the exit status: 0 listed, 1 the folder cannot
// be listed or the output failed (one line on err), 2 usage.
int RunListCommand(int argc, char **argv, FILE *out, FILE *err);

} // namespace wex
