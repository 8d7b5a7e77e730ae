#include "display/ViewSnapshot.h"

#include "display/StaffLayout.h"
#include "model/CNotesList.h"
#include "model/PitchTable.h"
#include "model/SettingsRecord.h"

namespace tessimo {

namespace {

NoteGlyph glyphOf(const CNote& note) {
    return NoteGlyph{note.pitch, note.durationCode, note.staffY};
}

} // namespace

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
                                 note.groupIndex, note.startTime, note.endTime});
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
