#include "ListCommand.h"

#include "CommandLine.h"
#include "Coding.h"
#include "FolderScan.h"

#include <cerrno>
#include <cstring>

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
    SortForOutput(titles, options);
    return WriteListing(titles, out, err);
}

} // namespace wex
