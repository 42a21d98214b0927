// The main window's four timers on Qt: periodic precise QTimers addressed
// by the window's timer ids. Setting a running timer restarts its period.
#pragma once

#include <QObject>
#include <QTimer>
#include <functional>
#include <map>
#include <memory>

class TimerBank : public QObject {
    Q_OBJECT
public:
    explicit TimerBank(std::function<void(int)> on_timer, QObject* parent = nullptr);

    void SetTimer(int id, int period_ms);
    void KillTimer(int id);
    bool IsRunning(int id) const;
    void KillAll();

private:
    std::function<void(int)> on_timer_;
    std::map<int, std::unique_ptr<QTimer>> timers_;
};
