#pragma once
// The folders of a store that hold its mails, for a walk over all of them.
#include <QByteArray>
#include <atomic>
#include <functional>

namespace wex {

// Visits top and every folder below it, depth first in byte order of the
// names. Passed over: "temp" directly below top when top is the store's root
// (the suite's alias folders), hidden folders, attachment folders (named
// "X.mpart" or with a mail extension: they are mails of their folder) and
// links of every kind, so the walk never leaves
// top and never loops. Stops early once cancel (when given) is set.
void WalkStoreFolders(const QByteArray &top, bool topIsRoot, const std::atomic<bool> *cancel,
                      const std::function<void(const QByteArray &folder)> &visit);

} // namespace wex
