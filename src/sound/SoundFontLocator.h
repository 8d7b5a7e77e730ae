// Finds the General MIDI SoundFont that Debian's packages install.
#pragma once

#include <filesystem>
#include <string>

namespace tessimo {

// Where the packages put their SoundFonts.
inline constexpr const char* SoundFontDirectory = "/usr/share/sounds/sf2";

// Looks in directory for default-GM.sf2 (the registered default, usually a symbolic link whose
// target must exist), then FluidR3_GM.sf2/.sf3 and TimGM6mb.sf2/.sf3. Returns the first regular
// file found, or an empty path. Any thread.
std::filesystem::path
findGeneralMidiSoundFont(const std::filesystem::path& directory = SoundFontDirectory);

// The status text when no SoundFont was found.
inline constexpr const char* NoSoundFontReason =
    "No General MIDI SoundFont found: install timgm6mb-soundfont";

} // namespace tessimo
