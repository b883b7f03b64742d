#pragma once
// Store aliases are symbolic links.
#include <QByteArray>

namespace wex {

// Follows a chain of symbolic links to its end (at most 40 links, so a loop
// ends in failure, not a hang). An item that is no link resolves to itself.
// On success writes the absolute, slash-normalised path of the final item to
// *out and returns 0; on any failure (missing item, broken or looping chain)
// returns a non-zero error and leaves *out untouched.
int SFResolveAliasPath(const QByteArray &path, QByteArray *out);

} // namespace wex
