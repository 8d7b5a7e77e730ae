#include "shell/DisabledReasons.h"

#include "game/CommandIds.h"
#include "game/PickDuration.h"
#include "model/PitchTable.h"
#include "model/SettingsRecord.h"

#include <QtGlobal>

#include <algorithm>

namespace tessimo {

namespace {

constexpr const char* NoNotes = QT_TRANSLATE_NOOP(
    "tessimo::DisabledReasons", "no note is selected: choose notes in Game > Configure");
constexpr const char* NoValues =
    QT_TRANSLATE_NOOP("tessimo::DisabledReasons",
                      "no note value is selected: choose note values in Game > Configure");
constexpr const char* NoFill = QT_TRANSLATE_NOOP(
    "tessimo::DisabledReasons", "the selected note values cannot fill a bar of the chosen "
                                "metre: choose shorter values in Game > Configure");
constexpr const char* NotRecorded = QT_TRANSLATE_NOOP(
    "tessimo::DisabledReasons",
    "not every selected note is recorded yet: record them first with Game > Record");
constexpr const char* NeedsSynth = QT_TRANSLATE_NOOP(
    "tessimo::DisabledReasons",
    "it plays on the synthesizer only: choose the synthesizer sound in Game > Configure");
constexpr const char* NeedsRecordings = QT_TRANSLATE_NOOP(
    "tessimo::DisabledReasons", "it listens to your voice or instrument: choose the "
                                "voice or instrument sound in Game > Configure");
constexpr const char* NoPlacing = QT_TRANSLATE_NOOP(
    "tessimo::DisabledReasons", "neither dragging with the mouse nor the wheel is allowed: "
                                "allow one in Game > Configure");
constexpr const char* NoDirection =
    QT_TRANSLATE_NOOP("tessimo::DisabledReasons",
                      "no direction (together, up or down) is selected in Game > Configure");
constexpr const char* NoIntervalFits = QT_TRANSLATE_NOOP(
    "tessimo::DisabledReasons",
    "no selected interval size fits the selected notes: choose more in Game > Configure");
constexpr const char* NoChordFits = QT_TRANSLATE_NOOP(
    "tessimo::DisabledReasons",
    "no selected chord type fits the selected notes: choose more in Game > Configure");

bool any(const auto& flags) {
    return std::any_of(flags.begin(), flags.end(), [](int f) { return f != 0; });
}

std::string groupReason(const SettingsRecord& s, const PitchTable& table, const char* noneFits) {
    if (s.soundMode != Synthesizer) {
        return NeedsSynth;
    }
    if (table.selectedCount() <= 0) {
        return NoNotes;
    }
    if (s.dragWithMouse == 0 && s.wheelChangesType == 0) {
        return NoPlacing;
    }
    if (s.intervalsTogether == 0 && s.intervalsUp == 0 && s.intervalsDown == 0) {
        return NoDirection;
    }
    if (!any(s.durations)) {
        return NoValues;
    }
    return noneFits;
}

} // namespace

std::string disabledReason(int commandId, const SettingsRecord& s, const PitchTable& table,
                           int barLength) {
    switch (commandId) {
    case ListenNotesCommand:
    case PlayNotesCommand:
    case NotesDictationCommand:
        if (table.selectedCount() <= 0) {
            return NoNotes;
        }
        if (!any(s.durations)) {
            return NoValues;
        }
        if (!durationsCanFill(s, barLength)) {
            return NoFill;
        }
        return s.soundMode == Synthesizer ? std::string() : NotRecorded;
    case RecordCommand:
        if (s.soundMode == Synthesizer) {
            return NeedsRecordings;
        }
        return table.selectedCount() <= 0 ? NoNotes : "";
    case RecognizeCommand:
        if (s.soundMode == Synthesizer) {
            return NeedsRecordings;
        }
        if (table.selectedCount() <= 0) {
            return NoNotes;
        }
        if (!any(s.durations)) {
            return NoValues;
        }
        return NotRecorded;
    case PlayIntervalsCommand:
    case IntervalDictationCommand:
        return groupReason(s, table, NoIntervalFits);
    case PlayChordsCommand:
    case ChordsDictationCommand:
        return groupReason(s, table, NoChordFits);
    default:
        return {};
    }
}

} // namespace tessimo
