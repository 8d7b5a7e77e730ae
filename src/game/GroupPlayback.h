// Intervals and chords sounded group by group: from the first unanswered note of a list, each
// group sounds at a 400 ms step once it has scrolled to where the playback started, its notes
// together when they stand together. User-interface thread only.
#pragma once

#include <cstdint>

namespace tessimo {

class CNotesList;
class ExerciseSounds;

class GroupPlayback {
public:
    // Plays list from its first unanswered note: notes up to offset x beyond it sound at the
    // next step, later ones as they reach that place. Nothing when every note is answered.
    void arm(CNotesList& list, int offset);
    // Ends the playback (an answer made it pointless, or the list changed).
    void cancel() { pending_ = false; }
    bool pending() const { return pending_; }

    // One step at now: sounds the next group when the step is due. With stopAtNextGroup
    // (the dictations) the playback ends with the group it started on. Returns the list that
    // sounded, or nullptr.
    const CNotesList* step(std::uint32_t now, bool stopAtNextGroup, std::uint8_t unitMs,
                           ExerciseSounds& sounds);

private:
    bool pending_ = false;
    int threshold_ = 0;
    int lastPlayedGroup_ = -1;
    std::uint32_t lastStepTick_ = 0;
    CNotesList* list_ = nullptr;
};

} // namespace tessimo
