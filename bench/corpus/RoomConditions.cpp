// The recognition benchmark: both recognition paths over the corpus of make_corpus.sh, in the
// conditions a room brings (another take, a quieter voice, faster speech, fan-like and hiss-like
// noise, words that are not note names, instrument notes at another velocity or length, other
// instruments), printed as correct / substituted / rejected per path.
//   recognition_rooms CORPUSDIR
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "WavFile.h"
#include "recognition/AdaptiveRecognizer.h"
#include "recognition/CRecognizer.h"
#include "recognition/FrameAnalysis.h"
#include "recognition/TemplateSpread.h"
#include "recognition/WordMatching.h"

namespace {

using namespace tessimo;
namespace fs = std::filesystem;
using Samples = std::vector<std::int16_t>;

Samples readWav(const fs::path& p) {
    auto r = words::ReadWav(p.string());
    if (!r.error.empty()) {
        std::fprintf(stderr, "%s\n", r.error.c_str());
        std::exit(1);
    }
    return r.samples;
}

// Deterministic noise: white, or pink by a three-pole filter of white noise.
struct Noise {
    std::uint32_t state;
    bool pink;
    double b0 = 0, b1 = 0, b2 = 0;
    double white() {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) / 8388608.0 - 1.0;
    }
    double next() {
        const double w = white();
        if (!pink) {
            return w;
        }
        b0 = 0.99765 * b0 + w * 0.0990460;
        b1 = 0.96300 * b1 + w * 0.2965164;
        b2 = 0.57000 * b2 + w * 1.0526913;
        return b0 + b1 + b2 + w * 0.1848;
    }
};

std::vector<double> noise(std::size_t n, bool pink, double rms, std::uint32_t seed) {
    Noise g{seed, pink};
    std::vector<double> v(n);
    double sq = 0;
    for (auto& x : v) {
        x = g.next();
        sq += x * x;
    }
    const double scale = rms / std::sqrt(sq / static_cast<double>(n));
    for (auto& x : v) {
        x *= scale;
    }
    return v;
}

// Root mean square of the part of a word above 2 % of its peak (the word without its edges).
double wordRms(const Samples& s) {
    int peak = 1;
    for (auto x : s) {
        peak = std::max(peak, std::abs(static_cast<int>(x)));
    }
    std::size_t first = 0, last = s.size();
    while (first < last && std::abs(static_cast<int>(s[first])) < peak / 50) {
        ++first;
    }
    while (last > first && std::abs(static_cast<int>(s[last - 1])) < peak / 50) {
        --last;
    }
    double sq = 0;
    for (std::size_t i = first; i < last; ++i) {
        sq += static_cast<double>(s[i]) * s[i];
    }
    return std::sqrt(sq / std::max<double>(1.0, static_cast<double>(last - first)));
}

constexpr double QuietRoomRms = 12.0; // a quiet room through a microphone: about -69 dBFS

struct Condition {
    double gain = 1.0;        // applied to the word
    double noiseBelowDb = -1; // < 0: quiet room only
    bool pink = true;
};

// lead seconds of room, the word, tail seconds of room.
Samples scene(const Samples& word, const Condition& c, double lead, double tail, std::uint32_t seed,
              double referenceRms = -1.0) {
    const std::size_t a = static_cast<std::size_t>(lead * SampleRate);
    const std::size_t n = a + word.size() + static_cast<std::size_t>(tail * SampleRate);
    std::vector<double> mix = noise(n, false, QuietRoomRms, seed);
    if (c.noiseBelowDb >= 0) {
        const double ref = referenceRms > 0 ? referenceRms : wordRms(word) * c.gain;
        const auto loud =
            noise(n, c.pink, ref * std::pow(10.0, -c.noiseBelowDb / 20.0), seed * 7 + 1);
        for (std::size_t i = 0; i < n; ++i) {
            mix[i] += loud[i];
        }
    }
    for (std::size_t i = 0; i < word.size(); ++i) {
        mix[a + i] += word[i] * c.gain;
    }
    Samples out(n);
    for (std::size_t i = 0; i < n; ++i) {
        out[i] = static_cast<std::int16_t>(std::lround(std::clamp(mix[i], -32768.0, 32767.0)));
    }
    return out;
}

