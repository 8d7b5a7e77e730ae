// The exercise engine of the main view. It owns the settings, the current user name, the
// PitchTable, the three note lists, the staff layout, the score and one object per exercise
// (ExerciseMode), and routes to the one that runs its commands, timer ticks, pointer events
// and answers; every answer goes through its one judge (judgeNote, judgeGroup), which reports
// each outcome to the score and the outcome sink. It reaches the platform only through
// ViewServices. Time is kept by the timer ticks alone: each tick moves the notes, sounds what
// is due and fixes what is expected; painting reads the state and changes nothing.
//
// Threads: every method is for the user-interface thread only, except postRecognizedWord and
// recognitionCallback, which the capture thread (not real time) calls. A recognised word is queued
// there and judged on the user-interface thread at the start of the next timer tick, never during
// one.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "game/CommandIds.h"
#include "game/ExerciseMode.h"
#include "game/GameState.h"
#include "game/GroupDictationExercise.h"
#include "game/GroupShape.h"
#include "game/ListenNotesExercise.h"
#include "game/NotesDictationExercise.h"
#include "game/Platform.h"
#include "game/PlayGroupExercise.h"
#include "game/PlayNotesExercise.h"
#include "game/QuestionGenerator.h"
#include "game/RecordExercise.h"
#include "game/UnitClock.h"
#include "game/WordQueue.h"
#include "geometry/LogicalSpace.h"
#include "geometry/StaffLayout.h"
#include "model/AnswerOutcome.h"
#include "model/CNotesList.h"
#include "model/PitchTable.h"
#include "model/SettingsRecord.h"

namespace tessimo {

class OutcomeSink;

// What the painter needs to draw one frame consistently with what the engine decided.
struct PaintFrame {
    // The tick count of the engine's last step: a Listen notes note is drawn sounding when it
    // sounded at that step, whenever the paint itself happens.
    std::uint32_t now = 0;
};

class CBrindelView : private ExerciseSounds, private ExerciseHost, private RecordPhases {
public:
    // Builds the view: settings at their defaults, empty user name, empty lists, Idle, idle,
    // all counts 0, and the first paint set to prepare the exercise.
    explicit CBrindelView(const ViewServices& services);
    // Kills the view's timer and stops sound capture, so that neither calls into it afterwards.
    ~CBrindelView();
    CBrindelView(const CBrindelView&) = delete;
    CBrindelView& operator=(const CBrindelView&) = delete;

    // Start-up: loads the current user's template flags ("record%s.dat") into the PitchTable,
    // then the settings ("config%s.dat"); missing files leave the defaults, nothing is written.
    // Returns "" or, when the settings file exists but cannot be read, a sentence for the
    // status bar; that file is then never overwritten by Configure (until another user is
    // chosen).
    std::string loadUserFiles();
    // Start-up as a whole: loadUserFiles, then prepareExercise (which enters Play notes).
    // Returns loadUserFiles' message.
    std::string startUp();

    // ---- Commands ----
    // Runs a command of the view (ids of CommandIds.h). A game command whose enabling rule is
    // false does nothing. Returns false for an id the view does not handle.
    bool onCommand(int commandId);
    // The enabling rule of a command; Profile, Configure and the manuals are always enabled,
    // About while idle. Unknown ids are disabled.
    bool isCommandEnabled(int commandId) const;
    // Stops whatever runs and enters Play notes, as its command does but without its enabling
    // rule (the shell's Escape key: a recording must stop even when Play notes cannot start).
    void stopExercise();

    // ---- Platform events ----
    // Timer tick (only timer number 1 is used).
    void onTimer(int timerNumber);
    // Left button pressed at a device point of the client area.
    void onLButtonDown(DevicePoint point);
    // Mouse moved to a device point; leftButtonDown tells whether the left button is held.
    void onMouseMove(DevicePoint point, bool leftButtonDown);
    // Wheel turned by delta with the mouse at point: one step up (delta > 0, away from the
    // user) or down (delta < 0) per call, whatever the size of delta.
    void onMouseWheel(int delta, DevicePoint point);

    // ---- Painting ----
    // What a paint needs beside the state: painting only reads, so the picture, the sounds and
    // the judgements do not depend on how often, or whether, the window is painted.
    PaintFrame paintFrame() const { return PaintFrame{lastStepTime_}; }
    // Whether a Listen notes note sounds at the frame's time (startTime <= now < endTime).
    static bool isSounding(const CNote& note, std::uint32_t now) {
        return ListenNotesExercise::isSounding(note, now);
    }

