#pragma once
// How a mail's file name is split: last path component and last extension.
// One definition shared by the scanner (which reads the state from the
// extension) and by Title::makeRead (which replaces it), so that both always
// agree on what "the extension" of a name is.
//
// The extension is what follows the last "." of the last path component; a
// dot that begins the component does not start an extension (".x" has none).
#include <QByteArrayView>

namespace wex::mailname {

// Offset of the last path component (just after the last "/", 0 without one).
inline qsizetype baseStart(QByteArrayView path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash + 1;
}

inline QByteArrayView baseName(QByteArrayView path) { return path.sliced(baseStart(path)); }

// Offset of the "." that begins the extension, or -1 when the name has none.
inline qsizetype extensionDot(QByteArrayView path)
{
    const qsizetype base = baseStart(path);
    const qsizetype dot = path.lastIndexOf('.');
    return dot > base ? dot : -1;
}

// The extension without its dot; empty when there is none.
inline QByteArrayView extension(QByteArrayView path)
{
    const qsizetype dot = extensionDot(path);
    return dot < 0 ? QByteArrayView() : path.sliced(dot + 1);
}

// The path without its extension (and without the dot).
inline QByteArrayView withoutExtension(QByteArrayView path)
{
    const qsizetype dot = extensionDot(path);
    return dot < 0 ? path : path.first(dot);
}

} // namespace wex::mailname
