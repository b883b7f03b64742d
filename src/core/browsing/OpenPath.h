#pragma once
// What a path named on the command line opens in the application (a file
// manager's "Open With" passes one): a folder, or a mail in its folder.
#include <QByteArray>
#include <QString>

namespace wex {

class TitleScanner;

struct OpenPath {
    enum Kind { Nothing, Folder, Mail };
    Kind kind = Nothing;
    // Folder and Mail: the folder to select and list; absolute, symbolic
    // links resolved, no trailing slash ("/" for the root).
    QByteArray folder;
    // Mail: the path the mail's title carries in that folder's listing (for
    // an attachment folder, its main text file).
    QByteArray mail;
    // Nothing: why, in a few words for the user.
    QString reason;
};

// argument: as given, absolute or relative to the working folder. A folder
// that can be listed opens as a folder, unless it is a mail's attachment
// folder, which opens as that mail; a file opens as a mail when the scanner
// takes it for one. Anything else opens nothing. Reading the argument is all
// this does, except that an attachment folder without a main text gets its
// dummy one, as it would when its folder is listed.
OpenPath ResolveOpenPath(const QByteArray &argument, TitleScanner &scanner);

} // namespace wex
