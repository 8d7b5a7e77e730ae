#include "sound/SynthEngine.h"

#include <algorithm>
#include <mutex>

namespace tessimo {

namespace {

// Output level of the synthesiser: a four-note chord at the exercises' velocity stays below
// full scale.
constexpr double SynthGain = 0.4;

// The program writes no log, so the library's messages are switched off once per process.
void silenceSynthLog() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
            fluid_set_log_function(level, nullptr, nullptr);
    });
}

} // namespace

SynthEngine::SynthEngine(double sampleRate, ChannelMessageRing& input)
    : sampleRate_(sampleRate), input_(input) {}

SynthEngine::~SynthEngine() = default;

std::unique_ptr<SynthEngine> SynthEngine::create(double sampleRate,
                                                 const std::filesystem::path& soundFont,
                                                 ChannelMessageRing& input, std::string& reason) {
    silenceSynthLog();
    std::unique_ptr<SynthEngine> engine(new SynthEngine(sampleRate, input));

    engine->settings_.reset(new_fluid_settings());
    fluid_settings_t* settings = engine->settings_.get();
    if (settings == nullptr) {
        reason = "The synthesiser could not be started";
        return nullptr;
    }
    // One thread renders and applies every message, so the synth needs no lock of its own.
    // No reverb or chorus: their buffers would be allocated when first switched on, and idle
    // output stays exactly silent. Samples are loaded at once, never from the audio thread.
    fluid_settings_setint(settings, "synth.threadsafe-api", 0);
    fluid_settings_setint(settings, "synth.reverb.active", 0);
    fluid_settings_setint(settings, "synth.chorus.active", 0);
    fluid_settings_setint(settings, "synth.cpu-cores", 1);
    fluid_settings_setint(settings, "synth.dynamic-sample-loading", 0);
    fluid_settings_setnum(settings, "synth.sample-rate", sampleRate);
    fluid_settings_setnum(settings, "synth.gain", SynthGain);

    engine->synth_.reset(new_fluid_synth(settings));
    if (engine->synth_ == nullptr) {
        reason = "The synthesiser could not be started";
        return nullptr;
    }
    if (fluid_synth_sfload(engine->synth_.get(), soundFont.c_str(), 1) == FLUID_FAILED) {
        reason = "The General MIDI SoundFont could not be loaded: " + soundFont.string();
        return nullptr;
    }
    return engine;
}

void SynthEngine::apply(const SynthRequest& request) noexcept {
    fluid_synth_t* synth = synth_.get();
    const int channel = request.channel;
    switch (request.kind) {
    case SynthRequest::Kind::NoteOn:
        fluid_synth_noteon(synth, channel, request.key, request.velocity); // 0 releases the key
        break;
    case SynthRequest::Kind::NoteOff:
        fluid_synth_noteoff(synth, channel, request.key);
        break;
    case SynthRequest::Kind::ProgramChange:
        fluid_synth_program_change(synth, channel, request.key);
        break;
    case SynthRequest::Kind::SilenceAll:
        // Every voice stops at once; program and bank of each channel stay as they are.
        fluid_synth_all_sounds_off(synth, -1);
        break;
    }
}

void SynthEngine::render(float* out, std::size_t frames, int channelCount) noexcept {
    input_.drain([this](const SynthRequest& request) { apply(request); });
    fluid_synth_t* synth = synth_.get();
    if (channelCount == 2) {
        // Rendered in pieces so that the length always fits the library's int.
        std::size_t done = 0;
        while (done < frames) {
            const int n = static_cast<int>(std::min<std::size_t>(frames - done, 1u << 20));
            float* at = out + 2 * done;
            fluid_synth_write_float(synth, n, at, 0, 2, at, 1, 2);
            done += static_cast<std::size_t>(n);
        }
        return;
    }
    // Mono: render stereo into the scratch buffer and average the two sides.
    std::size_t done = 0;
    while (done < frames) {
        const std::size_t n = std::min(frames - done, ScratchFrames);
        fluid_synth_write_float(synth, static_cast<int>(n), scratch_.data(), 0, 2, scratch_.data(),
                                1, 2);
        for (std::size_t i = 0; i < n; ++i)
            out[done + i] = 0.5f * (scratch_[2 * i] + scratch_[2 * i + 1]);
        done += n;
    }
}

void SynthEngine::discardPendingNotes() noexcept {
    input_.drain([this](const SynthRequest& request) {
        if (request.kind == SynthRequest::Kind::ProgramChange)
            apply(request);
    });
    fluid_synth_all_sounds_off(synth_.get(), -1);
}

int SynthEngine::channelProgram(int channel) const {
    int sfontId = 0;
    int bank = 0;
    int program = -1;
    if (fluid_synth_get_program(synth_.get(), channel, &sfontId, &bank, &program) != FLUID_OK)
        return -1;
    return program;
}

} // namespace tessimo
