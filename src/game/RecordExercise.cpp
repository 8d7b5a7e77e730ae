#include "game/RecordExercise.h"

#include <algorithm>

#include "game/Platform.h"
#include "model/NoteNames.h"
#include "model/Pitch.h"
#include "model/PitchTable.h"
#include "model/SettingsRecord.h"
#include "recognition/RecognizerEntryPoints.h"

namespace tessimo {

namespace {
constexpr int TicksPerWord = 5; // capture runs in ticks 0..3 of each word's window
constexpr int StopTick = 4;
constexpr DeviceRect CountdownCorner{0, 0, 300, 400};
} // namespace

std::vector<int> RecordExercise::allWords() const {
    std::vector<int> words;
    for (int n = 0;; ++n) {
        const CNote* word = c_.table.nthWord(n, c_.settings.soundMode);
        if (word == nullptr) {
            return words;
        }
        words.push_back(word->wordIndex);
    }
}

std::vector<int> RecordExercise::takesOf(int word) const {
    std::vector<int> takes;
    for (int slot : allWords()) {
        if (wordOf(slot) == word) {
            takes.push_back(slot);
        }
    }
    return takes;
}

int RecordExercise::wordOf(int slot) {
    return slot < PitchTable::VoiceWordCount ? slot % PitchesPerOctave : slot;
}

std::string RecordExercise::nameOf(int word) const {
    const CNote& entry = c_.table[word];
    std::string name = noteName(entry.pitch, c_.settings.namingConvention);
    if (word >= PitchTable::VoiceWordCount) {
        name += " " + std::to_string(entry.pitch / PitchesPerOctave - 1);
    }
    return name;
}

void RecordExercise::start(std::uint32_t /*now*/) {
    progress_ = RecordProgress{};
    replaying_ = false;
    replayIndex_ = -1;
    recordedWords_ = 0;
    missed_.clear();
}

void RecordExercise::tick(std::uint32_t /*now*/) {
    if (replaying_) {
        tickReplay();
    } else {
        tickRecord();
    }
}

void RecordExercise::tickRecord() {
    RecordProgress& p = progress_;
    ++p.tick;
    if (p.tick == TicksPerWord) {
        p.tick = 0;
        ++p.position;
    }
    const auto count = static_cast<int>(words_.size());
    p.currentWord =
        p.position >= 0 && p.position < count ? words_[static_cast<std::size_t>(p.position)] : -1;
    if (p.position >= count) {
        s_.phases.recordingEnded();
        s_.window.repaintAll();
        return;
    }
    if (p.position < 0) {
        s_.window.repaintRect(CountdownCorner); // only the countdown changes
    } else {
        s_.window.repaintAll();
    }
    if (p.tick == 0) {
        if (p.position == -1) {
            s_.recognizer.StartNoiseMeasure();
        } else if (p.position >= 0) {
            s_.recognizer.StartWordRecording(p.currentWord);
            s_.table[p.currentWord].hasTemplate = 0; // emptied until it is recorded
        }
    }
    if (p.tick == StopTick && p.position >= -1) {
        s_.recognizer.StopCapture();
        if (p.position >= 0) {
            checkRecording(p.currentWord);
        }
    }
}

void RecordExercise::startReplay() {
    replaying_ = true;
    replayIndex_ = -1;
    progress_.currentWord = -1;
}

void RecordExercise::tickReplay() {
    ++replayIndex_;
    const bool more = replayIndex_ < static_cast<int>(words_.size());
    progress_.currentWord = more ? words_[static_cast<std::size_t>(replayIndex_)] : -1;
    s_.window.repaintAll();
    if (more) {
        c_.sounds.playWord(progress_.currentWord);
        return;
    }
    s_.phases.replayEnded();
}

// A word counts as recorded only when the recogniser made a template of it; otherwise the
// status line names every word of this Record to record again.
void RecordExercise::checkRecording(int slot) {
    const bool recorded = s_.recognizer.HasTemplate(slot);
    s_.table[slot].hasTemplate = recorded ? 1 : 0;
    if (recorded) {
        ++recordedWords_;
        return;
    }
    const int word = wordOf(slot);
    if (std::find(missed_.begin(), missed_.end(), word) == missed_.end()) {
        missed_.push_back(word); // a name of three recordings is named once
    }
    std::string list;
    for (int missed : missed_) {
        list += (list.empty() ? "" : ", ") + nameOf(missed);
    }
    s_.status.showMessage("Nothing was heard for " + list + ": record again");
}

} // namespace tessimo
