#pragma once
// The related mails of one mail: the mail, the chain of mails it answers and
// the mails that answer it, found through the reference folders that the
// suite keeps under "temp/refByAliases" of the store:
//   ID.midref  aliases of the mails whose Message-ID is ID (reached from a
//              mail's "In-Reply-To:" line: the mail it answers)
//   ID.iftref  aliases of the mails whose In-Reply-To is ID (reached from a
//              mail's "Message-ID:" line: its answers)
//
// The walk is bounded by what it has seen, not only by its depth, because the
// folders may loop and IDs come from whoever sent the mail:
//  * A mail is known by the path its title carries (for an attachment
//    folder, its main text), or by its resolved path where the scanner gives
//    no title. Each mail is listed once and followed at most once per
//    direction; the starting mail counts as followed in both.
//  * A mail is followed from the file its title was read from, so an alias of
//    an attachment folder is followed from the folder's main text.
//  * Each direction goes at most kLevels levels deep.
//  * An ID that could leave "temp/refByAliases" or cannot name a folder there
//    (see IsReferenceId) ends its direction.
#include "Title.h"
#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QSet>
#include <vector>

namespace wex {

class TitleScanner;

class ChainWalk {
public:
    static constexpr int kLevels = 100;
    static constexpr char kInReplyToTag[] = "In-Reply-To:";
    static constexpr char kMessageIdTag[] = "Message-ID:";
    static constexpr char kAncestorExtension[] = "midref";
    static constexpr char kDescendantExtension[] = "iftref";

    // The scanner must outlive the walk. root is the store root (no trailing
    // slash); an empty root finds no reference folders.
    ChainWalk(TitleScanner &scanner, const QByteArray &root);

    // The title of mail (a mail file or an attachment folder) when it is a
    // mail, then its ancestors, then its descendants, each direction depth
    // first in the order of the reference folders' entries; unsorted
    // otherwise. *mailScanned (when given) says whether mail itself gave a
    // title; it is then the first. Each call starts a new walk.
    TitleArray chainTitleArray(const QByteArray &mail, bool *mailScanned = nullptr);

    // Appends the mails of one direction reached from mail (header: the tag
    // whose ID names the folder, extension: the folder's), then follows each
    // new one with count - 1 levels. Nothing when count <= 0.
    void chainArray(TitleArray &titles, const QByteArray &mail, QByteArrayView header, QByteArrayView extension,
                    int count);

    // The ID text of the first line of the mail file that begins with header
    // (ASCII case-insensitive), anywhere in the file: the rest of that line
    // after the tag and one further character, less one trailing "\n"; empty
    // when the line holds nothing more. False when no line has the tag or the
    // file cannot be read (a folder, a FIFO or a device is never read).
    bool inReplyToMID(QByteArray *id, const QByteArray &mail, QByteArrayView header);

    // Whether an ID can name a reference folder: not empty, no "/" and no NUL,
    // neither "." nor "..", and short enough that "ID.midref" fits in a file
    // name.
    static bool IsReferenceId(QByteArrayView id);
    // root + "/temp/refByAliases/" + id + "." + extension.
    QByteArray referenceFolder(QByteArrayView id, QByteArrayView extension) const;

private:
    // Scans resolved the first time it is met and returns the key it is known
    // by; a title whose key was listed before is dropped.
    QByteArray listOnce(const QByteArray &resolved, TitleArray &titles);

    TitleScanner &scanner_;
    QByteArray root_;
    QSet<QByteArray> listed_;
    QHash<QByteArray, QByteArray> keyOfResolved_;
    QHash<QByteArray, QSet<QByteArray>> followed_; // by folder extension
    std::vector<char> buffer_;                      // reused by inReplyToMID
};

} // namespace wex
