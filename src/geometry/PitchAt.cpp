#include "geometry/PitchAt.h"

#include "geometry/KeyboardGeometry.h"
#include "model/Pitch.h"
#include "model/PitchTable.h"

namespace tessimo {

namespace {

int staffPitch(int y, const StaffLayout& layout) {
    const float d = static_cast<float>(layout.staffBaseY - y);
    const int o = static_cast<int>(d / OctaveHeight);
    const float h = (d - static_cast<float>(OctaveHeight * o)) / StepHeight;
    if (h < 0.0f || h >= 7.0f) {
        return NoPitch;
    }
    const int n = WhiteKeyPitchClasses[static_cast<std::size_t>(h)];
    int pitch = LowestPitch + PitchesPerOctave * o + n;
    if (h > SharpThresholdTable[n]) {
        ++pitch;
    }
    return pitch;
}

int whiteBandPitch(int x) {
    if (x < KeyboardLeft || x >= KeyboardLeft + KeyboardWidth) {
        return NoPitch;
    }
    const int o = (x - KeyboardLeft) / KeyboardOctaveWidth;
    const int w = (x - KeyboardOctaveWidth * o - KeyboardLeft) / WhiteKeyWidth;
    return LowestPitch + PitchesPerOctave * o + WhiteKeyPitchClasses[static_cast<std::size_t>(w)];
}

int keyboardPitch(int x, int y) {
    if (static_cast<double>(y) >= BlackKeyBandEnd) {
        return whiteBandPitch(x);
    }
    if (x < KeyboardLeft) {
        return NoPitch;
    }
    if (x >= KeyboardLeft + KeyboardWidth) {
        return whiteBandPitch(x);
    }
    const int o = (x - KeyboardLeft) / KeyboardOctaveWidth;
    const int xo = x - KeyboardOctaveWidth * o;
    const int s = (xo - FirstBlackKeyLeft) / WhiteKeyWidth;
    const int r = (xo - FirstBlackKeyLeft) % WhiteKeyWidth;
    if (r > 0 && r < BlackKeyWidth && s != 2 && s != 6) {
        const int index = s <= 2 ? s : s - 1;
        return LowestPitch + PitchesPerOctave * o +
               BlackKeyPitchClasses[static_cast<std::size_t>(index)];
    }
    return LowestPitch + PitchesPerOctave * o +
           WhiteKeyPitchClasses[static_cast<std::size_t>((xo - KeyboardLeft) / WhiteKeyWidth)];
}

} // namespace

int pitchAtLogical(LogicalPoint p, const StaffLayout& layout) {
    const int pitch = p.y < StaffAreaBottom ? staffPitch(p.y, layout) : keyboardPitch(p.x, p.y);
    return isInRange(pitch) ? pitch : NoPitch;
}

int pitchAt(DevicePoint point, ClientSize client, const StaffLayout& layout,
            const PitchTable& table, bool requireSelected) {
    const int pitch = pitchAtLogical(deviceToLogical(point, client), layout);
    if (pitch == NoPitch || (requireSelected && !table.isSelected(pitch))) {
        return NoPitch;
    }
    return pitch;
}

} // namespace tessimo
