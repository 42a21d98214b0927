#include "timer_bank.h"

TimerBank::TimerBank(std::function<void(int)> on_timer, QObject* parent)
    : QObject(parent), on_timer_(std::move(on_timer)) {}

void TimerBank::SetTimer(int id, int period_ms) {
    auto& timer = timers_[id];
    if (!timer) {
        timer = std::make_unique<QTimer>();
        timer->setTimerType(Qt::PreciseTimer);
        connect(timer.get(), &QTimer::timeout, this, [this, id] {
            if (on_timer_) on_timer_(id);
        });
    }
    timer->start(period_ms);
}

void TimerBank::KillTimer(int id) {
    auto it = timers_.find(id);
    if (it != timers_.end()) it->second->stop();
}

bool TimerBank::IsRunning(int id) const {
    auto it = timers_.find(id);
    return it != timers_.end() && it->second->isActive();
}

void TimerBank::KillAll() {
    for (auto& entry : timers_) entry.second->stop();
}
