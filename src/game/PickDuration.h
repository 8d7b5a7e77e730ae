// Random note values that fill a bar exactly. User-interface thread (it draws from the
// view's random source).
#pragma once

#include "game/Platform.h"
#include "model/SettingsRecord.h"

namespace tessimo {

// Whether the enabled note values can fill exactly `remaining` units (at least one note).
// Deterministic: the enabling rules use it.
bool durationsCanFill(const SettingsRecord& settings, int remaining);

// Draws an enabled duration code at random among those that fit `remaining` units and leave a
// rest the enabled values can fill; -1 when there is none. Every enabled value is tried
// before it gives up, so the outcome (found or not) does not depend on the draws.
int pickDuration(const SettingsRecord& settings, int remaining, RandomSource& random);

} // namespace tessimo
