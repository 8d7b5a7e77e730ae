// Microphone capture through PortAudio on the private sound server's virtual microphone:
// buffers, order and content, and bounded stops when the server freezes or dies.
#include <gtest/gtest.h>

#include <signal.h>

#include <algorithm>
#include <cmath>

#include "LiveSignals.h"
#include "PrivateSoundServer.h"
#include "audio_devices/PortAudioCapture.h"
#include "recognition/DetectorState.h"

namespace tessimo {
namespace {

using namespace tessimo::test;

class CaptureDevice : public ::testing::Test {
protected:
    void SetUp() override {
        std::string reason;
        if (!server.start(reason))
            GTEST_SKIP() << "no private sound server: " << reason;
    }
    PrivateSoundServer server;
    Messages messages;
    CollectingSink sink;
};

// Index at which needle starts in hay (all samples within tolerance), or -1.
long find(const std::vector<std::int16_t>& hay, const std::vector<std::int16_t>& needle,
          int tolerance) {
    for (std::size_t at = 0; at + needle.size() <= hay.size(); ++at) {
        std::size_t i = 0;
        while (i < needle.size() && std::abs(hay[at + i] - needle[i]) <= tolerance)
            ++i;
        if (i == needle.size())
            return static_cast<long>(at);
    }
    return -1;
}

TEST_F(CaptureDevice, DeliversWholeBuffersInOrderAndThePartLastOneOnStop) {
    PortAudioCapture capture([this](const std::string& m) { messages.add(m); });
    // A signal whose every sample differs from its neighbours' pattern: a lost, doubled or
    // reordered piece cannot match.
    std::vector<std::int16_t> signal = sine(523.25, 6000, 22000);
    const std::vector<std::int16_t> tail = sine(1234.5, 3000, 2200);
    signal.insert(signal.end(), tail.begin(), tail.end());
    for (std::size_t i = 0; i < signal.size(); ++i)
        signal[i] = static_cast<std::int16_t>(signal[i] + static_cast<int>(i % 97));

    const auto started = SteadyTime::now();
    capture.start(sink);
    const double startMs = millisecondsSince(started);
    ASSERT_TRUE(sink.waitFor(1, std::chrono::seconds(5))) << "nothing captured";
    ASSERT_TRUE(server.play(signal));
    server.waitForPlayers();
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    const auto stopping = SteadyTime::now();
    capture.stop();
    const double stopMs = millisecondsSince(stopping);
    std::printf("start returned in %.2f ms, stop in %.2f ms\n", startMs, stopMs);

    EXPECT_EQ(capture.lastDeviceRate(), 22000.0);
    const auto sizes = sink.sizes();
    ASSERT_GE(sizes.size(), 6u);
    for (std::size_t i = 0; i + 1 < sizes.size(); ++i)
        ASSERT_EQ(sizes[i], static_cast<std::size_t>(CaptureBufferSamples)) << "buffer " << i;
    EXPECT_GT(sizes.back(), 0u);
    EXPECT_LE(sizes.back(), static_cast<std::size_t>(CaptureBufferSamples));
    // The signal in 20 pieces, each looked for near where it belongs after the first: found
    // (correlation above 0.99, within 2000 samples), in order. A server whose null sink falls
    // behind on a busy machine may drop or alter a piece, never reorder one.
    const auto heard = sink.samples();
    const std::size_t piece = signal.size() / 20;
    auto correlationAt = [&](std::size_t k, long at) {
        double ab = 0, aa = 0, bb = 0;
        for (std::size_t i = 0; i < piece; ++i) {
            const double a = signal[k * piece + i];
            const double b = heard[static_cast<std::size_t>(at) + i];
            ab += a * b;
            aa += a * a;
            bb += b * b;
        }
        return aa > 0 && bb > 0 ? ab / std::sqrt(aa * bb) : 0.0;
    };
    const long first = find(
        heard, std::vector<std::int16_t>(signal.begin(), signal.begin() + static_cast<long>(piece)),
        2);
    ASSERT_GE(first, 0) << "the signal's start did not come through intact";
    int found = 0, inPlace = 0;
    long previous = -1;
    for (std::size_t k = 0; k < 20; ++k) {
        const long expected = first + static_cast<long>(k * piece);
        double best = 0;
        long bestAt = -1;
        for (long at = std::max(0L, expected - 2000);
             at <= expected + 2000 &&
             at + static_cast<long>(piece) <= static_cast<long>(heard.size());
             ++at) {
            const double r = correlationAt(k, at);
            if (r > best) {
                best = r;
                bestAt = at;
            }
        }
        if (best < 0.99)
            continue;
        ++found;
        inPlace += bestAt == expected ? 1 : 0;
        if (bestAt != expected)
            std::printf("piece %zu off by %ld\n", k, bestAt - expected);
        EXPECT_GT(bestAt, previous) << "piece " << k << " out of order";
        previous = bestAt;
    }
    std::printf("%d of 20 pieces of the signal found in order, %d exactly in place\n", found,
                inPlace);
    EXPECT_GE(found, 15) << "the signal did not come through whole and in order";
    EXPECT_LT(stopMs, 200.0);
    EXPECT_TRUE(messages.all().empty()) << messages.all().front();

    // A second capture on the same object works the same way.
    sink.clear();
    capture.start(sink);
    ASSERT_TRUE(sink.waitFor(2 * CaptureBufferSamples, std::chrono::seconds(5)));
    capture.stop();
}

TEST_F(CaptureDevice, FrozenServerNeverHoldsStopAndCaptureComesBackWhenItResumes) {
    PortAudioCapture capture([this](const std::string& m) { messages.add(m); });
    capture.start(sink);
    ASSERT_TRUE(sink.waitFor(CaptureBufferSamples, std::chrono::seconds(5)));

    ASSERT_EQ(kill(server.daemonPid(), SIGSTOP), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    auto t = SteadyTime::now();
    capture.stop(); // the stream's own stop may hang; this must not
    const double frozenStop = millisecondsSince(t);

    // Starting while frozen: the capture thread waits in the library, the caller does not.
    t = SteadyTime::now();
    capture.start(sink);
    const double frozenStart = millisecondsSince(t);
    t = SteadyTime::now();
    capture.stop();
    const double stuckStop = millisecondsSince(t);
    std::printf("server frozen: stop %.1f ms, start %.1f ms, stop of a stuck start %.1f ms\n",
                frozenStop, frozenStart, stuckStop);
    EXPECT_LT(frozenStop, PortAudioCapture::StopWait.count() + 100.0);
    EXPECT_LT(frozenStart, 200.0); // a thread started; a wait on the server would be seconds
    EXPECT_LT(stuckStop, PortAudioCapture::StopWait.count() + 100.0);

    ASSERT_EQ(kill(server.daemonPid(), SIGCONT), 0);
    // Once the server answers, the stuck threads end and a new capture delivers again.
    sink.clear();
    bool heard = false;
    for (int attempt = 0; attempt < 20 && !heard; ++attempt) {
        capture.start(sink);
        heard = sink.waitFor(CaptureBufferSamples, std::chrono::milliseconds(1000));
        capture.stop();
    }
    EXPECT_TRUE(heard) << "capture did not come back after the server resumed";
}

TEST_F(CaptureDevice, KilledServerEndsInBoundedTimeWithAMessage) {
    PortAudioCapture capture([this](const std::string& m) { messages.add(m); });
    capture.start(sink);
    ASSERT_TRUE(sink.waitFor(CaptureBufferSamples, std::chrono::seconds(5)));
    ASSERT_EQ(kill(server.daemonPid(), SIGKILL), 0);
    EXPECT_TRUE(messages.waitFor(PortAudioCapture::NothingCapturedMessage,
                                 PortAudioCapture::SilentDeviceLimit + std::chrono::seconds(3)));
    const auto t = SteadyTime::now();
    capture.stop();
    const double ms = millisecondsSince(t);
    std::printf("server killed: stop %.1f ms\n", ms);
    EXPECT_LT(ms, PortAudioCapture::StopWait.count() + 100.0);
}

} // namespace
} // namespace tessimo
