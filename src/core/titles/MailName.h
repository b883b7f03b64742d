#pragma once
// How a mail's file name is split: last path component and last extension.
// One definition shared by the scanner (which reads the state from the
// extension) and by Title::makeRead (which replaces it), so that both always
// agree on what "the extension" of a name is.
//
// The extension is what follows the last "." of the last path component; a
// dot that begins the component does not start an extension (".x" has none).
#include <QByteArrayView>
#include <cstring>

namespace wex::mailname {

// Offset of the last path component (just after the last "/", 0 without one).
inline qsizetype baseStart(QByteArrayView path)
{
    const void *slash = path.isEmpty() ? nullptr : ::memrchr(path.data(), '/', size_t(path.size()));
    return slash ? static_cast<const char *>(slash) - path.data() + 1 : 0;
}

inline QByteArrayView baseName(QByteArrayView path) { return path.sliced(baseStart(path)); }

// Offset of the "." that begins the extension, or -1 when the name has none.
inline qsizetype extensionDot(QByteArrayView path)
{
    const qsizetype base = baseStart(path);
    if (path.size() - base < 2)
        return -1;
    // Searched from the component's second byte: a leading dot starts no extension.
    const void *dot = ::memrchr(path.data() + base + 1, '.', size_t(path.size() - base - 1));
    return dot ? static_cast<const char *>(dot) - path.data() : -1;
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
