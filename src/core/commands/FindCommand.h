#pragma once
// wex-browser --find QUERY [--store ROOT] [--sort KEY] [--reverse] [--no-cache]:
// the mails of the whole store that the query matches (see FindQuery), one
// line each as --list prints them. Exit status 0; 1 when the store cannot be
// found or the output fails; 2 for a usage error or a query that cannot be
// parsed, with one line on stderr saying why.
#include <cstdio>

namespace wex {

int RunFindCommand(int argc, char **argv, FILE *out, FILE *err);

} // namespace wex
