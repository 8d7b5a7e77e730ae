#include "statistics/HeatMap.h"

#include <algorithm>
#include <cmath>

#include "model/NoteNames.h"

namespace tessimo {

int percentRight(int right, int asked) {
    if (asked <= 0) {
        return 0;
    }
    return static_cast<int>((200LL * right + asked) / (2LL * asked));
}

std::string secondsText(int ms) {
    if (ms < 0) {
        return "-";
    }
    const int tenths = (ms + 50) / 100;
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + " s";
}

std::vector<HeatCell> heatCells(const std::vector<PitchStatistics>& pitches, HeatMeasure measure) {
    std::vector<HeatCell> cells;
    cells.reserve(pitches.size());
    int fastest = -1;
    int slowest = -1;
    for (const PitchStatistics& p : pitches) {
        if (p.medianAnswerMs >= 0) {
            fastest = fastest < 0 ? p.medianAnswerMs : std::min(fastest, p.medianAnswerMs);
            slowest = std::max(slowest, p.medianAnswerMs);
        }
    }
    for (const PitchStatistics& p : pitches) {
        HeatCell cell;
        cell.pitch = p.pitch;
        cell.asked = p.asked();
        cell.right = p.right;
        cell.percentRight = percentRight(p.right, p.asked());
        cell.medianAnswerMs = p.medianAnswerMs;
        if (measure == HeatMeasure::Accuracy) {
            cell.heat = p.accuracy();
            cell.label = std::to_string(cell.percentRight) + "%";
        } else if (p.medianAnswerMs >= 0) {
            cell.heat = slowest > fastest
                            ? static_cast<double>(slowest - p.medianAnswerMs) / (slowest - fastest)
                            : 1.0;
            cell.label = secondsText(p.medianAnswerMs);
        } else {
            cell.label = "-";
        }
        cells.push_back(cell);
    }
    return cells;
}

HeatRgb heatColour(double heat) {
    if (heat < 0 || std::isnan(heat)) {
        return {190, 190, 190};
    }
    heat = std::min(heat, 1.0);
    // Red (220, 50, 40) to amber (245, 190, 40) at the middle, to green (40, 180, 70).
    const auto mix = [](int a, int b, double t) {
        return static_cast<std::uint8_t>(std::lround(a + (b - a) * t));
    };
    if (heat < 0.5) {
        const double t = heat / 0.5;
        return {mix(220, 245, t), mix(50, 190, t), mix(40, 40, t)};
    }
    const double t = (heat - 0.5) / 0.5;
    return {mix(245, 40, t), mix(190, 180, t), mix(40, 70, t)};
}

std::string cellDescription(const HeatCell& cell, int convention) {
    std::string text = std::string(noteName(cell.pitch, convention)) +
                       std::to_string(cell.pitch / 12 - 1) + ": " + std::to_string(cell.right) +
                       " of " + std::to_string(cell.asked) + " right (" +
                       std::to_string(cell.percentRight) + " %)";
    if (cell.medianAnswerMs >= 0) {
        text += ", median " + secondsText(cell.medianAnswerMs);
    }
    return text;
}

} // namespace tessimo
