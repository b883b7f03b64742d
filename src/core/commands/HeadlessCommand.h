#pragma once
// The command line without a display: "wex-browser --list ...", "--unread",
// "--related", "--help". These run on Qt Core alone.
#include <cstdio>

namespace wex {

// True when argv[1] begins with "--": such a command runs without a display.
bool IsHeadlessCommand(int argc, char **argv);
// Runs the command named by argv[1] and returns the exit status (0 done, 1 a
// failure named in one line on err, 2 usage). "--help" prints every usage line
// on out; any other "--" word is a usage error. Needs a QCoreApplication only
// for translations.
int RunHeadlessCommand(int argc, char **argv, FILE *out, FILE *err);

} // namespace wex
