#include "CountsCommand.h"

#include "Coding.h"
#include "CommandLine.h"
#include "FolderScan.h"
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
    const Coding coding;
    FolderScanOptions scanOptions;
    scanOptions.useCache = options.useCache;
    bool written = true;
    WalkStoreFolders(top, isRoot, nullptr, [&](const QByteArray &folder) {
        FolderScan scan(coding, folder, scanOptions);
        scan.run();
        const TitleArray titles = scan.takeTitles();
        const auto unread = std::count_if(titles.begin(), titles.end(), [](const Title &t) { return t.unreadState(); });
        written = written
            && std::fprintf(out, "%lld\t%lld\t%s\n", static_cast<long long>(unread), static_cast<long long>(titles.size()),
                            EscapeLineBytes(folder).constData()) > 0;
    });
    if (written && std::fflush(out) == 0 && !std::ferror(out))
        return 0;
    std::fprintf(err, "wex-browser: cannot write the counts: %s\n", std::strerror(errno));
    return 1;
}

} // namespace wex
