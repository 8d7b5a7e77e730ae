// Why a command cannot start, in words for its status-bar prompt, read from the settings and
// the pitch table that its enabling rule reads. Plain functions; user-interface thread.
#pragma once

#include <string>

namespace tessimo {

class PitchTable;
struct SettingsRecord;

// In English; the shell translates it in the context "tessimo::DisabledReasons".
// The first missing ingredient of the command's exercise (no note, no note value, the wrong
// sound mode, recordings missing, ...), or an empty string when the command has none to
// name. barLength is the length of one bar (beat length x beats per bar).
std::string disabledReason(int commandId, const SettingsRecord& settings, const PitchTable& table,
                           int barLength);

} // namespace tessimo
