#include "shell/QtWindowTimer.h"

namespace tessimo {

QtWindowTimer::QtWindowTimer(TickHandler onTick) : m_onTick(std::move(onTick)) {
    m_timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_timer, &QTimer::timeout, [this] { m_onTick(m_number); });
}

int QtWindowTimer::startTimer(int timerNumber, int periodMs) {
    m_number = timerNumber > 0 ? timerNumber : 1;
    m_timer.start(periodMs > 0 ? periodMs : 1);
    return m_number;
}

void QtWindowTimer::killTimer(int timerId) {
    if (timerId == m_number) {
        m_timer.stop();
    }
}

} // namespace tessimo
