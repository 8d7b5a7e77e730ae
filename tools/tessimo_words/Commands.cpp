#include "Commands.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iomanip>
#include <ostream>

#include "WavFile.h"
#include "files/AtomicFileWrite.h"
#include "files/SafeFileOpen.h"
#include "recognition/CRecognizer.h"
#include "recognition/FrameAnalysis.h"
#include "recognition/TemplateFile.h"
#include "recognition/WarpDistance.h"

namespace tessimo::words {
namespace {

constexpr const char* Usage =
    "usage:\n"
    "  tessimo-words frames IN.wav OUT.f32 [--trim]\n"
    "  tessimo-words record --noise NOISE.wav --out FILE.dat [--adaptive] SLOT=WORD.wav ...\n"
    "  tessimo-words recognise FILE.dat STREAM.wav [--candidates LIST] [--adaptive]\n"
    "  tessimo-words info FILE.dat\n"
    "SLOT is a word slot 0..83; LIST is slots and ranges, e.g. 0-11,24,36-47.\n"
    "--adaptive follows the adaptive path (tracked noise floor, normalised matching, limits\n"
    "from the templates, pitch tracker for instruments) instead of the documented one.\n";

using Samples = std::vector<std::int16_t>;

// Feeds samples to r in capture buffers of 4096 samples, the last one partial; calls
// afterEach with the number of samples fed so far after each buffer.
template <typename F> void feed(CRecognizer& r, const Samples& s, F&& afterEach) {
    for (std::size_t i = 0; i < s.size(); i += CaptureBufferSamples) {
        const std::size_t n = std::min<std::size_t>(CaptureBufferSamples, s.size() - i);
        afterEach(i + n);
        r.onCaptureBuffer(s.data() + i, n);
    }
}
void feed(CRecognizer& r, const Samples& s) {
    feed(r, s, [](std::size_t) {});
}

bool parseInt(const std::string& text, int& value) {
    const char* end = text.data() + text.size();
    const auto [p, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && p == end;
}

bool parseSlot(const std::string& text, int& slot) {
    return parseInt(text, slot) && slot >= 0 && slot < TemplateSlotCount;
}

// "0-11,24" into flags; false on a malformed list.
bool parseCandidates(const std::string& list, std::array<bool, TemplateSlotCount>& flags) {
    flags.fill(false);
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t comma = std::min(list.find(',', start), list.size());
        const std::string item = list.substr(start, comma - start);
        const std::size_t dash = item.find('-');
        int first = 0, last = 0;
        if (dash == std::string::npos) {
            if (!parseSlot(item, first)) {
                return false;
            }
            last = first;
        } else if (!parseSlot(item.substr(0, dash), first) ||
                   !parseSlot(item.substr(dash + 1), last) || last < first) {
            return false;
        }
        for (int s = first; s <= last; ++s) {
            flags[static_cast<std::size_t>(s)] = true;
        }
        start = comma + 1;
    }
    return true;
}

bool readWav(const std::string& path, Samples& samples, std::ostream& err) {
    WavReadResult wav = ReadWav(path);
    if (!wav.error.empty()) {
        err << wav.error << "\n";
        return false;
    }
    samples = std::move(wav.samples);
    return true;
}

int frames(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::vector<std::string> files;
    bool trim = false;
    for (const auto& a : args) {
        if (a == "--trim") {
            trim = true;
        } else {
            files.push_back(a);
        }
    }
    if (files.size() != 2) {
        err << Usage;
        return 2;
    }
    Samples samples;
    if (!readWav(files[0], samples, err)) {
        return 1;
    }
    CFFTArray analysed;
    CRecognizer r;
    const CFFTArray* result = &analysed;
    if (trim) {
        // The path of a word recording: captured into a slot, then trimmed and analysed.
        r.StartWordRecording(0);
        feed(r, samples);
        r.StopCapture();
        result = &r.slot(0).frames;
        if (samples.size() > MaxTemplateSamples) {
            err << "note: only the first " << MaxTemplateSamples << " samples are kept, as in "
                << "a recording\n";
        }
    } else {
        AnalyseWord(samples.data(), static_cast<int>(samples.size()), analysed);
    }
    std::vector<std::uint8_t> bytes;
    bytes.reserve(static_cast<std::size_t>(result->GetSize()) * FrameValues * 4);
    for (int f = 0; f < result->GetSize(); ++f) {
        for (int k = 0; k < FrameValues; ++k) {
            std::uint32_t bits;
            const float v = (*result)[f][k];
            std::memcpy(&bits, &v, 4);
            for (int shift = 0; shift < 32; shift += 8) {
                bytes.push_back(static_cast<std::uint8_t>(bits >> shift));
            }
        }
    }
    const FileWriteResult written = writeFileAtomically(files[1], bytes);
    if (!written) {
        err << files[1] << ": cannot be written (" << describeWriteFailure(written) << ")\n";
        return 1;
    }
    out << result->GetSize() << " frames of " << FrameValues << " values";
    if (trim) {
        out << " from " << r.slot(0).samples.size() << " samples after trimming";
    }
    out << "\n";
    return 0;
}

int record(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string noisePath, outPath;
    std::vector<std::pair<int, std::string>> words;
    bool adaptive = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--adaptive") {
            adaptive = true;
        } else if (args[i] == "--noise" && i + 1 < args.size()) {
            noisePath = args[++i];
        } else if (args[i] == "--out" && i + 1 < args.size()) {
            outPath = args[++i];
        } else {
            const std::size_t eq = args[i].find('=');
            int slot = 0;
            if (eq == std::string::npos || !parseSlot(args[i].substr(0, eq), slot)) {
                err << "not SLOT=WORD.wav with a slot 0..83: " << args[i] << "\n" << Usage;
                return 2;
            }
            words.emplace_back(slot, args[i].substr(eq + 1));
        }
    }
    if (noisePath.empty() || outPath.empty()) {
        err << Usage;
        return 2;
    }
    CRecognizer r;
    if (adaptive) {
        r.setRecognitionPath(RecognitionPath::Adaptive);
    }
    Samples samples;
    if (!readWav(noisePath, samples, err)) {
        return 1;
    }
    samples.resize(std::min<std::size_t>(samples.size(), CaptureBufferSamples));
    r.StartNoiseMeasure();
    feed(r, samples);
    r.StopCapture();
    if (!(r.noiseLevel() > 0.0f)) {
        err << noisePath << ": the noise level is 0 (digital silence); with it no word can ever "
            << "end in recognition. Record the noise with the microphone used for the words.\n";
    }
    for (const auto& [slot, path] : words) {
        if (!readWav(path, samples, err)) {
            return 1;
        }
        r.StartWordRecording(slot);
        feed(r, samples);
        r.StopCapture();
        if (r.slot(slot).length() == 0) {
            err << path << ": shorter than " << FrameLength + 1 << " samples, slot " << slot
                << " left empty\n";
        }
    }
    if (r.SaveTemplates(outPath) != 0) {
        const FileKind kind = fileKindAt(outPath);
        err << outPath << ": cannot be written"
            << (kind == FileKind::Missing || kind == FileKind::Regular
                    ? std::string()
                    : " (it " + describeFileKind(kind) + ")")
            << "\n";
        return 1;
    }
    out << "noise level " << r.noiseLevel() << ", " << words.size() << " word(s) written to "
        << outPath << "\n";
    if (adaptive) {
        for (const ConfusablePair& pair : r.ConfusableWords()) {
            out << "too close: " << pair.first << " and " << pair.second << " (distance "
                << std::fixed << std::setprecision(3) << pair.distance << ")\n";
        }
    }
    return 0;
}

