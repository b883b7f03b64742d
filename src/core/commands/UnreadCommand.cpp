#include "UnreadCommand.h"

#include "CachedEntries.h"
#include "Coding.h"
#include "CommandLine.h"
#include "StoreRoot.h"
#include "TitleLines.h"
#include "TitleScanner.h"
#include "UnreadTitles.h"

#include <cerrno>
#include <cstring>

namespace wex {

int RunUnreadCommand(int argc, char **argv, FILE *out, FILE *err)
{
    CommandOptions options;
    if (!ParseCommandOptions(argc, argv, true, 0, &options)) {
        std::fputs(kUnreadUsage, err);
        return 2;
    }
    QByteArray root;
    if (const int status = FindCommandStore(options.store, err, &root))
        return status;

    const Coding coding;
    TitleScanner scanner(coding);
    CachedEntries cache(scanner, options.useCache);
    std::optional<TitleArray> titles = loadUnreadTitleArray(scanner, root);
    if (!titles) {
        const int error = errno;
        if (error != ENOENT) {
            std::fprintf(err, "wex-browser: cannot list %s: %s\n",
                         EscapeLineBytes(UnreadAliasFolder(root)).constData(), std::strerror(error));
            return 1;
        }
        titles.emplace();
    }
    SortForOutput(*titles, options);
    return WriteListing(*titles, out, err);
}

} // namespace wex
