#include "ListCommand.h"

#include "CommandLine.h"
#include "Coding.h"
#include "FolderScan.h"
#include "TitleLines.h"

#include <cerrno>
#include <cstring>
#include <vector>

namespace wex {

int RunListCommand(int argc, char **argv, FILE *out, FILE *err)
{
    CommandOptions options;
    if (!ParseCommandOptions(argc, argv, false, 1, &options)) {
        std::fputs(kListUsage, err);
        return 2;
    }
    QByteArray folder;
    if (!AbsolutePath(options.operands.front(), &folder)) {
        std::fprintf(err, "wex-browser: cannot find the working folder: %s\n", std::strerror(errno));
        return 1;
    }

    const Coding coding;
    FolderScanOptions scanOptions;
    scanOptions.useCache = options.useCache;
    FolderScan scan(coding, folder, scanOptions);
    scan.run();
    TitleArray titles = scan.takeTitles();
    if (!scan.listed()) {
        const int error = scan.listError();
        std::fprintf(err, "wex-browser: cannot list %s: %s\n", EscapeLineBytes(folder).constData(),
                     std::strerror(error));
        return 1;
    }
    // The sorted listing is written through its order: a large folder's
    // titles are never moved about, and are freed in the order they were made.
    std::vector<uint32_t> order;
    if (options.key) {
        order = SortedTitleOrder(titles, *options.key, options.reverse);
    } else {
        order.resize(titles.size());
        for (size_t i = 0; i < order.size(); ++i)
            order[i] = uint32_t(i);
    }
    if (WriteTitleLines(titles, order, out))
        return 0;
    std::fprintf(err, "wex-browser: cannot write the listing: %s\n", std::strerror(errno));
    return 1;
}

} // namespace wex