    // ---- Recognition ----
    // Queues a recognised word slot for the next tick. Capture thread (one producer at a time).
    // Returns false when the word was dropped because the queue is full.
    bool postRecognizedWord(int slot);
    // The RecognitionCallback passed to StartRecognition; context is the view.
    static void recognitionCallback(int slot, void* context);
    // Called on the capture thread after each word queued, so that the shell can have it
    // judged at once (judgeRecognizedWords) rather than at the next tick. Set it before any
    // capture starts; it must not wait for the user-interface thread. User-interface thread.
    void setWordArrivalNotifier(std::function<void()> notifier) {
        wordArrived_ = std::move(notifier);
    }
    // Judges the words queued so far, as the next tick would before moving anything; between
    // ticks, never during one. User-interface thread.
    void judgeRecognizedWords() { drainRecognizedWords(); }

    // Chooses the pitches of Notes Dictation and Recognize questions from now on; an empty
    // function restores the even draw. User-interface thread.
    void setPitchDraw(PitchDraw draw) { pitchDraw_ = std::move(draw); }
    // ---- The judge ----
    // Every answer goes through these two. judgeNote judges a single pitch (-1 for none)
    // against the first unanswered note in Notes Dictation and Recognize; judgeGroup judges a
    // group of pitches against the first unanswered group in Interval and Chords Dictation,
    // once a question is shown. Both report the outcome to the score and the outcome sink.
    // Nothing happens in other modes or while a game limit has frozen the game.
    // User-interface thread.
    void judgeNote(int pitch, AnswerInput source) override;
    void judgeGroup(const PitchGroup& given, AnswerInput source) override;
    // A key (or keys struck together) of a MIDI instrument as an answer, through the same
    // judge. User-interface thread.
    void judgeKey(int pitch);
    void judgeKeys(const PitchGroup& keys);

    // ---- A MIDI keyboard played ----
    // A key (0..127) pressed with its velocity (1..127), or released. In Play notes, Play
    // intervals and Play chords the key sounds on the synthesiser as played, with the
    // exercise's instrument, until it is released, and is highlighted on the staff and the
    // keyboard as a click is; in the other modes nothing happens (answers go to judgeKey and
    // judgeKeys). User-interface thread.
    void keyPressed(int key, int velocity);
    void keyReleased(int key);
    // Whether Recognize is answered on the MIDI keyboard rather than by the microphone; it
    // can then be played in any sound mode, needs no recordings and opens no microphone.
    // Takes effect at the next start of Recognize. User-interface thread.
    void setRecognizeByKeyboard(bool on) { recognizeByKeyboard_ = on; }
    bool recognizeByKeyboard() const { return recognizeByKeyboard_; }
    // Where every judged or missed question is reported besides the score; nullptr for none.
    // The sink outlives the view or is reset first. User-interface thread.
    void setOutcomeSink(OutcomeSink* sink) { outcomeSink_ = sink; }

    // ---- Recording words again ----
    // The words the last Record left uncertain (captured nothing, or sound like another word
    // of the selection), heard-nothing ones first; the status line is offered the same list
    // whenever it changes. User-interface thread.
    const std::vector<WordToRecordAgain>& wordsToRecordAgain() const { return recordAgain_; }
    // Records the takes of one word (its lowest slot) again, as Record does for the whole
    // selection but without asking first, then plays them back and saves every template.
    // Does nothing (false) when Record cannot run or the word is not in the selection.
    // User-interface thread.
    bool recordWordAgain(int word);

    // ---- Exercise set-up ----
    // Rebuilds the PitchTable and the staff layout from the settings, then enters Play notes.
    void prepareExercise();

