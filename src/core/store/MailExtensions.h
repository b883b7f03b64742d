#pragma once
// The extensions that carry a mail file's state. Changing a mail's state
// renames it within this set and never changes the rest of its name, so a
// mail that is gone under one of them can be found again under another.
// The order is the one the main text of an attachment folder is looked for in.
#include <array>
#include <string_view>

namespace wex {

inline constexpr std::array<std::string_view, 9> kMailExtensions = {
    "ygm", "mail", "rply", "rpry", "html", "wmail", "htm", "iygm", "imail",
};

} // namespace wex
