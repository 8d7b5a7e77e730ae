// Record and its replay. A countdown of two steps, the room's noise, then each word to record
// in a window of five 300 ms ticks (capture in the first four); then every word recorded is
// played back, one per 1200 ms. A Record covers either every word of the selection or the
// takes of one word, to record again a word that was not heard or that sounds like another.
// User-interface thread only.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "game/ExerciseMode.h"
#include "game/RecordProgress.h"
#include "game/WordToRecordAgain.h"

namespace tessimo {

class PitchTable;
class RecognizerEntryPoints;
class StatusLine;
class ViewWindow;

// What the view does when Record moves on to its next phase.
class RecordPhases {
public:
    virtual ~RecordPhases() = default;
    // Every word had its window: the replay starts (the view changes mode and timer).
    virtual void recordingEnded() = 0;
    // Every recorded word was played back: the view saves the templates and goes idle.
    virtual void replayEnded() = 0;
};

struct RecordServices {
    PitchTable& table; // the words' template flags change as they are recorded
    RecognizerEntryPoints& recognizer;
    ViewWindow& window;
    StatusLine& status;
    RecordPhases& phases;
};

class RecordExercise : public ExerciseMode {
public:
    RecordExercise(const ExerciseContext& context, const RecordServices& services)
        : c_(context), s_(services) {}

    // The table indices of the words the next start records, in order.
    void chooseWords(std::vector<int> words) { words_ = std::move(words); }
    // Every word of the selection, in the table's order.
    std::vector<int> allWords() const;
    // The takes of one word (its lowest slot) that the selection uses.
    std::vector<int> takesOf(int word) const;

    void start(std::uint32_t now) override;
    // Record: one 300 ms step. Replay: the next word, one 1200 ms step.
    void tick(std::uint32_t now) override;
    void advanceTo(std::uint32_t /*now*/) override {}
    // Whether the replay runs (after the recording phase ended).
    bool replaying() const { return replaying_; }
    void startReplay();

    const RecordProgress& progress() const { return progress_; }
    // Words of this Record that became templates.
    int recordedWords() const { return recordedWords_; }
    // The words of this Record that captured nothing, by lowest slot, in recording order.
    const std::vector<int>& missedWords() const { return missed_; }
    // The word a slot is a take of: spoken names have three takes (slots c, c + 12, c + 24),
    // an instrument pitch is a word of its own.
    static int wordOf(int slot);
    // The name a word is shown by: the note name, with the octave for an instrument pitch.
    std::string nameOf(int word) const;

private:
    void tickRecord();
    void tickReplay();
    void checkRecording(int slot);

    ExerciseContext c_;
    RecordServices s_;
    std::vector<int> words_;
    RecordProgress progress_;
    bool replaying_ = false;
    int replayIndex_ = -1;
    int recordedWords_ = 0;
    std::vector<int> missed_;
};

} // namespace tessimo
