#include "sound/SoundFontLocator.h"

#include <array>
#include <system_error>

namespace tessimo {

std::filesystem::path findGeneralMidiSoundFont(const std::filesystem::path& directory) {
    static constexpr std::array<const char*, 5> Candidates = {
        "default-GM.sf2", "FluidR3_GM.sf2", "FluidR3_GM.sf3", "TimGM6mb.sf2", "TimGM6mb.sf3"};
    for (const char* name : Candidates) {
        const std::filesystem::path path = directory / name;
        std::error_code error;
        // status() follows symbolic links, so a dangling default-GM.sf2 is passed over.
        if (std::filesystem::is_regular_file(std::filesystem::status(path, error)))
            return path;
    }
    return {};
}

} // namespace tessimo
