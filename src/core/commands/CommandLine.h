#pragma once
// What the headless commands share: their usage lines, the option parser,
// the sort of the output and the lexical absolute path of an argument.
#include "Title.h"
#include <QByteArray>
#include <optional>
#include <vector>

namespace wex {

inline constexpr char kDesktopUsage[] = "usage: wex-browser [PATH]\n";
inline constexpr char kVersionUsage[] = "usage: wex-browser --version | --help\n";
inline constexpr char kListUsage[] =
    "usage: wex-browser --list FOLDER [--sort state|from|date|subject|none] [--reverse] [--no-cache]\n";
inline constexpr char kUnreadUsage[] =
    "usage: wex-browser --unread [--store ROOT] [--sort state|from|date|subject|none] [--reverse] [--no-cache]\n";
inline constexpr char kFindUsage[] =
    "usage: wex-browser --find QUERY [--store ROOT] [--sort state|from|date|subject|none] [--reverse] [--no-cache]\n";
inline constexpr char kCountsUsage[] = "usage: wex-browser --counts [FOLDER | --store ROOT] [--no-cache]\n";
inline constexpr char kRelatedUsage[] =
    "usage: wex-browser --related MAIL [--store ROOT] [--sort state|from|date|subject|none] [--reverse] "
    "[--no-cache]\n";

struct CommandOptions {
    std::vector<const char *> operands; // the arguments that are no options, in order
    // The sort key; nullopt for "--sort none", which keeps the order the
    // command found the titles in (and makes --reverse moot).
    std::optional<TitleKey> key = TitleKey::Date;
    bool reverse = false;
    const char *store = nullptr; // --store ROOT
    // Whether the header cache is used: off by "--no-cache" or WEX_NO_CACHE.
    bool useCache = true;
};

// Parses argv[2] onwards: "--sort KEY", "--reverse", "--no-cache", "--store
// ROOT" (only when allowStore), and after "--" operands only. False on anything else, on
// a missing value, on an empty operand or ROOT, and when the number of
// operands is not operandCount.
bool ParseCommandOptions(int argc, char **argv, bool allowStore, size_t operandCount, CommandOptions *options);

// Stable sort by the options' key and direction; nothing for "--sort none".
void SortForOutput(TitleArray &titles, const CommandOptions &options);

// The argument made absolute against the working folder and normalised
// lexically: "." and empty components go, ".." removes the component before
// it. No link is resolved, so printed paths stay under the folder as the user
// named it. False (errno set) when the working folder cannot be found.
bool AbsolutePath(const char *argument, QByteArray *out);

// Writes the listing; 0, or 1 with one line on err when the output failed.
int WriteListing(const TitleArray &titles, FILE *out, FILE *err);

} // namespace wex
