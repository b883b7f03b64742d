#pragma once
// The headless listing: wex-browser --list FOLDER [--sort state|from|date|subject] [--reverse]
//
// Output contract, one line per title, six TAB-separated fields:
//   state, from, date ("YYYY-MM-DD HH:MM:SS +HHMM", "" when empty), subject,
//   code number, path
// with "\\", "\t", "\n", "\r" escaped in from, subject and path.
#include "Title.h"
#include <QByteArray>
#include <cstdio>

namespace wex {

// True when argv[1] begins with "--": such a command runs without a display.
bool IsHeadlessCommand(int argc, char **argv);
// Runs the command; returns the exit status (0 ok, 1 folder error, 2 usage).
// argv[1] is "--list" ("--help" prints the usage, "--version" the program's
// name and version; any other "--" command is a usage error). Needs a
// QCoreApplication only for translations.
int RunListCommand(int argc, char **argv, FILE *out, FILE *err);
// One output line, without the line feed.
QByteArray FormatTitleLine(const Title &title);

} // namespace wex
