#include "CountsCommand.h"

#include "CommandLine.h"
#include "MailCounts.h"
#include "StoreFolders.h"
#include "StoreRoot.h"
#include "TitleLines.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace wex {

int RunCountsCommand(int argc, char **argv, FILE *out, FILE *err)
{
    // FOLDER is optional: with one operand, or with none.
    CommandOptions options;
    bool parsed = ParseCommandOptions(argc, argv, true, 1, &options);
    if (!parsed) {
        options = CommandOptions();
        parsed = ParseCommandOptions(argc, argv, true, 0, &options);
    }
    if (!parsed || (options.store && !options.operands.empty())) {
        std::fputs(kCountsUsage, err);
        return 2;
    }
    QByteArray top;
    const bool isRoot = options.operands.empty();
    if (isRoot) {
        if (const int status = FindCommandStore(options.store, err, &top))
            return status;
    } else {
        struct stat st;
        if (!AbsolutePath(options.operands.front(), &top) || ::stat(top.constData(), &st) != 0 || !S_ISDIR(st.st_mode)) {
            std::fprintf(err, "wex-browser: cannot count the mails of %s: %s\n", options.operands.front(),
                         std::strerror(errno ? errno : ENOTDIR));
            return 1;
        }
    }
    bool written = true;
    bool counted = true;
    WalkStoreFolders(top, isRoot, nullptr, [&](const QByteArray &folder) {
        const std::optional<MailCounts> counts = CountMails(folder);
        if (!counts) {
            std::fprintf(err, "wex-browser: cannot count the mails of %s: %s\n", EscapeLineBytes(folder).constData(),
                         std::strerror(errno));
            counted = false;
            return;
        }
        written = written
            && std::fprintf(out, "%lld\t%lld\t%s\n", static_cast<long long>(counts->unread),
                            static_cast<long long>(counts->mails), EscapeLineBytes(folder).constData()) > 0;
    });
    if (written && std::fflush(out) == 0 && !std::ferror(out))
        return counted ? 0 : 1;
    std::fprintf(err, "wex-browser: cannot write the counts: %s\n", std::strerror(errno));
    return 1;
}

} // namespace wex
