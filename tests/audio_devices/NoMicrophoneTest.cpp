// Capture with no sound server at all: "No microphone", said once, nothing waits, and capture
// works once a server has come.
#include <gtest/gtest.h>

#include <cstdlib>

#include "LiveSignals.h"
#include "PrivateSoundServer.h"
#include "audio_devices/PortAudioCapture.h"
#include "recognition/DetectorState.h"

namespace tessimo {
namespace {

using namespace tessimo::test;

TEST(NoMicrophone, SaidOnceAndEveryCallReturnsAtOnce) {
    // A server address where nothing listens: the library finds no input device.
    setenv("PULSE_SERVER", "unix:/nonexistent/tessimo-no-server", 1);
    Messages messages;
    CollectingSink sink;
    PrivateSoundServer server;
    {
        PortAudioCapture capture([&](const std::string& m) { messages.add(m); });
        capture.probe();
        ASSERT_TRUE(
            messages.waitFor(PortAudioCapture::NoMicrophoneMessage, std::chrono::seconds(10)));
        double longest = 0;
        for (int i = 0; i < 5; ++i) {
            auto t = SteadyTime::now();
            capture.start(sink);
            longest = std::max(longest, millisecondsSince(t));
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            t = SteadyTime::now();
            capture.stop();
            longest = std::max(longest, millisecondsSince(t));
        }
        std::printf("no microphone: longest start or stop %.2f ms\n", longest);
        EXPECT_LT(longest, PortAudioCapture::StopWait.count() + 50.0);
        EXPECT_TRUE(sink.sizes().empty());

        // The server comes: the next capture finds its microphone.
        std::string reason;
        if (!server.start(reason))
            GTEST_SKIP() << "no private sound server: " << reason;
        bool heard = false;
        for (int attempt = 0; attempt < 5 && !heard; ++attempt) {
            capture.start(sink);
            heard = sink.waitFor(CaptureBufferSamples, std::chrono::seconds(3));
            capture.stop();
        }
        EXPECT_TRUE(heard);
    }
    const auto said = messages.all();
    ASSERT_EQ(said.size(), 1u) << said.front() << " / " << said.back();
    EXPECT_EQ(said.front(), PortAudioCapture::NoMicrophoneMessage);
}

} // namespace
} // namespace tessimo
