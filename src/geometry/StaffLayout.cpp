#include "geometry/StaffLayout.h"

#include "model/Pitch.h"
#include "model/PitchTable.h"

namespace tessimo {

void StaffLayout::compute(const PitchTable& table) {
    auto anySelected = [&table](int from, int to) {
        for (int p = from; p <= to; ++p) {
            if (table.isSelected(p)) {
                return true;
            }
        }
        return false;
    };
    bassShown = anySelected(36, 57) ? 1 : 0;
    trebleShown = (bassShown == 0 || anySelected(64, 83)) ? 1 : 0;
    if (bassShown == 0) {
        trebleOffset = 0;
        staffBaseY = TrebleOnlyBaseY;
    } else if (trebleShown == 0) {
        bassOffset = 0;
        staffBaseY = BassOnlyBaseY;
    } else {
        trebleOffset = -TwoStaffOffset;
        bassOffset = TwoStaffOffset;
        staffBaseY = BothStavesBaseY;
    }
}

int StaffLayout::pitchY(int pitch) const {
    // step x 134 x 0.5 is exact in double, so the truncation loses nothing.
    return static_cast<int>(staffBaseY - diatonicStep(pitch) * LineGap * 0.5);
}

} // namespace tessimo
