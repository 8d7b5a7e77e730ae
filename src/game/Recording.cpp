// The view's side of Record: starting it for the whole selection or for one word, the change
// to the replay, saving the templates, and offering the words to record again.
#include <algorithm>
#include <cstdio>

#include "files/SafeFileOpen.h"
#include "game/CBrindelView.h"
#include "model/ProfileSwitch.h"
#include "recognition/RecognizerEntryPoints.h"
#include "sound/MidiOutput.h"

namespace tessimo {

namespace {
constexpr int RecordTickMs = 300;
constexpr int ReplayTickMs = 1200;
} // namespace

void CBrindelView::startRecord() {
    stopWhatRuns(true, false);
    if (!services_.confirmation.confirm(RecordConfirmCaption, RecordConfirmText)) {
        return; // the stopped exercise stays stopped
    }
    startRecording(record_.allWords());
}

bool CBrindelView::recordWordAgain(int word) {
    if (!isCommandEnabled(RecordCommand)) {
        return false;
    }
    std::vector<int> takes = record_.takesOf(word);
    if (takes.empty()) {
        return false;
    }
    stopWhatRuns(true, false);
    startRecording(std::move(takes));
    return true;
}

void CBrindelView::startRecording(std::vector<int> words) {
    offerAside_ = recordAgain_; // offered again if this Record is left before its end
    offerRecordAgain({});       // else worked out anew once it has ended
    state_.gameMode = GameMode::Record;
    state_.idle = false;
    record_.chooseWords(std::move(words));
    record_.start(now());
    repaint();
    startTimer(RecordTickMs);
}

void CBrindelView::recordingEnded() {
    killTimer();
    state_.gameMode = GameMode::RecordReplay;
    state_.idle = false;
    record_.startReplay();
    startTimer(ReplayTickMs);
}

void CBrindelView::replayEnded() {
    killTimer();
    state_.gameMode = GameMode::Idle;
    state_.idle = true;
    offerAside_.clear();
    const bool saved = saveRecordings();
    // Only pairs of words the selection uses; the recogniser compares every template it holds.
    std::vector<ConfusablePair> alike;
    for (const ConfusablePair& pair : services_.recognizer.ConfusableWords()) {
        if (pitchTable_[pair.first].wordActive != 0 && pitchTable_[pair.second].wordActive != 0) {
            alike.push_back(pair);
        }
    }
    if (saved && !alike.empty()) {
        // Words that captured nothing were named as they were recorded; words that sound
        // alike are named once the recogniser has all of them.
        std::string pairs;
        for (const ConfusablePair& pair : alike) {
            pairs += (pairs.empty() ? "" : ", ") + record_.nameOf(pair.first) + " and " +
                     record_.nameOf(pair.second);
        }
        services_.status.showMessage(pairs + " sound alike: use Record again.");
    }
    offerRecordAgain(uncertainWords(alike));
}

// The words of the selection without a template, then those that sound like another word of
// the selection, closest first.
std::vector<WordToRecordAgain>
CBrindelView::uncertainWords(const std::vector<ConfusablePair>& alike) const {
    std::vector<WordToRecordAgain> words;
    const auto add = [&](int word, bool heardNothing) {
        const bool known =
            std::any_of(words.begin(), words.end(),
                        [word](const WordToRecordAgain& w) { return w.word == word; });
        if (!known) {
            words.push_back({word, record_.nameOf(word), heardNothing});
        }
    };
    for (int slot : record_.allWords()) {
        if (pitchTable_[slot].hasTemplate == 0) {
            add(RecordExercise::wordOf(slot), true);
        }
    }
    for (const ConfusablePair& pair : alike) {
        add(pair.first, false);
        add(pair.second, false);
    }
    return words;
}

void CBrindelView::offerRecordAgain(std::vector<WordToRecordAgain> words) {
    if (words.empty() && recordAgain_.empty()) {
        return;
    }
    recordAgain_ = std::move(words);
    services_.status.offerRecordAgain(recordAgain_);
}

// After a change of selection only the offered words that are still recorded words of it stay.
void CBrindelView::dropUnselectedFromOffer() {
    std::vector<WordToRecordAgain> kept;
    for (const WordToRecordAgain& word : recordAgain_) {
        if (!record_.takesOf(word.word).empty()) {
            kept.push_back(word);
        }
    }
    if (kept.size() != recordAgain_.size()) {
        recordAgain_ = std::move(kept);
        services_.status.offerRecordAgain(recordAgain_); // an empty list withdraws the offer
    }
}

// Writes the templates, unless this Record made none: a file is never replaced by recordings
// that all captured nothing. False when it says why nothing was saved.
bool CBrindelView::saveRecordings() {
    const std::string file = templateFileName(userName_);
    if (record_.recordedWords() == 0) {
        services_.status.showMessage("Nothing was recorded; " + file + " was left as it was");
        return false;
    }
    if (templatesFileUnreadable_) {
        // The file that could not be read is the user's to recover: it is never overwritten.
        const std::string aside = file + ".unreadable";
        if (fileKindAt(aside) != FileKind::Missing ||
            std::rename(file.c_str(), aside.c_str()) != 0) {
            services_.status.showMessage("The recordings were not saved: " + file +
                                         " could not be read and could not be set aside as " +
                                         aside + ".");
            return false;
        }
        templatesFileUnreadable_ = false;
    }
    if (services_.recognizer.SaveTemplates(file) != 0) {
        services_.status.showMessage("The recordings could not be saved to " + file);
        return false;
    }
    return true;
}

} // namespace tessimo
