#include "RelatedCommand.h"

#include "Aliases.h"
#include "CachedEntries.h"
#include "ChainWalk.h"
#include "Coding.h"
#include "CommandLine.h"
#include "StoreRoot.h"
#include "TitleLines.h"
#include "TitleScanner.h"

#include <cerrno>
#include <cstring>

namespace wex {

int RunRelatedCommand(int argc, char **argv, FILE *out, FILE *err)
{
    CommandOptions options;
    if (!ParseCommandOptions(argc, argv, true, 1, &options)) {
        std::fputs(kRelatedUsage, err);
        return 2;
    }
    QByteArray root;
    if (const int status = FindCommandStore(options.store, err, &root))
        return status;

    QByteArray given, mail;
    if (!AbsolutePath(options.operands.front(), &given)) {
        std::fprintf(err, "wex-browser: cannot find the working folder: %s\n", std::strerror(errno));
        return 1;
    }
    if (const int error = SFResolveAliasPath(given, &mail)) {
        std::fprintf(err, "wex-browser: cannot find %s: %s\n", EscapeLineBytes(given).constData(),
                     std::strerror(error));
        return 1;
    }

    const Coding coding;
    TitleScanner scanner(coding);
    CachedEntries cache(scanner, options.useCache);
    ChainWalk walk(scanner, root);
    bool isMail = false;
    TitleArray titles = walk.chainTitleArray(mail, &isMail);
    if (!isMail) {
        std::fprintf(err, "wex-browser: %s is not a mail\n", EscapeLineBytes(mail).constData());
        return 1;
    }
    SortForOutput(titles, options);
    return WriteListing(titles, out, err);
}

} // namespace wex
