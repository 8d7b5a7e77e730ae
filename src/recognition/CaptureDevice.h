// The sound-input back end as the recogniser sees it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tessimo {

// Receives filled capture buffers, one at a time and in order, on the capture thread.
class CaptureSink {
public:
    virtual ~CaptureSink() = default;
    // count samples of 16-bit mono at 22000 Hz; 4096 except for a last, partly filled buffer.
    virtual void onCaptureBuffer(const std::int16_t* samples, std::size_t count) = 0;
};

// A capture device. Both methods are called on the user-interface thread.
//
// Contract that makes the recogniser's state safe without a lock: between start() and the
// return of stop(), the device may call sink.onCaptureBuffer on its own thread; stop() returns
// only after the last call has returned (a partly filled buffer is delivered before that), and
// no call happens outside that window. start() and stop() synchronise with the capture thread
// (for example by starting and joining it, or through the back end's own locking), so what the
// user-interface thread wrote before start() is visible to the capture thread, and what the
// capture thread wrote is visible after stop(). stop() may bound its wait: a device whose
// capture thread does not deliver its last buffer in time (a frozen sound server) stops
// delivering for good before stop() returns, so the contract holds with the last buffer lost.
class CaptureDevice {
public:
    virtual ~CaptureDevice() = default;
    // Starts capture (opening the device on first use); does nothing when already running or
    // when there is no device.
    virtual void start(CaptureSink& sink) = 0;
    // Stops capture; does nothing when not running.
    virtual void stop() = 0;
};

} // namespace tessimo
