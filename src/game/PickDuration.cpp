#include "game/PickDuration.h"

#include <algorithm>
#include <array>
#include <vector>

#include "model/Durations.h"

namespace tessimo {

namespace {

// A bar never exceeds six dotted wholes; anything longer comes from a damaged settings file.
constexpr int LongestRemaining = 6 * 96;

// The enabled lengths, longest first (the list is in increasing code order).
int enabledLengths(const SettingsRecord& settings, std::array<int, DurationCodeCount>& codes) {
    const int count = std::clamp(settings.durationCount, 0, DurationCodeCount);
    int n = 0;
    for (int i = 0; i < count; ++i) {
        const int code = settings.durationList[static_cast<std::size_t>(i)];
        if (code >= 0 && code < DurationCodeCount) {
            codes[static_cast<std::size_t>(n++)] = code;
        }
    }
    return n;
}

// fillable[r]: r units can be written as a sum of one or more enabled lengths.
std::vector<bool> fillableTable(const std::array<int, DurationCodeCount>& codes, int count,
                                int upTo) {
    std::vector<bool> fillable(static_cast<std::size_t>(upTo) + 1, false);
    for (int r = 1; r <= upTo; ++r) {
        for (int i = 0; i < count && !fillable[static_cast<std::size_t>(r)]; ++i) {
            const int len =
                DurationTable[static_cast<std::size_t>(codes[static_cast<std::size_t>(i)])];
            if (len == r || (len < r && fillable[static_cast<std::size_t>(r - len)])) {
                fillable[static_cast<std::size_t>(r)] = true;
            }
        }
    }
    return fillable;
}

} // namespace

bool durationsCanFill(const SettingsRecord& settings, int remaining) {
    std::array<int, DurationCodeCount> codes{};
    const int count = enabledLengths(settings, codes);
    if (count == 0 || remaining <= 0 || remaining > LongestRemaining) {
        return false;
    }
    return fillableTable(codes, count, remaining)[static_cast<std::size_t>(remaining)];
}

int pickDuration(const SettingsRecord& settings, int remaining, RandomSource& random) {
    std::array<int, DurationCodeCount> codes{};
    const int count = enabledLengths(settings, codes);
    if (count == 0 || remaining <= 0 || remaining > LongestRemaining) {
        return -1;
    }
    if (remaining <
        DurationTable[static_cast<std::size_t>(codes[static_cast<std::size_t>(count - 1)])]) {
        return -1;
    }
    const std::vector<bool> fillable = fillableTable(codes, count, remaining);
    std::array<bool, DurationCodeCount> tried{};
    for (int untried = count; untried > 0; --untried) {
        // The k-th entry not tried yet: each draw tries a new entry.
        int k = static_cast<int>(random.next() % static_cast<std::uint32_t>(untried));
        int index = 0;
        for (;; ++index) {
            if (!tried[static_cast<std::size_t>(index)] && k-- == 0) {
                break;
            }
        }
        tried[static_cast<std::size_t>(index)] = true;
        const int code = codes[static_cast<std::size_t>(index)];
        const int len = DurationTable[static_cast<std::size_t>(code)];
        if (len > remaining) {
            continue;
        }
        if (len == remaining || fillable[static_cast<std::size_t>(remaining - len)]) {
            return code;
        }
    }
    return -1;
}

} // namespace tessimo
