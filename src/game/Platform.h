// The services of the platform that the exercise engine uses. The shell implements them with
// thin adapters; the tests with fakes. Every method is called on the user-interface thread.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "game/WordToRecordAgain.h"
#include "geometry/LogicalSpace.h"
#include "model/ProfileSwitch.h"

namespace tessimo {

class MidiOutput;
class RecognizerEntryPoints;
struct SettingsRecord;

// Milliseconds since some fixed moment; wraps around after about 49 days.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::uint32_t tickCount() = 0;
};

// The window timer: after startTimer the shell calls CBrindelView::onTimer(timerNumber) every
// periodMs until killTimer(id).
class WindowTimer {
public:
    virtual ~WindowTimer() = default;
    // Starts (or restarts) the timer with this number; returns its id, never 0.
    virtual int startTimer(int timerNumber, int periodMs) = 0;
    virtual void killTimer(int timerId) = 0;
};

// The view's window: repaint requests (without erasing) and the client size.
class ViewWindow {
public:
    virtual ~ViewWindow() = default;
    virtual void repaintAll() = 0;
    virtual void repaintRect(const DeviceRect& rect) = 0;
    virtual ClientSize clientSize() const = 0;
};

// A message box with OK and Cancel and an exclamation icon; true when OK was chosen.
class ConfirmationBox {
public:
    virtual ~ConfirmationBox() = default;
    virtual bool confirm(const std::string& caption, const std::string& text) = 0;
};

// Makes the named user current (its settings and templates), or says why not.
using ProfileSwitcher = std::function<ProfileSwitchResult(const std::string& userName)>;

// The profile and configuration dialogs, shown modally.
class ExerciseDialogs {
public:
    virtual ~ExerciseDialogs() = default;
    // Shows the user list with userName chosen. OK calls switcher with the chosen name; when
    // it refuses, the dialog says why and stays open. Returns true, with the new name stored,
    // once a switch has succeeded; false when cancelled (nothing switched).
    virtual bool showProfileDialog(std::string& userName, const ProfileSwitcher& switcher) = 0;
    // Lets the user edit settings; on OK the dialog has written them and true is returned.
    virtual bool showConfigureDialog(SettingsRecord& settings) = 0;
};

// Opens an online manual, given its path on the server that hosts the manuals, with the
// desktop's default viewer. Failures are ignored.
class ManualOpener {
public:
    virtual ~ManualOpener() = default;
    virtual void openManual(const std::string& path) = 0;
};

// The status bar's message line: problems the user should know about, in plain words.
class StatusLine {
public:
    virtual ~StatusLine() = default;
    virtual void showMessage(const std::string& text) = 0;
    // The words the user may record again one at a time (CBrindelView::recordWordAgain);
    // an empty list withdraws the offer.
    virtual void offerRecordAgain(const std::vector<WordToRecordAgain>& words) { (void)words; }
};

// Uniform pseudo-random numbers; "random mod n" is next() % n.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual std::uint32_t next() = 0;
};

// Everything the view reaches outside itself. The referenced objects outlive the view.
struct ViewServices {
    Clock& clock;
    WindowTimer& timer;
    ViewWindow& window;
    ConfirmationBox& confirmation;
    ExerciseDialogs& dialogs;
    ManualOpener& manuals;
    MidiOutput& midi;
    RecognizerEntryPoints& recognizer;
    RandomSource& random;
    StatusLine& status;
};

} // namespace tessimo
