#include "display/ViewSnapshot.h"

#include "game/CBrindelView.h"
#include "geometry/StaffLayout.h"
#include "model/CNotesList.h"
#include "model/PitchTable.h"
#include "model/SettingsRecord.h"

namespace tessimo {

namespace {

NoteGlyph glyphOf(const CNote& note) {
    return NoteGlyph{note.pitch, note.durationCode, note.staffY};
}

} // namespace

void snapshotView(const CBrindelView& view, const PaintFrame& paintFrame, FrameState& frame) {
    const GameState& state = view.state();
    frame.mode = state.gameMode;
    snapshotTable(view.pitchTable(), frame);
    snapshotStaff(view.staffLayout(), frame);
    snapshotSettings(view.settings(), frame);
    snapshotList(view.questionNotes(), frame.questionNotes);
    snapshotList(view.answerGroup(), frame.answerGroup);
    snapshotList(view.wrongGroup(), frame.wrongGroup);
    if (state.gameMode == GameMode::ListenNotes) {
        std::size_t i = 0;
        for (const CNote& note : view.questionNotes()) {
            frame.questionNotes[i++].sounding = CBrindelView::isSounding(note, paintFrame.now);
        }
    }
    frame.displayText = view.groupShape().text;
    frame.groupSpread = view.groupShape().spread;
    frame.wrongMark = state.wrongMark;
    frame.hoverPitch = state.hoverPitch;
    frame.highlightPitch = state.highlightPitch;
    frame.okCount = state.okCount;
    frame.errorCount = state.errorCount;
    frame.unknownCount = state.unknownCount;
    frame.wordCount = view.wordCount();
    frame.recordPosition = view.recordProgress().position;
    frame.currentWord = view.recordProgress().currentWord;
}

void snapshotTable(const PitchTable& table, FrameState& frame) {
    for (int i = 0; i < PitchEntryCount; ++i) {
        const CNote& entry = table[i];
        frame.table[i] = PitchEntry{entry.selected != 0, entry.wordActive != 0, glyphOf(entry)};
    }
    frame.wordCount = table.wordCount();
}

void snapshotStaff(const StaffLayout& layout, FrameState& frame) {
    frame.staff = StaffView{layout.trebleShown != 0, layout.bassShown != 0, layout.trebleOffset,
                            layout.bassOffset};
}

void snapshotList(const CNotesList& list, std::vector<ListNote>& notes) {
    notes.clear();
    for (const CNote& note : list) {
        notes.push_back(ListNote{glyphOf(note), note.x, note.answered != 0, note.barStart != 0,
                                 note.groupIndex, false});
    }
}

void snapshotSettings(const SettingsRecord& settings, FrameState& frame) {
    frame.soundMode = settings.soundMode;
    frame.namingConvention = settings.namingConvention;
    frame.errorLimitOn = settings.errorLimitOn != 0;
    frame.unknownLimitOn = settings.unknownLimitOn != 0;
    frame.maxErrors = settings.maxErrors;
    frame.maxUnknown = settings.maxUnknown;
}

} // namespace tessimo
