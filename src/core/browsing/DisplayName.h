#pragma once
// The text a file-system name or path shows as in the folder browser and in
// window titles. Paths themselves stay bytes everywhere; this is for display
// only and is never turned back into a path.
#include <QByteArrayView>
#include <QString>

namespace wex {

// Well-formed UTF-8 shows as its characters. Every byte that is not part of a
// well-formed UTF-8 sequence, and every byte of a control character (C0, DEL,
// C1), shows as a visible escape "\xHH" (two upper-case hex digits), so no two
// names that differ in their bytes look alike for such bytes and a title never
// holds a line break.
QString DisplayName(QByteArrayView bytes);
// The name a window shows for a folder: its last component (trailing
// slashes aside) as DisplayName shows it, "/" for the root.
QString FolderTitle(QByteArrayView path);

} // namespace wex
