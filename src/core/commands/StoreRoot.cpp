#include "StoreRoot.h"

#include "CommandLine.h"
#include "PathUtils.h"
#include "StoreLocations.h"
#include "TitleLines.h"

#include <cerrno>
#include <cstring>

namespace wex {

int FindCommandStore(const char *storeArgument, FILE *err, QByteArray *root)
{
    if (storeArgument) {
        if (!AbsolutePath(storeArgument, root)) {
            std::fprintf(err, "wex-browser: cannot find the working folder: %s\n", std::strerror(errno));
            return 1;
        }
    } else {
        if (SetWEXPath() != 0) {
            std::fputs("wex-browser: no settings folder: neither $HOME/Library/Preferences/WEX_Preferences nor "
                       "WEX_Preferences.localized exists\n",
                       err);
            return 1;
        }
        *root = wexRootPath();
        if (root->isEmpty()) {
            std::fprintf(err, "wex-browser: no mail store: %sWEX_Root leads nowhere\n",
                         EscapeLineBytes(wexSettingPath()).constData());
            return 1;
        }
    }
    if (!IsPathDirectory(*root)) {
        std::fprintf(err, "wex-browser: no mail store at %s\n", EscapeLineBytes(*root).constData());
        return 1;
    }
    return 0;
}

} // namespace wex
