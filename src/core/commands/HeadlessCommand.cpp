#include "HeadlessCommand.h"

#include "CommandLine.h"
#include "CountsCommand.h"
#include "FindCommand.h"
#include "JournalCommand.h"
#include "ListCommand.h"
#include "PathUtils.h"
#include "ProgramVersion.h"
#include "RelatedCommand.h"
#include "UnreadCommand.h"

#include <cstring>

namespace wex {

namespace {

// The usage lines are typed as they stand; the explanation under them is
// translated.
constexpr char kHelpText[] = QT_TRANSLATE_NOOP(
    "WEX", "Without a command, WEX Browser opens its windows and shows PATH (a folder or a mail),\n"
           "or the InBox. The commands print one line per mail: state, from, date, subject,\n"
           "code number and path, separated by TABs. See wex-browser(1) for the details.");

} // namespace

// Every "--" argument is answered without a display: a mistyped command gets
// its usage lines instead of a desktop start that may have no display to use.
bool IsHeadlessCommand(int argc, char **argv) { return argc >= 2 && std::strncmp(argv[1], "--", 2) == 0; }

int RunHeadlessCommand(int argc, char **argv, FILE *out, FILE *err)
{
    const char *command = argc >= 2 ? argv[1] : "";
    if (std::strcmp(command, "--list") == 0)
        return RunListCommand(argc, argv, out, err);
    if (std::strcmp(command, "--unread") == 0)
        return RunUnreadCommand(argc, argv, out, err);
    if (std::strcmp(command, "--related") == 0)
        return RunRelatedCommand(argc, argv, out, err);
    if (std::strcmp(command, "--find") == 0)
        return RunFindCommand(argc, argv, out, err);
    if (std::strcmp(command, "--counts") == 0)
        return RunCountsCommand(argc, argv, out, err);
    if (std::strcmp(command, "--journal") == 0)
        return RunJournalCommand(argc, argv, out, err);
    if (std::strcmp(command, "--version") == 0) {
        std::fprintf(out, "wex-browser %s\n", kProgramVersion);
        return std::fflush(out) == 0 && !std::ferror(out) ? 0 : 1;
    }
    const bool help = std::strcmp(command, "--help") == 0;
    FILE *to = help ? out : err;
    if (!help && argc >= 2)
        std::fprintf(err, "wex-browser: unknown command %s\n", argv[1]);
    for (const char *line : {kDesktopUsage, kListUsage, kUnreadUsage, kRelatedUsage, kFindUsage, kCountsUsage, kJournalUsage, kVersionUsage})
        std::fputs(line, to);
    if (help)
        std::fprintf(out, "\n%s\n", Localize(kHelpText).toLocal8Bit().constData());
    return help ? 0 : 2;
}

} // namespace wex
