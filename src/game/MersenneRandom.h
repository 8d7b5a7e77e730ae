// The program's pseudo-random generator. User-interface thread only.
#pragma once

#include <cstdint>
#include <random>

#include "game/Platform.h"

namespace tessimo {

class MersenneRandom : public RandomSource {
public:
    // The view seeds it from the clock when it is created.
    explicit MersenneRandom(std::uint32_t seed) : engine_(seed) {}
    std::uint32_t next() override { return static_cast<std::uint32_t>(engine_()); }

private:
    std::mt19937 engine_;
};

} // namespace tessimo
