// Writes a settings file for the end-to-end test: the defaults, with the sound mode and the
// selected pitches given on the command line.
// Usage: shell_e2e_settings FILE SOUNDMODE [PITCH...]   (SOUNDMODE 0 voice, 1 instrument, 2 synth)
#include "model/SettingsRecord.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s FILE SOUNDMODE [PITCH...]\n", argv[0]);
        return 2;
    }
    tessimo::SettingsRecord settings;
    settings.soundMode = std::atoi(argv[2]);
    if (argc > 3) {
        settings.notes.fill(0);
        for (int i = 3; i < argc; ++i) {
            const int pitch = std::atoi(argv[i]);
            if (pitch < 36 || pitch > 83) {
                std::fprintf(stderr, "pitch %d is outside 36..83\n", pitch);
                return 2;
            }
            settings.notes[static_cast<std::size_t>(pitch - 36)] = 1;
        }
    }
    return settings.save(argv[1]) == 0 ? 0 : 1;
}
