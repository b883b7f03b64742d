#pragma once
// Type and creator codes kept as the extended attributes "user.mac.type" and
// "user.mac.creator" (four bytes each).
#include <QByteArray>

namespace wex {

// Sets both codes; returns 0, or an errno value. A file system without
// extended attributes counts as success (the codes are only a courtesy).
int SFCoSetTypeCreator(const QByteArray &path, const char type[4], const char creator[4]);

} // namespace wex
