#include "CommandLine.h"

#include "TitleCache.h"
#include "TitleLines.h"

#include <QByteArrayView>
#include <QString>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace wex {

bool ParseCommandOptions(int argc, char **argv, bool allowStore, size_t operandCount, CommandOptions *options)
{
    bool optionsEnded = false;
    for (int i = 2; i < argc; ++i) {
        const QByteArrayView arg(argv[i]);
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && arg == "--reverse") {
            options->reverse = true;
        } else if (!optionsEnded && arg == "--no-cache") {
            options->useCache = false;
        } else if (!optionsEnded && arg == "--sort") {
            if (i + 1 >= argc)
                return false;
            const QByteArrayView value(argv[++i]);
            if (value == "none") {
                options->key = std::nullopt;
            } else {
                const std::optional<TitleKey> key = TitleKeyFromIdentifier(QString::fromUtf8(value));
                if (!key)
                    return false;
                options->key = key;
            }
        } else if (!optionsEnded && allowStore && arg == "--store") {
            if (i + 1 >= argc || !*argv[i + 1])
                return false;
            options->store = argv[++i];
        } else if (!optionsEnded && arg.size() > 1 && arg.startsWith('-')) {
            return false;
        } else {
            if (arg.isEmpty())
                return false;
            options->operands.push_back(argv[i]);
        }
    }
    options->useCache = options->useCache && TitleCacheEnabledByEnvironment();
    return options->operands.size() == operandCount;
}

void SortForOutput(TitleArray &titles, const CommandOptions &options)
{
    if (options.key)
        SortTitles(titles, *options.key, options.reverse);
}

bool AbsolutePath(const char *argument, QByteArray *out)
{
    QByteArray full;
    if (argument[0] != '/') {
        char *cwd = ::getcwd(nullptr, 0);
        if (!cwd)
            return false;
        full = cwd;
        std::free(cwd);
        full += '/';
    }
    full += argument;
    std::vector<QByteArrayView> parts;
    const QByteArrayView all(full);
    for (qsizetype start = 0; start <= all.size();) {
        qsizetype slash = all.indexOf('/', start);
        if (slash < 0)
            slash = all.size();
        const QByteArrayView part = all.sliced(start, slash - start);
        start = slash + 1;
        if (part.isEmpty() || part == ".")
            continue;
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
            continue;
        }
        parts.push_back(part);
    }
    QByteArray normal;
    for (QByteArrayView part : parts) {
        normal += '/';
        normal += part;
    }
    *out = normal.isEmpty() ? QByteArray("/") : normal;
    return true;
}

int WriteListing(const TitleArray &titles, FILE *out, FILE *err)
{
    if (WriteTitleLines(titles, out))
        return 0;
    std::fprintf(err, "wex-browser: cannot write the listing: %s\n", std::strerror(errno));
    return 1;
}

} // namespace wex
