#include "FindCommand.h"

#include "Coding.h"
#include "CommandLine.h"
#include "FindQuery.h"
#include "StoreRoot.h"
#include "StoreSearch.h"

namespace wex {

int RunFindCommand(int argc, char **argv, FILE *out, FILE *err)
{
    CommandOptions options;
    if (!ParseCommandOptions(argc, argv, true, 1, &options)) {
        std::fputs(kFindUsage, err);
        return 2;
    }
    QString why;
    std::optional<FindQuery> query = FindQuery::parse(QString::fromLocal8Bit(options.operands.front()), &why);
    if (!query) {
        std::fprintf(err, "wex-browser: cannot search for that: %s\n", why.toLocal8Bit().constData());
        return 2;
    }
    QByteArray root;
    if (const int status = FindCommandStore(options.store, err, &root))
        return status;
    const Coding coding;
    StoreSearch search(coding, std::move(*query), options.useCache);
    TitleArray titles = search.run(root);
    SortForOutput(titles, options);
    return WriteListing(titles, out, err);
}

} // namespace wex
