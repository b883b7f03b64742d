#pragma once
// The name under which a font is saved in "Font-Names": its face, family and
// style, in fontconfig's form "Family:style=Style" (as `fc-list` prints it),
// or the family alone for the plain face, the form older versions wrote and
// still read here. In the family, ":" and "\" are escaped with "\".
#include <QFont>
#include <QString>
#include <optional>

namespace wex {

QString FontNameOf(const QFont &font);

// The installed face a saved name names, at the point size; nullopt when its
// family is not installed (or the name is empty). An unknown style falls back
// to the family's nearest face.
std::optional<QFont> FontFromName(const QString &name, double pointSize);

// What the font table shows: the family, followed by the style unless it is
// the plain face.
QString FontDisplayName(const QFont &font);

} // namespace wex
