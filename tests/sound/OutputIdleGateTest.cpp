// When the output stream stops for silence, and who restarts it.
#include "sound/OutputIdleGate.h"

#include <gtest/gtest.h>

using namespace tessimo;
using State = OutputIdleGate::State;

namespace {

constexpr auto Nothing = [] { return false; };
constexpr auto Something = [] { return true; };

TEST(OutputIdleGate, StopsOnlyAfterEnoughUnbrokenSilenceWithNothingPending) {
    OutputIdleGate gate(1000);
    EXPECT_TRUE(gate.continueAfterBlock(true, 600, Nothing));
    EXPECT_TRUE(gate.continueAfterBlock(false, 256, Nothing)); // sound starts the count again
    EXPECT_TRUE(gate.continueAfterBlock(true, 600, Nothing));
    EXPECT_TRUE(gate.continueAfterBlock(true, 399, Nothing));
    EXPECT_EQ(gate.state(), State::Running);
    EXPECT_FALSE(gate.claimRestart()); // running: nothing to restart

    // A queued message or an active word keeps it running however long the silence.
    EXPECT_TRUE(gate.continueAfterBlock(true, 5000, Something));
    EXPECT_EQ(gate.state(), State::Running);

    EXPECT_FALSE(gate.continueAfterBlock(true, 1, Nothing));
    EXPECT_EQ(gate.state(), State::Idle);
    EXPECT_TRUE(gate.isIdle());
}

TEST(OutputIdleGate, OneRestartPerStopAndAFailedRestartCanBeRetried) {
    OutputIdleGate gate(10);
    ASSERT_FALSE(gate.continueAfterBlock(true, 10, Nothing));
    EXPECT_TRUE(gate.claimRestart());
    EXPECT_EQ(gate.state(), State::Restarting);
    EXPECT_FALSE(gate.claimRestart()); // the second message finds it restarting
    gate.restarted(false);
    EXPECT_TRUE(gate.claimRestart());
    gate.restarted(true);
    EXPECT_EQ(gate.state(), State::Running);

    // The silence counted before the stop does not carry over into the restarted stream.
    EXPECT_TRUE(gate.continueAfterBlock(true, 9, Nothing));
    EXPECT_FALSE(gate.continueAfterBlock(true, 1, Nothing));
}

// A message queued between the audio thread's first look and its stop decision: the second
// look finds it and the stream goes on rendering.
TEST(OutputIdleGate, WorkArrivingWhileStoppingKeepsTheStreamRunning) {
    OutputIdleGate gate(10);
    int looks = 0;
    EXPECT_TRUE(gate.continueAfterBlock(true, 10, [&] { return ++looks == 2; }));
    EXPECT_EQ(looks, 2);
    EXPECT_EQ(gate.state(), State::Running);
    EXPECT_FALSE(gate.claimRestart());
}

// The same, but the producer saw the stop first and took the restart: the stream finishes and
// the producer starts it again, so the message is neither stranded nor started twice.
TEST(OutputIdleGate, WorkArrivingAfterTheProducerTookTheRestartLetsTheStreamFinish) {
    OutputIdleGate gate(10);
    int looks = 0;
    bool claimed = false;
    EXPECT_FALSE(gate.continueAfterBlock(true, 10, [&] {
        if (++looks == 2)
            claimed = gate.claimRestart();
        return looks == 2;
    }));
    EXPECT_TRUE(claimed);
    EXPECT_EQ(gate.state(), State::Restarting);
}

} // namespace
