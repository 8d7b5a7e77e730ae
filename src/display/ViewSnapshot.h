// Copies the view's exercise objects into the plain snapshot the painter reads. The copies are
// small (100 table entries, a few dozen notes) and reuse the snapshot's storage from one paint
// to the next. User-interface thread only.
#pragma once

#include "display/FrameState.h"

namespace tessimo {

class CNotesList;
class PitchTable;
struct StaffLayout;
struct SettingsRecord;

class CBrindelView;
struct PaintFrame;

// Everything the painter reads of the view, with each Listen notes note's sounding state at the
// paint's time.
void snapshotView(const CBrindelView& view, const PaintFrame& paintFrame, FrameState& frame);

void snapshotTable(const PitchTable& table, FrameState& frame);
void snapshotStaff(const StaffLayout& layout, FrameState& frame);
void snapshotList(const CNotesList& list, std::vector<ListNote>& notes);
void snapshotSettings(const SettingsRecord& settings, FrameState& frame);

} // namespace tessimo