void feed(CRecognizer& r, const Samples& s) {
    for (std::size_t i = 0; i < s.size(); i += CaptureBufferSamples) {
        r.onCaptureBuffer(s.data() + i, std::min<std::size_t>(CaptureBufferSamples, s.size() - i));
    }
}

// Records templates the way the Record game does: the noise from one buffer of the quiet
// room, each word in a 1200 ms window that starts 150 ms before the word.
void recordTemplates(CRecognizer& r, const std::vector<std::pair<int, Samples>>& words,
                     std::uint32_t seed) {
    const Samples room = scene({}, {}, 0.2, 0.0, seed);
    r.StartNoiseMeasure();
    feed(r, Samples(room.begin(), room.begin() + CaptureBufferSamples));
    r.StopCapture();
    for (const auto& [slot, word] : words) {
        Samples window = scene(word, {}, 0.15, 1.2, seed + static_cast<std::uint32_t>(slot));
        window.resize(static_cast<std::size_t>(1.2 * SampleRate));
        r.StartWordRecording(slot);
        feed(r, window);
        r.StopCapture();
    }
}

struct Tally {
    int correct = 0, substituted = 0, rejected = 0, octave = 0;
    int total() const { return correct + substituted + rejected; }
};

struct Outcome {
    int first = -2; // first slot reported, -1 for "say again", -2 for nothing
    CRecognizer* r = nullptr;
    WordDecision decision;
    int events = 0;
};

void onWord(int slot, void* c) {
    auto* o = static_cast<Outcome*>(c);
    ++o->events;
    if (o->first == -2) {
        o->first = slot;
        o->decision = o->r->lastDecision();
    }
}
void onSayAgain(void* c) {
    auto* o = static_cast<Outcome*>(c);
    ++o->events;
    if (o->first == -2) {
        o->first = -1;
        o->decision = o->r->lastDecision();
    }
}

const bool Verbose = std::getenv("ROOMS_VERBOSE") != nullptr;
// Only the voice rows and the timing (quicker while tuning the matching).
const bool VoiceOnly = std::getenv("ROOMS_VOICE_ONLY") != nullptr;
int CurrentRow = 0;

// Runs one word through recognition; expected is the word class, or -1 for a word that is not
// in the vocabulary.
void judge(CRecognizer& r, const Samples& stream, int expected, Tally& t) {
    Outcome o;
    o.r = &r;
    r.setSayAgainCallback(&onSayAgain);
    r.StartRecognition(&onWord, &o);
    feed(r, stream);
    r.StopCapture();
    if (Verbose && r.recognitionPath() == RecognitionPath::Adaptive) {
        const auto& d = o.decision;
        const auto& l =
            d.match.slot >= 0 ? r.adaptive().templates().limits(d.match.slot) : SpreadLimits{};
        std::printf(
            "row %d expected %d got %d events %d | match %d %.3f second %d %.3f | accept %.3f "
            "margin %.3f within %.3f between %.3f | pitch %d\n",
            CurrentRow, expected, o.first, o.events, d.match.slot, d.match.distance,
            d.match.secondSlot, d.match.secondDistance, l.acceptDistance, l.margin, l.within,
            l.between, d.pitch);
    }
    if (o.first < 0) {
        ++t.rejected;
    } else if (expected >= 0 && WordClassOf(o.first) == expected) {
        ++t.correct;
    } else {
        ++t.substituted;
        if (expected >= 36 && o.first % 12 == expected % 12) {
            ++t.octave;
        }
    }
}

std::string cell(const Tally& t) {
    if (t.total() == 0) {
        return "        -          ";
    }
    char b[64];
    const double n = t.total();
    std::snprintf(b, sizeof b, "%5.1f %5.1f %5.1f", 100 * t.correct / n, 100 * t.substituted / n,
                  100 * t.rejected / n);
    return b;
}

