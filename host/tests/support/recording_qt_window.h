// A WindowServices on real Qt timers for tests and benchmarks that run the
// link against a real port: the timers are the program's TimerBank;
// message boxes are recorded instead of shown, prompts answer No, file
// dialogs are cancelled, and the clock is the machine's.
#pragma once

#include <QObject>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "timer_bank.h"
#include "window_services.h"

class RecordingQtWindow : public WindowServices {
public:
    // `on_timer` receives the id of every timer that fires.
    explicit RecordingQtWindow(std::function<void(int)> on_timer);

    void SetTimer(int id, int period_ms) override { timers_.SetTimer(id, period_ms); }
    void KillTimer(int id) override { timers_.KillTimer(id); }
    void MessageBox(const std::string& text) override;
    bool AskYesNo(const std::string& text) override;
    ClockTime LocalTime() override;
    ClockTime PickerTime() override { return picker; }
    void SetPickerTime(const ClockTime& time) override { picker = time; }
    void ShowPicker(bool) override {}
    void EnablePicker(bool) override {}
    void ShowClockIcon(bool) override {}
    void ShowName(const std::string& text) override { name_text = text; }
    void SetNameColour(NameColour) override {}
    void SetPictureImage(int control, int picture) override { pictures[control] = picture; }
    void InvalidateTemperature() override {}
    std::optional<FileChoice> AskOpenFile() override { return std::nullopt; }
    std::optional<FileChoice> AskSaveFile() override { return std::nullopt; }
    void EndDialog(int result) override;

    bool TimerRunning(int id) const { return timers_.IsRunning(id); }
    int Count(const std::string& message) const;

    std::vector<std::string> messages;
    std::string name_text;
    std::map<int, int> pictures;
    ClockTime picker;
    bool ended = false;
    int end_result = 0;
    // Called when the program would end.
    std::function<void()> on_end;

private:
    TimerBank timers_;
};
