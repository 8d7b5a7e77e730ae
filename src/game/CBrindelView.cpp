// Construction, commands, enabling rules and exercise set-up.
#include "game/CBrindelView.h"

#include <algorithm>
#include <utility>

#include "files/SafeFileOpen.h"
#include "game/PickDuration.h"
#include "model/ChordTable.h"
#include "model/Pitch.h"
#include "model/ProfileSwitch.h"
#include "recognition/RecognizerEntryPoints.h"
#include "sound/MidiOutput.h"

namespace tessimo {

namespace {
constexpr int TimerNumber = 1;
constexpr int ScrollingTickMs = 40;
} // namespace

CBrindelView::CBrindelView(const ViewServices& services) : services_(services) {}

// The recogniser and the window timer outlive the view; stopping them here keeps the audio
// thread's recognition callback and the timer from reaching a destroyed view.
CBrindelView::~CBrindelView() {
    killTimer();
    services_.recognizer.StopCapture();
}

std::string CBrindelView::loadUserFiles() {
    std::array<std::uint8_t, TemplateSlotCount> present{};
    const std::string templates = templateFileName(userName_);
    templatesFileUnreadable_ = services_.recognizer.LoadTemplates(templates, present) != 0 &&
                               fileKindAt(templates) == FileKind::Regular;
    pitchTable_.loadTemplateFlags(present);
    SettingsLoadResult settings = loadUserSettings(std::string(), userName_, settings_);
    settingsFileKept_ = settings.fileKept;
    std::string message = std::move(settings.message);
    if (templatesFileUnreadable_) {
        message += (message.empty() ? "" : " ") + unreadableTemplatesMessage();
    }
    return message;
}

std::string CBrindelView::unreadableTemplatesMessage() const {
    const std::string file = templateFileName(userName_);
    return "The recordings file " + file + " could not be read; it is kept, and set aside as " +
           file + ".unreadable when new recordings are saved.";
}

std::string CBrindelView::startUp() {
    std::string message = loadUserFiles();
    prepareExercise();
    return message;
}

std::uint32_t CBrindelView::now() const {
    return services_.clock.tickCount();
}

void CBrindelView::repaint() {
    services_.window.repaintAll();
}

void CBrindelView::startTimer(int periodMs) {
    state_.timerId = services_.timer.startTimer(TimerNumber, periodMs);
}

void CBrindelView::killTimer() {
    if (state_.timerId != 0) {
        services_.timer.killTimer(state_.timerId);
        state_.timerId = 0;
    }
}

void CBrindelView::stopWhatRuns(bool midiStop, bool stopWordPlayback) {
    killTimer();
    state_.frozen = false;
    services_.recognizer.StopCapture();
    // Words recognised for the exercise that stops are no answers to the next one.
    recognizedWords_.clear();
    // A Record left before its end saves nothing: the words to record again stay as they were.
    if ((state_.gameMode == GameMode::Record || state_.gameMode == GameMode::RecordReplay) &&
        !offerAside_.empty()) {
        offerRecordAgain(std::exchange(offerAside_, {}));
    }
    // Whichever command this is, no note of what ran goes on sounding into what comes next.
    if (midiStop) {
        services_.midi.MidiStop();
    } else {
        services_.midi.silenceAll();
    }
    if (stopWordPlayback) {
        services_.recognizer.StopWordPlayback();
    }
}

bool CBrindelView::onCommand(int commandId) {
    switch (commandId) {
    case ProfileCommand:
        runProfile();
        return true;
    case ConfigureCommand:
        runConfigure();
        return true;
    case EnglishManualCommand:
        services_.manuals.openManual(EnglishManualPath);
        return true;
    case FrenchManualCommand:
        services_.manuals.openManual(FrenchManualPath);
        return true;
    default:
        break;
    }
    const bool known = commandId == ListenNotesCommand || commandId == PlayNotesCommand ||
                       commandId == NotesDictationCommand || commandId == PlayIntervalsCommand ||
                       commandId == IntervalDictationCommand || commandId == PlayChordsCommand ||
                       commandId == ChordsDictationCommand || commandId == RecordCommand ||
                       commandId == RecognizeCommand;
    if (!known) {
        return false;
    }
    // A greyed command cannot be invoked.
    if (!isCommandEnabled(commandId)) {
        return true;
    }
    switch (commandId) {
    case ListenNotesCommand:
        startListenNotes();
        break;
    case PlayNotesCommand:
        startPlayNotes();
        break;
    case NotesDictationCommand:
        startScrollingMode(GameMode::NotesDictation);
        break;
    case PlayIntervalsCommand:
        startScrollingMode(GameMode::PlayIntervals);
        break;
    case IntervalDictationCommand:
        startScrollingMode(GameMode::IntervalDictation);
        break;
    case PlayChordsCommand:
        startScrollingMode(GameMode::PlayChords);
        break;
    case ChordsDictationCommand:
        startScrollingMode(GameMode::ChordsDictation);
        break;
    case RecordCommand:
        startRecord();
        break;
    case RecognizeCommand:
        startScrollingMode(GameMode::Recognize);
        break;
    default:
        break;
    }
    return true;
}

void CBrindelView::startScrollingMode(GameMode mode) {
    const bool recognize = mode == GameMode::Recognize;
    stopWhatRuns(false, !recognize);
    state_.gameMode = mode;
    state_.idle = false;
    recognizeRunsByKeyboard_ = recognize && recognizeByKeyboard_;
    recognize_.setAnsweredByKeys(recognizeRunsByKeyboard_);
    if (recognize && !recognizeRunsByKeyboard_) {
        services_.recognizer.StartRecognition(&CBrindelView::recognitionCallback, this);
    }
    questionNotes_.removeAll();
    unitClock_.restart();
    state_.wrongMark = -1;
    state_.highlightPitch = NoPitch; // the last key played, in Play intervals and chords
    state_.errorCount = 0;
    state_.unknownCount = 0;
    state_.okCount = 0;
    if (!recognize) {
        state_.hoverPitch = -1;
    }
    running()->start(now());
    startTimer(ScrollingTickMs);
}

void CBrindelView::startListenNotes() {
    stopWhatRuns(true, false);
    state_.gameMode = GameMode::ListenNotes;
    state_.idle = false;
    questionNotes_.removeAll();
    unitClock_.restart();
    // 62 ms per unit for speeds 0..3, 31 for 4..7, 20 for 8..10.
    const int speed = std::clamp(settings_.speed, 0, 10);
    unitClock_.unitMs = static_cast<std::uint8_t>(1000.0 / (speed / 4 + 1) * 0.0625);
    listenNotes_.start(now());
    startTimer(unitClock_.unitMs);
}

void CBrindelView::startPlayNotes() {
    stopWhatRuns(false, true);
    state_.gameMode = GameMode::PlayNotes;
    state_.idle = true;
    playNotes_.start(now());
    repaint();
}

void CBrindelView::stopExercise() {
    stopWhatRuns(true, true);
    startPlayNotes();
}

void CBrindelView::runProfile() {
    stopWhatRuns(true, false);
    state_.gameMode = GameMode::Idle;
    state_.idle = true;
    // The dialog asks for the switch and shows a refusal; the switch itself loads or creates
    // the user's settings file and replaces the templates with the user's own.
    std::array<std::uint8_t, TemplateSlotCount> present{};
    bool unreadable = false;
    const ProfileSwitcher switcher = [this, &present, &unreadable](const std::string& name) {
        ProfileSwitchResult result =
            switchProfile(std::string(), name, settings_, services_.recognizer);
        if (result.switched) {
            present = result.templatesPresent;
            unreadable = result.templatesUnreadable;
        }
        return result;
    };
    std::string chosen = userName_;
    if (!services_.dialogs.showProfileDialog(chosen, switcher)) {
        return;
    }
    userName_ = chosen;
    settingsFileKept_ = false; // the switch read or created the new user's file
    templatesFileUnreadable_ = unreadable;
    pitchTable_.loadTemplateFlags(present);
    offerRecordAgain({}); // the previous user's words
    repaint();
    prepareExercise();
    if (templatesFileUnreadable_) {
        services_.status.showMessage(unreadableTemplatesMessage());
    }
}

void CBrindelView::runConfigure() {
    stopWhatRuns(true, false);
    state_.gameMode = GameMode::Idle;
    state_.idle = true;
    if (services_.dialogs.showConfigureDialog(settings_)) {
        settings_.buildDurationList();
        // The settings in use stay whatever happens to the file; a failure is only reported.
        const std::string problem = settingsFileKept_
                                        ? keptSettingsFileMessage(userName_)
                                        : saveUserSettings(std::string(), userName_, settings_);
        if (!problem.empty()) {
            services_.status.showMessage(problem);
        }
    }
    repaint();
    prepareExercise();
}

void CBrindelView::prepareExercise() {
    pitchTable_.rebuildSelection(settings_, services_.recognizer);
    dropUnselectedFromOffer();
    staffLayout_.compute(pitchTable_);
    pitchTable_.assignStaffY([this](int pitch) { return staffLayout_.pitchY(pitch); });
    unitClock_.barLength = settings_.beatLength * settings_.beatsPerBar;
    startPlayNotes();
}

// ---- Enabling rules ----

bool CBrindelView::canStartListening() const {
    if (!durationsCanFill(settings_, unitClock_.barLength)) {
        return false;
    }
    return (settings_.soundMode == Synthesizer && pitchTable_.selectedCount() > 0) ||
           pitchTable_.allRecorded();
}

namespace {

bool anyDuration(const SettingsRecord& s) {
    return std::any_of(s.durations.begin(), s.durations.end(), [](int f) { return f != 0; });
}

bool placeable(const SettingsRecord& s) {
    return s.dragWithMouse != 0 || s.wheelChangesType != 0;
}

bool anyDirection(const SettingsRecord& s) {
    return s.intervalsTogether != 0 || s.intervalsUp != 0 || s.intervalsDown != 0;
}

} // namespace

bool CBrindelView::intervalModesEnabled() const {
    const SettingsRecord& s = settings_;
    if (s.soundMode != Synthesizer || pitchTable_.selectedCount() <= 0 || !placeable(s) ||
        !anyDirection(s) || !anyDuration(s)) {
        return false;
    }
    for (int n = 1; n <= 12; ++n) {
        if (s.intervals[static_cast<std::size_t>(n)] == 0) {
            continue;
        }
        for (int p = LowestPitch; p + n <= HighestPitch; ++p) {
            if (pitchTable_.isSelected(p) &&
                (s.selectedNotesOnly == 0 || pitchTable_.isSelected(p + n))) {
                return true;
            }
        }
    }
    return false;
}

bool CBrindelView::chordModesEnabled() const {
    const SettingsRecord& s = settings_;
    if (s.soundMode != Synthesizer || !placeable(s) || !anyDirection(s) || !anyDuration(s)) {
        return false;
    }
    for (int c = 0; c < ChordTypeCount; ++c) {
        if (s.chords[static_cast<std::size_t>(c)] == 0) {
            continue;
        }
        const ChordRow& row = ChordTable[static_cast<std::size_t>(c)];
        for (int p = LowestPitch; p + row.span <= HighestPitch; ++p) {
            if (!pitchTable_.isSelected(p)) {
                continue;
            }
            bool members = true;
            for (int j = 0; j <= row.span && s.selectedNotesOnly != 0; ++j) {
                if (row.halfTones[static_cast<std::size_t>(j)] != 0 &&
                    !pitchTable_.isSelected(p + j)) {
                    members = false;
                }
            }
            if (members) {
                return true;
            }
        }
    }
    return false;
}

bool CBrindelView::isCommandEnabled(int commandId) const {
    switch (commandId) {
    case ProfileCommand:
    case ConfigureCommand:
    case EnglishManualCommand:
    case FrenchManualCommand:
        return true;
    case AboutCommand:
        return state_.idle;
    case ListenNotesCommand:
    case PlayNotesCommand:
    case NotesDictationCommand:
        return canStartListening();
    case RecordCommand:
        return (settings_.soundMode == Voice || settings_.soundMode == Instrument) &&
               pitchTable_.selectedCount() > 0;
    case RecognizeCommand:
        if (recognizeByKeyboard_) {
            return anyDuration(settings_) && pitchTable_.selectedCount() > 0;
        }
        return anyDuration(settings_) && settings_.soundMode != Synthesizer &&
               (pitchTable_.allRecorded() ||
                (settings_.soundMode == Instrument && pitchTable_.selectedCount() > 0 &&
                 services_.recognizer.NamesUnrecordedPitches()));
    case PlayIntervalsCommand:
    case IntervalDictationCommand:
        return intervalModesEnabled();
    case PlayChordsCommand:
    case ChordsDictationCommand:
        return chordModesEnabled();
    default:
        return false;
    }
}

// ---- Painting ----

// ---- Recognition hand-over ----

bool CBrindelView::postRecognizedWord(int slot) {
    const bool queued = recognizedWords_.push(slot);
    if (queued && wordArrived_) {
        wordArrived_();
    }
    return queued;
}

void CBrindelView::recognitionCallback(int slot, void* context) {
    static_cast<CBrindelView*>(context)->postRecognizedWord(slot);
}

void CBrindelView::drainRecognizedWords() {
    int slot = 0;
    while (recognizedWords_.pop(slot)) {
        if (state_.gameMode == GameMode::Recognize && !state_.frozen) {
            onRecognized(slot);
        }
    }
}

} // namespace tessimo
