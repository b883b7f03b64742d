#pragma once
// Store aliases are symbolic links.
#include <QByteArray>
#include <QHash>
#include <sys/types.h>

namespace wex {

// Follows a chain of symbolic links to its end (at most 40 links, so a loop
// ends in failure, not a hang). An item that is no link resolves to itself.
// A link whose mail is gone leads to the same name under another of the
// mail extensions when exactly one such file exists: a change of state
// renames only the extension, and the link must follow its mail as it does.
// On success writes the absolute, slash-normalised path of the final item to
// *out and returns 0; on any failure (missing item, broken or looping chain)
// returns a non-zero error and leaves *out untouched.
int SFResolveAliasPath(const QByteArray &path, QByteArray *out);

// Resolves many aliases in a row, as SFResolveAliasPath does each, for lists
// built from alias folders. A target of the form "../../Folder/mail" needs the
// real path of its folder; the resolver keeps each such answer, so aliases
// into the same folders ask the file system once. With keepFolders it also
// keeps the folders it meets open (a bounded number), so that each item is
// looked up by its name in its folder rather than along its whole path. Use
// one resolver for one pass over a store whose folders are not renamed
// meanwhile; it is not copyable.
class AliasResolver {
public:
    explicit AliasResolver(bool keepFolders = true);
    ~AliasResolver();
    AliasResolver(const AliasResolver &) = delete;
    AliasResolver &operator=(const AliasResolver &) = delete;

    // As SFResolveAliasPath. On success *type (when given) receives the final
    // item's file type (the S_IFMT bits of its mode) and *folderFd (when given)
    // an open descriptor of the folder holding it, or -1; the descriptor
    // belongs to the resolver and lives as long as it does.
    int resolve(const QByteArray &path, QByteArray *out, mode_t *type = nullptr, int *folderFd = nullptr);

    // As resolve, for an item reached through one link already (nextItem's
    // answer): that link counts toward the bound, and the item may be a mail
    // renamed since.
    int resolveTarget(const QByteArray &item, QByteArray *out, mode_t *type = nullptr, int *folderFd = nullptr);

    // Only the first hop of that: the item the link at link with content
    // target names (absolute, normalised, not looked up, so it may be a link
    // again) and an open descriptor of its folder, or -1.
    int nextItem(const QByteArray &link, const QByteArray &target, QByteArray *next, int *folderFd);

private:
    // The item the link at link (absolute, normalised) with this content leads to next.
    int step(const QByteArray &link, const QByteArray &target, QByteArray *next);
    // Follows current to the end of its chain; links: links followed so far.
    int follow(QByteArray current, int links, QByteArray *out, mode_t *type, int *folderFd);
    // An open descriptor of folder (normalised), or -1.
    int folderFd(const QByteArray &folder);

    bool keepFolders_;
    QHash<QByteArray, QByteArray> realFolders_; // folder as written -> real path
    QHash<QByteArray, int> folderFds_;          // folder -> O_PATH descriptor or -1
    // nextItem's last answer: a target "DIR/NAME" of a link in lastLinkFolder_
    // with lastTargetFolder_ == DIR led into lastFolder_.
    QByteArray lastLinkFolder_, lastTargetFolder_, lastFolder_;
    int lastFolderFd_ = -1;
};

} // namespace wex
