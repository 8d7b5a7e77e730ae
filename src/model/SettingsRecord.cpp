#include "model/SettingsRecord.h"

#include <algorithm>

#include "model/Durations.h"

namespace tessimo {

namespace {

// Valid ranges of the fields that index tables or drive the game.
constexpr int MaxSpeed = 10;
constexpr int MaxBeatsPerBarChoice = 4;
constexpr int MinLimit = 1;
constexpr int MaxLimit = 99;
constexpr int MaxClef = Bass;
constexpr int MaxNamingConvention = 2;
constexpr int MaxSoundMode = Synthesizer;
constexpr int MaxInstrument = 127;
constexpr int FirstUnnamedChordSlot = 10;

bool inRange(std::int32_t value, int low, int high) {
    return value >= low && value <= high;
}

bool isFlag(std::int32_t value) {
    return value == 0 || value == 1;
}

std::int32_t toFlag(std::int32_t value) {
    return value != 0 ? 1 : 0;
}

template <std::size_t N> void toFlags(std::array<std::int32_t, N>& flags, std::size_t count = N) {
    for (std::size_t i = 0; i < count; ++i) {
        flags[i] = toFlag(flags[i]);
    }
}

template <std::size_t N>
bool areFlags(const std::array<std::int32_t, N>& flags, std::size_t count = N) {
    return std::all_of(flags.begin(), flags.begin() + count, isFlag);
}

} // namespace

void SettingsRecord::buildDurationList() {
    durationCount = 0;
    for (int code = 0; code < static_cast<int>(durations.size()); ++code) {
        if (durations[code] != 0) {
            durationList[durationCount++] = code;
        }
    }
    for (int i = durationCount; i < DurationCodeCount; ++i) {
        durationList[i] = 0; // unused entries stay 0 so equal settings compare equal
    }
}

void SettingsRecord::makeValid() {
    speed = std::clamp(speed, 0, MaxSpeed);
    beatsPerBarChoice = std::clamp(beatsPerBarChoice, 0, MaxBeatsPerBarChoice);
    maxErrors = std::clamp(maxErrors, MinLimit, MaxLimit);
    maxUnknown = std::clamp(maxUnknown, MinLimit, MaxLimit);
    clef = std::clamp(clef, 0, MaxClef);
    namingConvention = std::clamp(namingConvention, 0, MaxNamingConvention);
    soundMode = std::clamp(soundMode, 0, MaxSoundMode);
    beatChoice = std::clamp(beatChoice, 0, BeatChoiceCount - 1);
    instrument = std::clamp(instrument, 0, MaxInstrument);

    for (std::int32_t* flag :
         {&errorLimitOn, &unknownLimitOn, &sustain, &intervalsTogether, &intervalsUp,
          &intervalsDown, &selectedNotesOnly, &dragWithMouse, &wheelChangesType}) {
        *flag = toFlag(*flag);
    }
    toFlags(intervals);
    toFlags(notes);
    toFlags(durations);
    toFlags(chords, FirstUnnamedChordSlot);

    beatsPerBar = beatsPerBarChoice + 2;
    beatLength = BeatTable[beatChoice];
    for (int m = 0; m < DurationCodeCount; ++m) {
        durationChecks[m] = durations[DurationCodeCount - 1 - m];
    }
    buildDurationList();
}

bool SettingsRecord::isValid() const {
    if (!inRange(speed, 0, MaxSpeed) || !inRange(beatsPerBarChoice, 0, MaxBeatsPerBarChoice) ||
        !inRange(maxErrors, MinLimit, MaxLimit) || !inRange(maxUnknown, MinLimit, MaxLimit) ||
        !inRange(clef, 0, MaxClef) || !inRange(namingConvention, 0, MaxNamingConvention) ||
        !inRange(soundMode, 0, MaxSoundMode) || !inRange(beatChoice, 0, BeatChoiceCount - 1) ||
        !inRange(instrument, 0, MaxInstrument)) {
        return false;
    }
    for (std::int32_t flag : {errorLimitOn, unknownLimitOn, sustain, intervalsTogether, intervalsUp,
                              intervalsDown, selectedNotesOnly, dragWithMouse, wheelChangesType}) {
        if (!isFlag(flag)) {
            return false;
        }
    }
    if (!areFlags(intervals) || !areFlags(notes) || !areFlags(durations) ||
        !areFlags(chords, FirstUnnamedChordSlot)) {
        return false;
    }
    if (beatsPerBar != beatsPerBarChoice + 2 || beatLength != BeatTable[beatChoice]) {
        return false;
    }
    for (int m = 0; m < DurationCodeCount; ++m) {
        if (durationChecks[m] != durations[DurationCodeCount - 1 - m]) {
            return false;
        }
    }
    int count = 0;
    for (int code = 0; code < DurationCodeCount; ++code) {
        if (durations[code] != 0) {
            if (count >= durationCount || durationList[count] != code) {
                return false;
            }
            ++count;
        }
    }
    return count == durationCount;
}

std::string settingsFileName(const std::string& userName) {
    return "config" + userName + ".dat";
}

std::string templateFileName(const std::string& userName) {
    return "record" + userName + ".dat";
}

} // namespace tessimo
