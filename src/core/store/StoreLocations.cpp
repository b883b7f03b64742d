// Where the settings folder and the mail store root are.
//
// The three paths are the process-wide store locations: empty until the first
// successful search, then fixed. They are plain byte arrays, so a home path of
// any length fits.
#include "StoreLocations.h"

#include "Aliases.h"

#include <sys/stat.h>

namespace wex {
namespace {

struct StorePaths {
    QByteArray setting; // ends in "/" once found
    QByteArray root;    // no trailing slash; empty when unresolved
    QString rootString;
};

StorePaths &Paths()
{
    static StorePaths paths;
    return paths;
}

// Any item counts, a file as well as a folder (links followed). The trailing
// slash is dropped for the test, or a file of that name would not count.
bool ItemExists(QByteArray path)
{
    while (path.size() > 1 && path.endsWith('/'))
        path.chop(1);
    struct stat st;
    return ::stat(path.constData(), &st) == 0;
}

} // namespace

const QByteArray &wexSettingPath() { return Paths().setting; }
const QByteArray &wexRootPath() { return Paths().root; }
const QString &wexRootPathString() { return Paths().rootString; }

int SetWEXSettingPath()
{
    StorePaths &p = Paths();
    if (!p.setting.isEmpty())
        return 0;
    // An empty HOME is no home: it would put the settings under "/Library".
    const QByteArray home = qgetenv("HOME");
    if (home.isEmpty())
        return -1;
    // The plain name wins; the ".localized" one is only a fallback.
    for (const char *name : {"/Library/Preferences/WEX_Preferences/",
                             "/Library/Preferences/WEX_Preferences.localized/"}) {
        const QByteArray candidate = home + name;
        if (ItemExists(candidate)) {
            p.setting = candidate;
            return 0;
        }
    }
    return -1;
}

int SetWEXPath()
{
    StorePaths &p = Paths();
    if (!p.root.isEmpty())
        return 0;
    if (SetWEXSettingPath() != 0)
        return -1;
    // The result is deliberately not examined: an unresolvable root leaves
    // the root empty and start-up decides what to do with that.
    QByteArray root;
    SFResolveAliasPath(p.setting + "WEX_Root", &root);
    p.root = root;
    p.rootString = QString::fromUtf8(root);
    return 0;
}

void ResetWEXPaths()
{
    Paths() = StorePaths();
}

} // namespace wex
