// The pitch under a mouse position, on the staff or on the keyboard. Pure functions;
// user-interface thread (they read the view's layout and table).
#pragma once

#include "geometry/LogicalSpace.h"
#include "geometry/StaffLayout.h"

namespace tessimo {

class PitchTable;

// Pitch 36..83 under a logical point, or 255 for none.
int pitchAtLogical(LogicalPoint p, const StaffLayout& layout);

// Pitch under a device point of a client area of the given size, or 255 for none; with
// requireSelected, a pitch whose table entry is not selected also gives 255.
int pitchAt(DevicePoint point, ClientSize client, const StaffLayout& layout,
            const PitchTable& table, bool requireSelected);

} // namespace tessimo
