#pragma once
// Folder listings for the store's alias folders, always in byte order of the
// entry names, so that a list comes out the same on every run and every file
// system.
#include <QByteArray>
#include <vector>

namespace wex {

struct FolderEntry {
    QByteArray name;
    unsigned char type; // the listing's d_type (DT_UNKNOWN when it does not say)
};

// The folder's entries except "." and "..", sorted by name. False when the
// folder cannot be listed; errno then says why.
bool ListFolderSorted(const QByteArray &folder, std::vector<FolderEntry> *entries);

// The paths of everything under folder, depth first: each folder's entries in
// byte order of their names, the entries of a sub-folder right after the
// sub-folder itself. A link is listed but never entered, so the walk cannot
// loop; a sub-folder that cannot be listed adds only itself. False (nothing
// added) when folder itself cannot be listed.
bool WalkFolderDepthFirst(const QByteArray &folder, std::vector<QByteArray> *paths);

} // namespace wex
