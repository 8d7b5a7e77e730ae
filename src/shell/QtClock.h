// The engine's millisecond tick count, from the monotonic clock. Any thread.
#pragma once

#include "game/Platform.h"

#include <chrono>

namespace tessimo {

class QtClock final : public Clock {
public:
    std::uint32_t tickCount() override {
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now().time_since_epoch());
        return static_cast<std::uint32_t>(ms.count());
    }
};

} // namespace tessimo
