// Views to paint in tests and benchmarks: a pitch table and staff layout built the way the
// program builds them from the settings, and typical note lists for every game mode.
#pragma once

#include "display/FrameState.h"
#include "model/SettingsRecord.h"

namespace tessimo::testing {

enum class SceneStaff { Treble, Both, Bass };

// The settings' note selection for a layout: the naturals of 60..83, of 36..83, or of 36..63.
SettingsRecord settingsFor(SceneStaff staff);

// A view in the given mode with its table, layout and settings, and no notes.
FrameState emptyScene(GameMode mode, SceneStaff staff, const SettingsRecord& settings);

// A view in the given mode with the notes, groups and counters a game shows halfway through.
FrameState busyScene(GameMode mode, SceneStaff staff);

// A list note of a pitch on the scene's staff.
ListNote listNote(const FrameState& scene, int pitch, int x, int durationCode = 5);

} // namespace tessimo::testing
