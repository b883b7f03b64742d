#include "HeadlessCommand.h"

#include "CommandLine.h"
#include "ListCommand.h"
#include "RelatedCommand.h"
#include "UnreadCommand.h"

#include <cstring>

namespace wex {

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
    const bool help = std::strcmp(command, "--help") == 0;
    FILE *to = help ? out : err;
    for (const char *line : {kDesktopUsage, kListUsage, kUnreadUsage, kRelatedUsage})
        std::fputs(line, to);
    return help ? 0 : 2;
}

} // namespace wex
