#pragma once
// Small path and string helpers shared by the whole program.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace wex {

// File-system bytes <-> display string (UTF-8, the file-name coding of this platform).
QString Path2String(QByteArrayView path);
QByteArray String2Path(const QString &path);

// True when the path exists and is a folder, symbolic links followed.
bool IsPathDirectory(const QByteArray &path);

// The translation of an English text key in the "WEX" context; the key itself
// when there is none. Keys are written as QT_TRANSLATE_NOOP("WEX", "text")
// where they are defined, so that lupdate collects them.
QString Localize(const char *key);

// 1 when text begins with head, ignoring the case of ASCII letters; 0 otherwise.
// An empty head gives 1. Both are NUL-terminated; neither is read past its NUL.
int HeadStrCL(const char *head, const char *text);

// Everything after the last "/" (the whole path without one; "" when it ends in "/").
QByteArray GetPathBase(QByteArrayView path);

} // namespace wex
