#include "recognition/CRecognizer.h"

#include <algorithm>

#include "files/AtomicFileWrite.h"
#include "recognition/AdaptiveRecognizer.h"
#include "recognition/FrameAnalysis.h"
#include "recognition/TemplateFile.h"
#include "recognition/WordMatching.h"
#include "recognition/WordTrimming.h"

namespace tessimo {
namespace {

// The longest word the detector can hold before dropping it: nine full buffers.
constexpr std::size_t WorkSlotCapacity = 9 * CaptureBufferSamples;
// A word under way grows by one buffer at a time and is dropped once it holds more than
// MaxWordBytes, so the longest it gets is the first whole number of buffers past that.
// Recognition allocates nothing only while the work slot's reserve covers it.
static_assert(WorkSlotCapacity >= (MaxWordBytes / 2 / CaptureBufferSamples + 1) *
                                      static_cast<std::size_t>(CaptureBufferSamples),
              "the work slot must hold the longest word the detector keeps");
constexpr int WorkSlotFrameCapacity = (WorkSlotCapacity - FrameLength) / FrameHop + 2;

bool isTemplateSlot(int slot) {
    return slot >= 0 && slot < TemplateSlotCount;
}

} // namespace

CRecognizer::CRecognizer(CaptureDevice* capture, WordOutput* output)
    : capture_(capture), output_(output), adaptive_(std::make_unique<AdaptiveRecognizer>()) {
    // Everything recognition needs is allocated here, so that the capture thread does not
    // allocate while recognising.
    WindowTable();
    WordSlot& work = slots_[WorkSlot];
    work.samples.reserve(WorkSlotCapacity);
    work.frames.Reserve(WorkSlotFrameCapacity, FrameValues);
}

CRecognizer::~CRecognizer() {
    stopDevice();
}

void CRecognizer::stopDevice() {
    if (capturing_ && capture_ != nullptr) {
        capture_->stop();
    }
    capturing_ = false;
}

void CRecognizer::startDevice() {
    capturing_ = true;
    if (capture_ != nullptr) {
        capture_->start(*this);
    }
}

void CRecognizer::start(DetectorState state) {
    ResetSlot(currentSlot_);
    state_ = state;
    startDevice();
}

void CRecognizer::StartNoiseMeasure() {
    stopDevice();
    currentSlot_ = WorkSlot;
    start(S_ENREG_BRUIT);
}

void CRecognizer::StartWordRecording(int slot) {
    if (!isTemplateSlot(slot)) {
        return;
    }
    stopDevice();
    currentSlot_ = slot;
    ResetSlot(slot);
    slots_[static_cast<std::size_t>(slot)].samples.reserve(8 * CaptureBufferSamples);
    state_ = S_ENREG_MOTS;
    startDevice();
}

void CRecognizer::StartRecognition(RecognitionCallback callback, void* context) {
    stopDevice();
    callback_ = callback;
    context_ = context;
    currentSlot_ = WorkSlot;
    if (path_ == RecognitionPath::Adaptive) {
        adaptive_->prepare(slots_);
        adaptive_->start();
    }
    start(S_ATTENTE_ENERGIE);
}

int CRecognizer::StopCapture() {
    stopDevice();
    if (state_ == S_ENREG_MOTS) {
        if (path_ == RecognitionPath::Adaptive) {
            AdaptiveTrim(currentSlot_);
        } else {
            TrimAndAnalyse(currentSlot_);
        }
    }
    currentSlot_ = -1;
    state_ = S_NO_RECON;
    return 0;
}

void CRecognizer::SetCandidate(int slot, bool candidate) {
    if (isTemplateSlot(slot)) {
        candidates_[static_cast<std::size_t>(slot)].store(candidate ? 1 : 0,
                                                          std::memory_order_relaxed);
    }
}

bool CRecognizer::isCandidate(int slot) const {
    return isTemplateSlot(slot) &&
           candidates_[static_cast<std::size_t>(slot)].load(std::memory_order_relaxed) != 0;
}

int CRecognizer::PlayWord(int slot) {
    if (slot < 0 || slot >= WordSlotCount) {
        return -1;
    }
    stopDevice();
    currentSlot_ = -1;
    state_ = S_NO_RECON;
    const WordSlot& word = slots_[static_cast<std::size_t>(slot)];
    if (!word.samples.empty() && output_ != nullptr) {
        output_->playWord(word.samples.data(), word.samples.size()); // copied before it returns
    }
    return 0; // every slot 0..85 exists; an empty one plays nothing
}

void CRecognizer::StopWordPlayback() {
    if (output_ != nullptr) {
        output_->stopWord();
    }
}

bool CRecognizer::HasTemplate(int slot) const {
    return isTemplateSlot(slot) && !slots_[static_cast<std::size_t>(slot)].samples.empty();
}

int CRecognizer::SaveTemplates(const std::string& path) {
    if (capturing_) {
        StopCapture(); // a word being recorded is finished first, so it is saved too
    }
    return writeFileAtomically(path, EncodeTemplateFile(noiseLevel_, slots_)) ? 0 : -1;
}

int CRecognizer::LoadTemplates(const std::string& path,
                               std::array<std::uint8_t, TemplateSlotCount>& present) {
    present.fill(0);
    const auto bytes = ReadWholeFile(path, MaxTemplateFileBytes());
    if (!bytes) {
        return -1;
    }
    auto contents = ParseTemplateFile(*bytes);
    if (!contents) {
        return -1;
    }
    if (capturing_) {
        StopCapture(); // the slots would change under the detector otherwise
    }
    noiseLevel_ = contents->noiseLevel;
    for (auto& record : contents->records) {
        ResetSlot(record.slot);
        WordSlot& word = slots_[static_cast<std::size_t>(record.slot)];
        word.samples = std::move(record.samples);
        const auto frameCount = static_cast<int>(record.frameValues.size() / FrameValues);
        for (int f = 0; f < frameCount; ++f) {
            CFFT& frame = word.frames.Append(FrameValues);
            std::copy_n(record.frameValues.begin() + static_cast<std::ptrdiff_t>(f) * FrameValues,
                        FrameValues, frame.values());
        }
        present[static_cast<std::size_t>(record.slot)] = 1;
    }
    return 0;
}

void CRecognizer::ResetTemplates() {
    if (capturing_) {
        StopCapture(); // the slots would change under the detector otherwise
    }
    for (int slot = 0; slot < TemplateSlotCount; ++slot) {
        ResetSlot(slot);
    }
}

void CRecognizer::ResetSlot(int slot) {
    if (slot < 0 || slot >= WordSlotCount) {
        return;
    }
    WordSlot& word = slots_[static_cast<std::size_t>(slot)];
    word.samples.clear();
    if (slot == WorkSlot) {
        word.frames.RemoveAll(); // the work slot keeps its storage for the next word
    } else {
        word.samples.shrink_to_fit();
        word.frames.FreeAll();
    }
}

void CRecognizer::TrimAndAnalyse(int slot) {
    if (slot < 0 || slot >= WordSlotCount) {
        return;
    }
    WordSlot& word = slots_[static_cast<std::size_t>(slot)];
    const auto count = static_cast<int>(word.samples.size());
    if (count == 0) {
        return;
    }
    if (count < MinTrimmableSamples) {
        ResetSlot(slot); // too short to hold a word of one frame
        return;
    }
    const TrimRange range = FindWord(word.samples.data(), count);
    std::copy(word.samples.begin() + range.start, word.samples.begin() + range.end,
              word.samples.begin());
    word.samples.resize(static_cast<std::size_t>(range.end - range.start));
    if (slot != WorkSlot) {
        word.samples.shrink_to_fit();
    }
    AnalyseWord(word.samples.data(), range.end - range.start, word.frames);
}

void CRecognizer::MatchWord() {
    std::array<std::uint8_t, TemplateSlotCount> candidate;
    for (std::size_t slot = 0; slot < candidate.size(); ++slot) {
        candidate[slot] = candidates_[slot].load(std::memory_order_relaxed);
    }
    const MatchResult best = BestMatch(slots_[WorkSlot].frames, slots_, candidate);
    if (best.accepted() && callback_ != nullptr) {
        callback_(best.slot, context_);
    }
}

void CRecognizer::onCaptureBuffer(const std::int16_t* samples, std::size_t count) {
    const bool recognising =
        state_ == S_ATTENTE_ENERGIE || state_ == S_ATTENTE_FIN || state_ == S_BUFFER_SATURE;
    if (path_ == RecognitionPath::Adaptive && recognising) {
        AdaptiveStep(samples, count);
    } else {
        DetectorStep(samples, count);
    }
}

void CRecognizer::DetectorStep(const std::int16_t* samples, std::size_t count) {
    if (count == 0 || currentSlot_ < 0 || currentSlot_ >= WordSlotCount) {
        return; // an empty buffer has no level
    }
    WordSlot& word = slots_[static_cast<std::size_t>(currentSlot_)];
    const float threshold = 2.0f * noiseLevel_;
    switch (state_) {
    case S_ATTENTE_ENERGIE:
        word.samples.assign(samples, samples + count);
        if (BufferLevel(samples, count) > threshold) {
            state_ = S_ATTENTE_FIN;
        }
        break;
    case S_ATTENTE_FIN:
        word.samples.insert(word.samples.end(), samples, samples + count);
        if (BufferLevel(samples, count) < threshold) {
            TrimAndAnalyse(currentSlot_);
            MatchWord();
            ResetSlot(currentSlot_);
            state_ = S_ATTENTE_ENERGIE;
        } else if (word.length() > MaxWordBytes) {
            ResetSlot(currentSlot_);
            state_ = S_BUFFER_SATURE;
        }
        break;
    case S_BUFFER_SATURE:
        if (SaturatedLevel(samples, count) < threshold) {
            state_ = S_ATTENTE_ENERGIE;
        }
        break;
    case S_ENREG_BRUIT:
        word.samples.assign(samples, samples + count);
        noiseLevel_ = NoiseLevelOf(samples, count);
        state_ = S_NO_RECON;
        break;
    case S_ENREG_MOTS: {
        const std::size_t room =
            MaxTemplateSamples - std::min<std::size_t>(word.samples.size(), MaxTemplateSamples);
        word.samples.insert(word.samples.end(), samples, samples + std::min(count, room));
        break;
    }
    case S_NO_RECON:
        break;
    }
}

// ---- The adaptive path ----

void CRecognizer::setRecognitionPath(RecognitionPath path) {
    if (capturing_) {
        StopCapture();
    }
    path_ = path;
}

void CRecognizer::AdaptiveStep(const std::int16_t* samples, std::size_t count) {
    std::array<std::uint8_t, TemplateSlotCount> candidate;
    for (std::size_t slot = 0; slot < candidate.size(); ++slot) {
        candidate[slot] = candidates_[slot].load(std::memory_order_relaxed);
    }
    adaptive_->feed(samples, count, candidate, [&](const WordDecision& decision) {
        lastDecision_ = decision;
        if (decision.slot >= 0) {
            if (callback_ != nullptr) {
                callback_(decision.slot, context_);
            }
        } else if (sayAgain_ != nullptr) {
            sayAgain_(sayAgainContext_ != nullptr ? sayAgainContext_ : context_);
        }
    });
    state_ = adaptive_->detector().inWord() ? S_ATTENTE_FIN : S_ATTENTE_ENERGIE;
}

void CRecognizer::AdaptiveTrim(int slot) {
    if (slot < 0 || slot >= TemplateSlotCount) {
        return;
    }
    WordSlot& word = slots_[static_cast<std::size_t>(slot)];
    const auto count = static_cast<int>(word.samples.size());
    if (count < MinTrimmableSamples) {
        TrimAndAnalyse(slot); // empty, or too short for a frame: discarded as always
        return;
    }
    const RecordingSpan span = FindRecordedWord(word.samples.data(), count, noiseLevel_);
    if (!span.found) {
        TrimAndAnalyse(slot); // nothing rose above the room: cut as the documented path does
        return;
    }
    std::copy(word.samples.begin() + span.start, word.samples.begin() + span.end,
              word.samples.begin());
    word.samples.resize(static_cast<std::size_t>(span.end - span.start));
    word.samples.shrink_to_fit();
    AnalyseWord(word.samples.data(), span.end - span.start, word.frames);
}

std::vector<ConfusablePair> CRecognizer::ConfusableWords() const {
    TemplateSpread spread;
    spread.prepare(slots_);
    return spread.confusable();
}

} // namespace tessimo
