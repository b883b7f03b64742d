#pragma once
// The mail extensions and the state each one gives a title, in table order.
// The order matters beyond lookups: it is also the order in which the main
// text of an attachment folder is looked for.
#include "Title.h"
#include <QByteArrayView>

namespace wex {

struct ExtRow {
    const char *extension;
    void (*setState)(Title &title);
};

inline constexpr int kExtRowCount = 9;
extern const ExtRow extData[kExtRowCount];

} // namespace wex