bool load(CRecognizer& r, const std::string& path,
          std::array<std::uint8_t, TemplateSlotCount>& present, std::ostream& err) {
    // A file named on the command line may be reached through a link; the recogniser itself
    // never follows one, so it is given the file the link leads to.
    std::error_code ec;
    const std::filesystem::path target = std::filesystem::canonical(path, ec);
    const std::string file = ec ? path : target.string();
    const ReadOpenResult opened = openRegularFileForReading(file);
    if (!opened.opened()) {
        err << path << ": " << describeReadFailure(opened.kind, opened.error) << "\n";
        return false;
    }
    if (opened.size > MaxTemplateFileBytes()) {
        err << path << ": " << opened.size << " bytes, more than any template file can hold ("
            << MaxTemplateFileBytes() << ")\n";
        return false;
    }
    if (r.LoadTemplates(file, present) != 0) {
        err << path << ": not a template file\n";
        return false;
    }
    return true;
}

struct Recognition {
    CRecognizer* r = nullptr;
    std::ostream* out = nullptr;
    std::size_t position = 0; // samples fed, the current buffer included
};

int recognise(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::vector<std::string> files;
    std::array<bool, TemplateSlotCount> listed;
    listed.fill(true);
    bool adaptive = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--adaptive") {
            adaptive = true;
        } else if (args[i] == "--candidates" && i + 1 < args.size()) {
            if (!parseCandidates(args[++i], listed)) {
                err << "bad candidate list: " << args[i] << "\n" << Usage;
                return 2;
            }
        } else {
            files.push_back(args[i]);
        }
    }
    if (files.size() != 2) {
        err << Usage;
        return 2;
    }
    CRecognizer r;
    std::array<std::uint8_t, TemplateSlotCount> present;
    Samples stream;
    if (!load(r, files[0], present, err) || !readWav(files[1], stream, err)) {
        return 1;
    }
    for (int s = 0; s < TemplateSlotCount; ++s) {
        r.SetCandidate(s, present[static_cast<std::size_t>(s)] != 0 &&
                              listed[static_cast<std::size_t>(s)]);
    }
    Recognition context{&r, &out, 0};
    if (adaptive) {
        r.setRecognitionPath(RecognitionPath::Adaptive);
        r.setSayAgainCallback([](void* c) {
            auto* rec = static_cast<Recognition*>(c);
            *rec->out << std::fixed << std::setprecision(3)
                      << static_cast<double>(rec->position) / SampleRate << " ?\n";
        });
        r.StartRecognition(
            [](int slot, void* c) {
                auto* rec = static_cast<Recognition*>(c);
                const WordDecision& d = rec->r->lastDecision();
                *rec->out << std::fixed << std::setprecision(3)
                          << static_cast<double>(rec->position) / SampleRate << " " << slot << " "
                          << std::setprecision(3) << d.match.distance << "\n";
            },
            &context);
        feed(r, stream, [&](std::size_t position) { context.position = position; });
        r.StopCapture();
        return 0;
    }
    r.StartRecognition(
        [](int slot, void* c) {
            auto* rec = static_cast<Recognition*>(c);
            // The work slot still holds the word while it is reported.
            const float d = WarpDistance(rec->r->slot(WorkSlot).frames, rec->r->slot(slot).frames);
            *rec->out << std::fixed << std::setprecision(3)
                      << static_cast<double>(rec->position) / SampleRate << " " << slot << " "
                      << std::setprecision(1) << d << "\n";
        },
        &context);
    feed(r, stream, [&](std::size_t position) { context.position = position; });
    r.StopCapture();
    return 0;
}

int info(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() != 1) {
        err << Usage;
        return 2;
    }
    CRecognizer r;
    std::array<std::uint8_t, TemplateSlotCount> present;
    if (!load(r, args[0], present, err)) {
        return 1;
    }
    out << "noise level " << r.noiseLevel() << "\n";
    for (int s = 0; s < TemplateSlotCount; ++s) {
        if (present[static_cast<std::size_t>(s)] != 0) {
            out << "slot " << s << ": " << r.slot(s).samples.size() << " samples, "
                << r.slot(s).frames.GetSize() << " frames\n";
        }
    }
    return 0;
}

} // namespace

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        err << Usage;
        return 2;
    }
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (args[0] == "frames") {
        return frames(rest, out, err);
    }
    if (args[0] == "record") {
        return record(rest, out, err);
    }
    if (args[0] == "recognise") {
        return recognise(rest, out, err);
    }
    if (args[0] == "info") {
        return info(rest, out, err);
    }
    err << Usage;
    return 2;
}

} // namespace tessimo::words
