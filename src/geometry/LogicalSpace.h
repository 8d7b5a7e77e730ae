// The logical drawing space (2000 x 3200 units) stretched over the client area, and the
// conversion of device points into it. Pure functions; any thread.
#pragma once

#include <cstdint>

namespace tessimo {

inline constexpr int LogicalWidth = 2000;
inline constexpr int LogicalHeight = 3200;
inline constexpr int StaffAreaBottom = 2000; // the staff area is y 0..2000, the keyboard below
// Fraction of the client height that holds the staff: 2000 of 3200 logical rows.
inline constexpr double StaffHeightFraction = 0.625;

struct ClientSize {
    int width = 0;
    int height = 0;
};

struct DevicePoint {
    int x = 0;
    int y = 0;
};

struct LogicalPoint {
    int x = 0;
    int y = 0;
};

struct DeviceRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// Device pixel to logical units, rounded to the nearest unit. A degenerate client size
// (width or height 0) maps everything to 0.
constexpr LogicalPoint deviceToLogical(DevicePoint p, ClientSize client) {
    auto scale = [](int v, int logical, int device) -> int {
        if (device <= 0) {
            return 0;
        }
        const std::int64_t num = static_cast<std::int64_t>(v) * logical;
        // Round half away from zero.
        const std::int64_t q = num >= 0 ? (num + device / 2) / device : (num - device / 2) / device;
        return static_cast<int>(q);
    };
    return {scale(p.x, LogicalWidth, client.width), scale(p.y, LogicalHeight, client.height)};
}

// Logical point to device pixel, truncated (as the drawing mapping places it).
constexpr DevicePoint logicalToDevice(LogicalPoint p, ClientSize client) {
    return {static_cast<int>(static_cast<std::int64_t>(p.x) * client.width / LogicalWidth),
            static_cast<int>(static_cast<std::int64_t>(p.y) * client.height / LogicalHeight)};
}

} // namespace tessimo
