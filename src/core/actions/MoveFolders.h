#pragma once
// The move destinations as they are kept: folder paths under the defaults key
// "Move Folder", relative to the store root for a folder inside the store (so
// they follow the store when its root changes), absolute for any other.
//
// Pure list logic over strings; no file is touched here.
#include <QString>
#include <QStringList>

namespace wex {

class DefaultsStore;

// The defaults key of the destination list.
inline constexpr const char *kMoveFolderKey = "Move Folder";

// The kept form of an absolute folder path: the part after "root/" for a
// folder strictly inside root, the path unchanged otherwise. The root itself,
// a path that merely begins with the root's characters ("/store2" for root
// "/store") and every path while the root is unknown (empty) stay absolute.
QString MoveFolderStoredForm(const QString &absolute, const QString &root);
// The folder a kept entry names: an entry beginning with "/" unchanged, any
// other joined to root. Empty when a relative entry meets an unknown root:
// such an entry names no folder (it must never resolve against the working
// directory).
QString ResolveMoveFolder(const QString &entry, const QString &root);
// What a destination's menu item shows: the entry's last path component, or
// the whole entry when that is empty ("/").
QString MoveFolderTitle(const QString &entry);
// A name or subject in curly quotes, as the move messages set them apart.
QString Quoted(const QString &text);

// The list under "Move Folder": its strings in order. A value that is not an
// array gives an empty list; entries that are not strings are left out.
QStringList LoadMoveFolders(const DefaultsStore &defaults);
void SaveMoveFolders(DefaultsStore &defaults, const QStringList &folders);

} // namespace wex