void row(const char* name, const Tally& documented, const Tally& adaptive, const char* note = "") {
    std::printf("| %-36s | %4d | %s | %s | %-29s |\n", name, documented.total(),
                cell(documented).c_str(), cell(adaptive).c_str(), note);
}

struct Voice {
    std::string dir;
    // [name][take] and the extras
    std::vector<std::vector<Samples>> takes;
    std::vector<Samples> fast, other;
};

constexpr int NaturalClasses[7] = {0, 2, 4, 5, 7, 9, 11};

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: recognition_rooms CORPUSDIR (bench/corpus/make_corpus.sh)\n");
        return 2;
    }
    const fs::path corpus = argv[1];
    std::vector<Voice> voices;
    for (const auto& entry : fs::directory_iterator(corpus / "voice")) {
        Voice v;
        v.dir = entry.path().filename().string();
        for (int i = 0; i < 7; ++i) {
            std::vector<Samples> takes;
            for (int t = 0; t < 4; ++t) {
                takes.push_back(readWav(entry.path() / ("name" + std::to_string(i) + "-take" +
                                                        std::to_string(t) + ".wav")));
            }
            v.takes.push_back(std::move(takes));
            v.fast.push_back(readWav(entry.path() / ("name" + std::to_string(i) + "-fast.wav")));
        }
        for (int i = 0; i < 10; ++i) {
            v.other.push_back(readWav(entry.path() / ("other" + std::to_string(i) + ".wav")));
        }
        voices.push_back(std::move(v));
    }
    std::sort(voices.begin(), voices.end(),
              [](const Voice& a, const Voice& b) { return a.dir < b.dir; });

    enum {
        SameTake,
        OtherTake,
        Quieter,
        Faster,
        Pink30,
        Pink20,
        Pink10,
        White20,
        OutOfVocabulary,
        VoiceRows
    };
    const char* voiceNames[VoiceRows] = {"voice: same take",
                                         "voice: other take",
                                         "voice: 12 dB quieter",
                                         "voice: faster speech",
                                         "voice: pink noise 30 dB below",
                                         "voice: pink noise 20 dB below",
                                         "voice: pink noise 10 dB below",
                                         "voice: white noise 20 dB below",
                                         "voice: not a note name (accepted)"};
    Tally voiceTally[2][VoiceRows];
    std::vector<std::string> closeReports;

    std::uint32_t seed = 1;
    for (const Voice& v : voices) {
        for (int path = 0; path < 2; ++path) {
            CRecognizer r;
            r.setRecognitionPath(path == 0 ? RecognitionPath::Documented
                                           : RecognitionPath::Adaptive);
            std::vector<std::pair<int, Samples>> words;
            for (int i = 0; i < 7; ++i) {
                for (int t = 0; t < 3; ++t) {
                    words.emplace_back(
                        NaturalClasses[i] + 12 * t,
                        v.takes[static_cast<std::size_t>(i)][static_cast<std::size_t>(t)]);
                }
            }
            recordTemplates(r, words, 1000);
            if (path == 1) {
                std::string report = v.dir + ":";
                for (const auto& p : r.ConfusableWords()) {
                    report += " " + std::to_string(p.first) + "/" + std::to_string(p.second);
                }
                closeReports.push_back(report);
            }
            for (int s = 0; s < TemplateSlotCount; ++s) {
                r.SetCandidate(s, s < 36 && r.slot(s).length() != 0);
            }
            for (int i = 0; i < 7; ++i) {
                const int cls = NaturalClasses[i];
                const auto& takes = v.takes[static_cast<std::size_t>(i)];
                const double ref = wordRms(takes[3]);
                auto run = [&](int rowIndex, const Samples& word, Condition c, int expected) {
                    CurrentRow = rowIndex;
                    judge(r,
                          scene(word, c, 1.0, 1.2, ++seed, c.noiseBelowDb >= 0 ? ref * c.gain : -1),
                          expected, voiceTally[path][rowIndex]);
                };
                run(SameTake, takes[0], {}, cls);
                run(OtherTake, takes[3], {}, cls);
                run(Quieter, takes[3], {0.25}, cls);
                run(Faster, v.fast[static_cast<std::size_t>(i)], {}, cls);
                run(Pink30, takes[3], {1.0, 30, true}, cls);
                run(Pink20, takes[3], {1.0, 20, true}, cls);
                run(Pink10, takes[3], {1.0, 10, true}, cls);
                run(White20, takes[3], {1.0, 20, false}, cls);
            }
            for (const Samples& w : v.other) {
                judge(r, scene(w, {}, 1.0, 1.2, ++seed), -1, voiceTally[path][OutOfVocabulary]);
            }
        }
    }

    // Instruments: piano templates of 0.6 s at velocity 100.
    auto notes = [&](const std::string& name) {
        std::vector<Samples> n;
        for (int p = 36; p <= 83; ++p) {
            n.push_back(readWav(corpus / "instrument" / name / (std::to_string(p) + ".wav")));
        }
        return n;
    };
    const auto piano = notes("piano");
    struct InstrumentRow {
        const char* name;
        std::vector<std::vector<Samples>> sets;
        bool withTemplates;
    };
    const std::vector<std::vector<Samples>> others = {
        notes("guitar"), notes("flute"), notes("violin"), notes("trumpet"), notes("vibraphone")};
    std::vector<InstrumentRow> rows = {
        {"piano: same take", {piano}, true},
        {"piano: other velocity (45)", {notes("piano-soft")}, true},
        {"piano: shorter note (0.25 s)", {notes("piano-short")}, true},
        {"piano: longer note (1.2 s)", {notes("piano-long")}, true},
        {"5 other instruments, piano templates", others, true},
        {"piano, no recordings", {piano}, false},
        {"5 other instruments, no recordings", others, false},
        {"church organ, no recordings", {notes("organ")}, false},
    };
    std::vector<std::pair<Tally, Tally>> instrumentTallies(rows.size());
    for (int path = 0; path < 2 && !VoiceOnly; ++path) {
        for (std::size_t k = 0; k < rows.size(); ++k) {
            CRecognizer r;
            r.setRecognitionPath(path == 0 ? RecognitionPath::Documented
                                           : RecognitionPath::Adaptive);
            if (rows[k].withTemplates) {
                std::vector<std::pair<int, Samples>> words;
                for (int p = 36; p <= 83; ++p) {
                    words.emplace_back(p, piano[static_cast<std::size_t>(p - 36)]);
                }
                recordTemplates(r, words, 2000);
            } else {
                r.setNoiseLevel(
                    NoiseLevelOf(scene({}, {}, 0.2, 0, 3).data(), CaptureBufferSamples));
            }
            for (int p = 36; p <= 83; ++p) {
                r.SetCandidate(p, true);
            }
            CurrentRow = 100 + static_cast<int>(k);
            Tally& t = path == 0 ? instrumentTallies[k].first : instrumentTallies[k].second;
            for (const auto& set : rows[k].sets) {
                for (int p = 36; p <= 83; ++p) {
                    judge(r, scene(set[static_cast<std::size_t>(p - 36)], {}, 1.0, 1.2, ++seed), p,
                          t);
                }
            }
        }
    }

    std::printf("| %-36s | %4s | %-17s | %-17s | %-29s |\n", "condition (% of n)", "n",
                "documented", "adaptive", "");
    std::printf("|%s|%s|%s|%s|%s|\n", std::string(38, '-').c_str(), std::string(6, '-').c_str(),
                std::string(19, '-').c_str(), std::string(19, '-').c_str(),
                std::string(31, '-').c_str());
    std::printf("| %-36s | %4s | %-17s | %-17s | %-29s |\n", "", "", "   ok   sub   rej",
                "   ok   sub   rej", "");
    for (int i = 0; i < VoiceRows; ++i) {
        row(voiceNames[i], voiceTally[0][i], voiceTally[1][i]);
    }
    for (std::size_t k = 0; k < rows.size(); ++k) {
        char note[64] = "";
        if (instrumentTallies[k].second.total() > 0) {
            std::snprintf(
                note, sizeof note, "octave errors: %.1f / %.1f %%",
                100.0 * instrumentTallies[k].first.octave / instrumentTallies[k].first.total(),
                100.0 * instrumentTallies[k].second.octave / instrumentTallies[k].second.total());
        }
        row(rows[k].name, instrumentTallies[k].first, instrumentTallies[k].second, note);
    }
    std::printf("\nwords too close after recording (adaptive), by pitch class:\n");
    for (const auto& r : closeReports) {
        std::printf("  %s\n", r.c_str());
    }

    // The processor time of one match against 84 templates (both paths), of a whole adaptive
    // decision (features, match and pitch tracker), and of preparing the templates at the
    // start of a recognition: spoken names against 84 recorded names, and one-second words
    // against 84 one-second templates.
    {
        const auto& voice = voices.front();
        auto cpuMs = [] {
            timespec t{};
            clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
            return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
        };
        auto measure = [&](const char* what, const std::function<Samples(int)>& templateOf,
                           const Samples& word) {
            std::array<WordSlot, WordSlotCount> slots;
            std::array<std::uint8_t, TemplateSlotCount> all{};
            for (int s = 0; s < TemplateSlotCount; ++s) {
                slots[static_cast<std::size_t>(s)].samples = templateOf(s);
                const auto& w = slots[static_cast<std::size_t>(s)].samples;
                AnalyseWord(w.data(), static_cast<int>(w.size()),
                            slots[static_cast<std::size_t>(s)].frames);
                all[static_cast<std::size_t>(s)] = 1;
            }
            TemplateSpread spread;
            const double p0 = cpuMs();
            spread.prepare(slots);
            const double prepared = cpuMs() - p0;
            AdaptiveRecognizer a;
            a.prepare(slots);
            WordFeatures f;
            ComputeFeatures(word.data(), static_cast<int>(word.size()), f);
            CFFTArray frames;
            AnalyseWord(word.data(), static_cast<int>(word.size()), frames);
            const int rounds = 30;
            double ms[3];
            int sink = 0;
            for (int kind = 0; kind < 3; ++kind) {
                const double t0 = cpuMs();
                for (int i = 0; i < rounds; ++i) {
                    sink += kind == 0   ? BestMatch(frames, slots, all).slot
                            : kind == 1 ? spread.match(f, all).slot
                                        : a.decide(word.data(), word.size(), all).match.slot;
                }
                ms[kind] = (cpuMs() - t0) / rounds;
            }
            std::printf("| %-36s | %6.3f | %6.3f | %6.3f | %6.1f |%s\n", what, ms[0], ms[1], ms[2],
                        prepared, sink == 12345 ? " " : "");
        };
        std::printf("\nprocessor time in ms (target: a match under 2 ms):\n\n");
        std::printf("| %-36s | %6s | %6s | %6s | %6s |\n", "against 84 templates", "doc.", "adapt.",
                    "+pitch", "setup");
        std::printf("|%s|--------|--------|--------|--------|\n", std::string(38, '-').c_str());
        measure(
            "a spoken name (0.7 s), 84 names",
            [&](int s) {
                return voice
                    .takes[static_cast<std::size_t>(s % 7)][static_cast<std::size_t>(s % 3)];
            },
            scene(voice.takes[4][3], {}, 0.1, 0.3, 77));
        measure(
            "a 1 s word, 84 words of 1 s",
            [&](int s) {
                Samples w;
                for (int k = 0; w.size() < static_cast<std::size_t>(SampleRate); ++k) {
                    const auto& t = voice.takes[static_cast<std::size_t>((s + k) % 7)]
                                               [static_cast<std::size_t>(s % 4)];
                    w.insert(w.end(), t.begin(), t.end());
                }
                w.resize(SampleRate);
                return w;
            },
            [&] {
                Samples w;
                for (int k = 0; w.size() < static_cast<std::size_t>(SampleRate); ++k) {
                    const auto& t = voice.takes[static_cast<std::size_t>((5 + k) % 7)][3];
                    w.insert(w.end(), t.begin(), t.end());
                }
                w.resize(SampleRate);
                return w;
            }());
    }
    return 0;
}
