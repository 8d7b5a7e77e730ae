// Word playback for tests: records every call.
#pragma once

#include "recognition/WordPlayer.h"
#include "recognition/WordSlotNumbers.h"
#include "support/FakeCallLog.h"

namespace tessimo::testing {

class FakeWordPlayer : public virtual WordPlayer, public virtual FakeCallLog {
public:
    int PlayWord(int slot) override {
        calls.push_back({"PlayWord", slot});
        return slot >= 0 && slot < WordSlotCount ? 0 : -1; // every slot has its sample block
    }
    void StopWordPlayback() override { calls.push_back({"StopWordPlayback", 0}); }
};

} // namespace tessimo::testing
