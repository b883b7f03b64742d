#pragma once
// The unread list: every mail of the store that the suite's alias folder
// "temp/unreadAliases" points to, wherever in the store it lies.
#include "Title.h"
#include <QByteArray>
#include <optional>

namespace wex {

class TitleScanner;

// root + "/temp/unreadAliases".
QByteArray UnreadAliasFolder(const QByteArray &root);

// One title per alias, in byte order of the alias names, unsorted otherwise.
// Names beginning with "." are passed over; each alias is resolved to the end
// of its chain and its target scanned exactly as a listing of the target's own
// folder would scan it (so a target whose own name begins with "." is passed
// over too). An alias that cannot be resolved, or whose target is no mail or
// cannot be read, adds nothing. nullopt when the alias folder cannot be
// listed; errno then says why (ENOENT: the store has no such folder, or the
// root is empty).
std::optional<TitleArray> loadUnreadTitleArray(TitleScanner &scanner, const QByteArray &root);

} // namespace wex
