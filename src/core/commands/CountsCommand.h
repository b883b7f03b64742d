#pragma once
// wex-browser --counts [FOLDER | --store ROOT] [--no-cache]: one line per
// folder, "unread TAB total TAB path", for FOLDER and the folders below it,
// or for the whole store (see WalkStoreFolders), counted from the names of
// the folder's entries as the folder browser counts them (CountMails; no
// mail is read, so --no-cache changes nothing). Exit status 0; 1 when the
// store or FOLDER cannot be used, a folder cannot be read (told on stderr,
// the others still counted) or the output fails; 2 for a usage error.
#include <cstdio>

namespace wex {

int RunCountsCommand(int argc, char **argv, FILE *out, FILE *err);

} // namespace wex
