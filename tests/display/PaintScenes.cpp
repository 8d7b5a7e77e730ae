#include "PaintScenes.h"

#include "display/ViewSnapshot.h"
#include "geometry/StaffLayout.h"
#include "model/PitchTable.h"
#include "support/FakeRecognizer.h"

namespace tessimo::testing {

SettingsRecord settingsFor(SceneStaff staff) {
    SettingsRecord settings;
    settings.notes.fill(0);
    const int from = staff == SceneStaff::Treble ? 60 : 36;
    const int to = staff == SceneStaff::Bass ? 63 : 83;
    for (int pitch = from; pitch <= to; ++pitch) {
        const int c = pitch % 12;
        if (c != 1 && c != 3 && c != 6 && c != 8 && c != 10) {
            settings.notes[pitch - 36] = 1;
        }
    }
    return settings;
}

FrameState emptyScene(GameMode mode, SceneStaff /*staff*/, const SettingsRecord& settings) {
    FakeRecognizer recognizer;
    PitchTable table;
    table.rebuildSelection(settings, recognizer);
    StaffLayout layout;
    layout.compute(table);
    table.assignStaffY([&layout](int pitch) { return layout.pitchY(pitch); });
    FrameState frame;
    frame.mode = mode;
    snapshotTable(table, frame);
    snapshotStaff(layout, frame);
    snapshotSettings(settings, frame);
    return frame;
}

ListNote listNote(const FrameState& scene, int pitch, int x, int durationCode) {
    ListNote note;
    note.glyph = NoteGlyph{pitch, durationCode, scene.table[pitch].glyph.staffY};
    note.x = x;
    return note;
}

namespace {

void addGroup(FrameState& scene, std::vector<ListNote>& list, std::initializer_list<int> pitches,
              int x, bool answered) {
    int index = 0;
    for (const int pitch : pitches) {
        ListNote note = listNote(scene, pitch, x);
        note.groupIndex = index++;
        note.answered = answered;
        list.push_back(note);
    }
}

// The table index of the n-th vocabulary word of the scene, -1 when it has fewer words.
int nthActiveWord(const FrameState& scene, int n) {
    for (int i = 0; i < PitchEntryCount; ++i) {
        if (scene.table[i].wordActive && n-- == 0) {
            return i;
        }
    }
    return -1;
}

} // namespace

FrameState busyScene(GameMode mode, SceneStaff staff) {
    SettingsRecord settings = settingsFor(staff);
    settings.errorLimitOn = 1;
    settings.unknownLimitOn = 1;
    settings.namingConvention = 1;
    if (mode == GameMode::Record || mode == GameMode::RecordReplay) {
        settings.soundMode = Instrument;
    }
    FrameState scene = emptyScene(mode, staff, settings);
    const int low = staff == SceneStaff::Treble ? 60 : 43;
    const int high = staff == SceneStaff::Bass ? 62 : 79;
    scene.okCount = 12;
    scene.errorCount = 3;
    scene.unknownCount = 1;
    switch (mode) {
    case GameMode::ListenNotes: {
        const int codes[] = {5, 7, 7, 4, 9, 9, 8, 5, 3, 7, 6};
        for (int i = 0; i < 11; ++i) {
            const int pitch = low + (i * 5) % (high - low + 1);
            ListNote note = listNote(scene, pitch, 1000 + 80 * i, codes[i]);
            note.barStart = i % 4 == 0;
            note.sounding = i == 0;
            scene.questionNotes.push_back(note);
        }
        break;
    }
    case GameMode::PlayNotes:
        scene.highlightPitch = low + 7;
        break;
    case GameMode::NotesDictation:
    case GameMode::Recognize:
        for (int i = 0; i < 6; ++i) {
            ListNote note = listNote(scene, low + 2 * i + (i % 2), 480 + 288 * i);
            note.answered = i < 2;
            scene.questionNotes.push_back(note);
        }
        scene.hoverPitch = low + 9;
        scene.wrongMark = mode == GameMode::Recognize ? low + 9 : -1;
        break;
    case GameMode::PlayIntervals:
    case GameMode::PlayChords:
        addGroup(scene, scene.answerGroup, {low + 4, low + 7, low + 11}, 1000, false);
        scene.displayText = mode == GameMode::PlayChords ? "E minor" : "Fifth";
        break;
    case GameMode::IntervalDictation:
    case GameMode::ChordsDictation:
        addGroup(scene, scene.questionNotes, {low, low + 4}, 600, true);
        addGroup(scene, scene.questionNotes, {low + 2, low + 6, low + 9}, 1100, false);
        addGroup(scene, scene.questionNotes, {low + 5, low + 9}, 1500, false);
        addGroup(scene, scene.answerGroup, {low + 3, low + 7, low + 10}, 1100, false);
        scene.displayText = "D# major";
        break;
    case GameMode::Record:
        scene.recordPosition = 2;
        scene.currentWord = nthActiveWord(scene, 2);
        break;
    case GameMode::RecordReplay:
        scene.currentWord = nthActiveWord(scene, 4);
        break;
    case GameMode::Idle:
        break;
    }
    return scene;
}

} // namespace tessimo::testing
