// The engine's window timer on a precise QTimer: while started it calls the tick handler every
// period with the timer's number. Only timer number 1 is used; starting it again replaces the
// period, so there is never more than one. User-interface thread only.
#pragma once

#include "game/Platform.h"

#include <QTimer>

#include <functional>

namespace tessimo {

class QtWindowTimer final : public WindowTimer {
public:
    using TickHandler = std::function<void(int timerNumber)>;

    explicit QtWindowTimer(TickHandler onTick);

    // Returns timerNumber as the id (never 0).
    int startTimer(int timerNumber, int periodMs) override;
    void killTimer(int timerId) override;

    bool isRunning() const { return m_timer.isActive(); }
    int periodMs() const { return m_timer.interval(); }

private:
    QTimer m_timer;
    int m_number = 1;
    TickHandler m_onTick;
};

} // namespace tessimo
