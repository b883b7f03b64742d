#pragma once
// wex-browser --journal: the journal's records, newest first, one per line,
// six TAB-separated fields:
//   time ("YYYY-MM-DD HH:MM:SS", local), step number, kind (read, replied,
//   move, undo, redo), state (done; not made; unconfirmed; "undone" is added
//   to the changes of a step Undo took back), from path, to path
// with the path escapes of the other commands. The journal is only read.
// Exit status 0; 1 when the journal cannot be read or is damaged (told on
// stderr) or the output fails; 2 for a usage error.
#include <cstdio>

namespace wex {

inline constexpr char kJournalUsage[] = "usage: wex-browser --journal\n";

int RunJournalCommand(int argc, char **argv, FILE *out, FILE *err);

} // namespace wex
