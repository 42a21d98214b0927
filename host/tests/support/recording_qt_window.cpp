#include "recording_qt_window.h"

#include <QTime>
#include <algorithm>

RecordingQtWindow::RecordingQtWindow(std::function<void(int)> on_timer) : timers_(std::move(on_timer)) {}

void RecordingQtWindow::MessageBox(const std::string& text) { messages.push_back(text); }

bool RecordingQtWindow::AskYesNo(const std::string& text) {
    messages.push_back(text);
    return false;
}

ClockTime RecordingQtWindow::LocalTime() {
    const QTime now = QTime::currentTime();
    return ClockTime{now.hour(), now.minute(), now.second()};
}

void RecordingQtWindow::EndDialog(int result) {
    ended = true;
    end_result = result;
    timers_.KillAll();
    if (on_end) on_end();
}

int RecordingQtWindow::Count(const std::string& message) const {
    return static_cast<int>(std::count(messages.begin(), messages.end(), message));
}
