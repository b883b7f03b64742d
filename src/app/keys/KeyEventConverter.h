#pragma once
// A Qt key press as the program's key descriptor: the characters the key gives
// with Shift applied (Control and Alt ignored) and the whole modifier word.
#include "MethodKey.h"

#include <optional>

class QKeyEvent;

namespace wex {

// nullopt for a press that gives no characters (a bare modifier key, ...).
std::optional<MethodKey> MethodKeyFromEvent(const QKeyEvent &event);

} // namespace wex