    // ---- State (read by the painter and the shell) ----
    const GameState& state() const { return state_; }
    const RecordProgress& recordProgress() const { return record_.progress(); }
    const UnitClock& unitClock() const { return unitClock_; }
    const GroupShape& groupShape() const { return groupShape_; }
    GameMode gameMode() const { return state_.gameMode; }
    bool idle() const { return state_.idle; }
    const SettingsRecord& settings() const { return settings_; }
    // The settings, for the shell's configuration dialog adapter; changes take effect at the
    // next prepareExercise.
    SettingsRecord& settings() { return settings_; }
    const std::string& userName() const { return userName_; }
    const PitchTable& pitchTable() const { return pitchTable_; }
    const StaffLayout& staffLayout() const { return staffLayout_; }
    const CNotesList& questionNotes() const { return questionNotes_; }
    const CNotesList& answerGroup() const { return answerGroup_; }
    const CNotesList& wrongGroup() const { return wrongGroup_; }
    int wordCount() const { return pitchTable_.wordCount(); }
    int selectedCount() const { return pitchTable_.selectedCount(); }

private:
    // Commands.
    void stopWhatRuns(bool midiStop, bool stopWordPlayback);
    void startTimer(int periodMs);
    void killTimer();
    void startScrollingMode(GameMode mode);
    void startListenNotes();
    void startPlayNotes();
    void startRecord();
    void startRecording(std::vector<int> words);
    void recordingEnded() override;
    void replayEnded() override;
    void offerRecordAgain(std::vector<WordToRecordAgain> words);
    std::vector<WordToRecordAgain> uncertainWords(const std::vector<ConfusablePair>& alike) const;
    void dropUnselectedFromOffer();
    bool saveRecordings();
    std::string unreadableTemplatesMessage() const;
    void runProfile();
    void runConfigure();
    bool canStartListening() const;
    bool intervalModesEnabled() const;
    bool chordModesEnabled() const;

    // The exercise of the mode that runs, nullptr when Idle.
    ExerciseMode* running();
    void advanceTo(std::uint32_t now);
    void drainRecognizedWords();
    void onRecognized(int word);

    // The judge.
    bool limitsReached() const;
    bool freezeAtLimit() override;
    void reportMissed(const PitchGroup& expected, bool pitchClassOnly) override;
    AnswerInput inputOfGame() const;
    AnswerOutcome newOutcome(AnswerInput source) const;
    void report(const AnswerOutcome& outcome);

    // What the exercises reach through the view.
    void playPitches(const std::uint8_t* pitches, const std::uint8_t* lengths, int count) override;
    void playPitch(int pitch) override;
    void playWord(int slot) override;
    void soundPitch(int pitch) override; // by sound mode: a recorded word or the synthesiser
    void repaint() override;
    std::uint32_t now() const override;
    int pitchAt(DevicePoint point, bool requireSelected) const override;

    ViewServices services_;
    SettingsRecord settings_;
    std::string userName_;
    bool settingsFileKept_ = false; // the user's settings file could not be read: keep it
    // The user's template file could not be read: it is set aside before recordings are saved.
    bool templatesFileUnreadable_ = false;
    PitchTable pitchTable_;
    StaffLayout staffLayout_;
    CNotesList questionNotes_;
    CNotesList answerGroup_;
    CNotesList wrongGroup_;
    GameState state_;
    UnitClock unitClock_;
    GroupShape groupShape_;
    std::uint32_t lastStepTime_ = 0; // tick count of the last advanceTo
    OutcomeSink* outcomeSink_ = nullptr;
    PitchDraw pitchDraw_; // empty: the even draw

    // The exercises, one object each; what they share is lent by these two contexts.
    ExerciseContext context_{settings_, pitchTable_, questionNotes_,
                             state_,    *this,       services_.random};
    ScrollingContext scrolling_{answerGroup_, wrongGroup_, unitClock_, groupShape_, *this};
    ListenNotesExercise listenNotes_{context_, unitClock_};
    PlayNotesExercise playNotes_{context_, *this};
    NotesDictationExercise notesDictation_{context_, scrolling_, pitchDraw_,
                                           NotesDictationExercise::Variant::Dictation};
    PlayGroupExercise playIntervals_{context_, scrolling_, GroupKind::Interval};
    GroupDictationExercise intervalDictation_{context_, scrolling_, GroupKind::Interval};
    PlayGroupExercise playChords_{context_, scrolling_, GroupKind::Chord};
    GroupDictationExercise chordsDictation_{context_, scrolling_, GroupKind::Chord};
    RecordExercise record_{context_, RecordServices{pitchTable_, services_.recognizer,
                                                    services_.window, services_.status, *this}};
    NotesDictationExercise recognize_{context_, scrolling_, pitchDraw_,
                                      NotesDictationExercise::Variant::Recognize};

    std::vector<WordToRecordAgain> recordAgain_;
    std::vector<WordToRecordAgain> offerAside_; // the offer while a Record runs
    WordQueue recognizedWords_;
    std::function<void()> wordArrived_;
    bool recognizeByKeyboard_ = false;
    bool recognizeRunsByKeyboard_ = false; // the running Recognize game takes keys
};

} // namespace tessimo
