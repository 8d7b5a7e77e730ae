// The embedded General MIDI synthesiser: one synth with one SoundFont, rendered block by block
// on the audio thread, fed only through a ChannelMessageRing.
#pragma once

#include "sound/ChannelMessageRing.h"

#include <fluidsynth.h>

#include <array>
#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>

namespace tessimo {

class SynthEngine {
public:
    // Creates the synthesiser at sampleRate and loads the SoundFont; on failure returns null
    // and sets reason to a plain-words explanation. The ring must outlive the engine.
    // Any thread, but afterwards the engine belongs to the thread that renders (see render).
    static std::unique_ptr<SynthEngine> create(double sampleRate,
                                               const std::filesystem::path& soundFont,
                                               ChannelMessageRing& input, std::string& reason);

    ~SynthEngine();
    SynthEngine(const SynthEngine&) = delete;
    SynthEngine& operator=(const SynthEngine&) = delete;

    // Applies every request waiting in the ring, then writes frames of sound into out,
    // interleaved when channelCount is 2 (1 and 2 are supported). Never allocates, locks or
    // waits. Only the one rendering thread (the audio thread); the synth is created without
    // its own locking, so nothing else may touch it while rendering can run.
    void render(float* out, std::size_t frames, int channelCount) noexcept;

    // Drops every request waiting in the ring except program changes, which it applies, and
    // silences every voice: after a gap in the output, notes asked for during the gap are not
    // played late all at once, while the channels keep the programs the sender believes they
    // have. The rendering thread, or any one thread while nothing renders.
    void discardPendingNotes() noexcept;

    // The program a channel (0..15) plays, or -1. Rendering thread only.
    int channelProgram(int channel) const;

    // The rate the synthesiser renders at. Any thread.
    double sampleRate() const { return sampleRate_; }

private:
    struct SettingsDeleter {
        void operator()(fluid_settings_t* settings) const { delete_fluid_settings(settings); }
    };
    struct SynthDeleter {
        void operator()(fluid_synth_t* synth) const { delete_fluid_synth(synth); }
    };

    SynthEngine(double sampleRate, ChannelMessageRing& input);
    void apply(const SynthRequest& request) noexcept;

    // Frames rendered at a time for a mono stream, which needs a stereo scratch buffer.
    static constexpr std::size_t ScratchFrames = 256;

    double sampleRate_;
    ChannelMessageRing& input_;
    // Declared first so it is deleted last: the synth keeps a pointer to its settings.
    std::unique_ptr<fluid_settings_t, SettingsDeleter> settings_;
    // Owns the loaded SoundFont too; deleting the synth unloads it.
    std::unique_ptr<fluid_synth_t, SynthDeleter> synth_;
    std::array<float, 2 * ScratchFrames> scratch_{};
};

} // namespace tessimo
