// Renders General MIDI notes offline into 16-bit mono WAV files at 22000 Hz, for the
// recognition benchmark's corpus:
//   render_notes SOUNDFONT PROGRAM VELOCITY SECONDS OUTDIR
// writes OUTDIR/<pitch>.wav for the pitches 36..83: the note held for SECONDS, then half a
// second of its release.
#include <fluidsynth.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "WavFile.h"

namespace {

struct SettingsDeleter {
    void operator()(fluid_settings_t* s) const { delete_fluid_settings(s); }
};
struct SynthDeleter {
    void operator()(fluid_synth_t* s) const { delete_fluid_synth(s); }
};

} // namespace

int main(int argc, char** argv) {
    if (argc != 6) {
        std::fprintf(stderr, "usage: render_notes SOUNDFONT PROGRAM VELOCITY SECONDS OUTDIR\n");
        return 2;
    }
    const int program = std::atoi(argv[2]);
    const int velocity = std::atoi(argv[3]);
    const double seconds = std::atof(argv[4]);
    const std::string dir = argv[5];
    fluid_set_log_function(FLUID_PANIC, nullptr, nullptr);
    fluid_set_log_function(FLUID_ERR, nullptr, nullptr);
    fluid_set_log_function(FLUID_WARN, nullptr, nullptr);
    std::unique_ptr<fluid_settings_t, SettingsDeleter> settings(new_fluid_settings());
    fluid_settings_setnum(settings.get(), "synth.sample-rate", 22000.0);
    fluid_settings_setint(settings.get(), "synth.reverb.active", 0);
    fluid_settings_setint(settings.get(), "synth.chorus.active", 0);
    std::unique_ptr<fluid_synth_t, SynthDeleter> synth(new_fluid_synth(settings.get()));
    if (!synth || fluid_synth_sfload(synth.get(), argv[1], 1) == FLUID_FAILED) {
        std::fprintf(stderr, "%s: cannot be loaded\n", argv[1]);
        return 1;
    }
    fluid_synth_program_change(synth.get(), 0, program);
    const int held = static_cast<int>(seconds * 22000);
    const int release = 11000;
    for (int pitch = 36; pitch <= 83; ++pitch) {
        std::vector<float> left(static_cast<std::size_t>(held + release)), right(left.size());
        fluid_synth_noteon(synth.get(), 0, pitch, velocity);
        fluid_synth_write_float(synth.get(), held, left.data(), 0, 1, right.data(), 0, 1);
        fluid_synth_noteoff(synth.get(), 0, pitch);
        fluid_synth_write_float(synth.get(), release, left.data() + held, 0, 1, right.data() + held,
                                0, 1);
        fluid_synth_all_sounds_off(synth.get(), -1);
        std::vector<std::int16_t> samples(left.size());
        for (std::size_t i = 0; i < left.size(); ++i) {
            const float v = 0.5f * (left[i] + right[i]) * 32767.0f;
            samples[i] = static_cast<std::int16_t>(v > 32767.0f    ? 32767.0f
                                                   : v < -32768.0f ? -32768.0f
                                                                   : v);
        }
        const std::string path = dir + "/" + std::to_string(pitch) + ".wav";
        if (!tessimo::words::WriteWav(path, samples)) {
            std::fprintf(stderr, "%s: cannot be written\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
