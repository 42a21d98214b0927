// A WindowServices for tests: timers run in virtual time, message boxes are
// recorded, prompts and file dialogs are answered from a script, and the
// clock, picker, name box and pictures keep what the logic set.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "window_services.h"

struct PromptAnswer {
    bool yes = false;
    // Virtual time that passes while the prompt is open (timers keep firing).
    int64_t open_ms = 0;
    // Runs while the prompt is open, after `open_ms`.
    std::function<void()> while_open;
};

// Something else that happens in virtual time besides the timers, such as
// bytes the simulated roaster puts on the line.
class VirtualEvents {
public:
    virtual ~VirtualEvents() = default;
    // When the next event is due, if one is pending.
    virtual std::optional<int64_t> NextDueMs() const = 0;
    // Runs the events due at `now_ms`.
    virtual void RunDue(int64_t now_ms) = 0;
};

class FakeWindow : public WindowServices {
public:
    // Called for every timer that fires.
    std::function<void(int)> on_timer;

    // --- virtual time ---------------------------------------------------
    int64_t now_ms = 0;
    // The local clock at virtual time 0.
    ClockTime clock_at_start{9, 0, 0};

    // Advances virtual time by `ms`, firing every timer that falls due in
    // the order of its deadline (timers due at the same instant fire in the
    // order they were armed).
    void Advance(int64_t ms);
    // Advances until `done` holds (checked after every timer) or `limit_ms`
    // passed; true when `done` held.
    bool AdvanceUntil(const std::function<bool()>& done, int64_t limit_ms);

    bool TimerRunning(int id) const { return timers_.count(id) != 0; }
    int TimerPeriod(int id) const;
    // Ids of the timers that fired, in order.
    std::vector<int> fired;
    // False: `fired` is not kept (long runs).
    bool record_fired = true;
    // Events that run in virtual time with the timers; one due before the
    // next timer runs first.
    VirtualEvents* events = nullptr;

    // --- message boxes and prompts --------------------------------------
    std::vector<std::string> messages;
    std::vector<std::string> prompts;
    std::deque<PromptAnswer> answers;
    std::function<void(const std::string&)> on_message;
    void AnswerYes(int64_t open_ms = 0) { answers.push_back({true, open_ms, {}}); }
    void AnswerNo(int64_t open_ms = 0) { answers.push_back({false, open_ms, {}}); }

    // --- file dialogs ----------------------------------------------------
    std::deque<std::optional<FileChoice>> open_choices;
    std::deque<std::optional<FileChoice>> save_choices;
    int open_dialogs = 0;
    int save_dialogs = 0;

    // --- widgets ---------------------------------------------------------
    ClockTime picker{0, 0, 0};
    bool picker_shown = true;
    bool picker_enabled = true;
    bool clock_icon_shown = false;
    std::string name_text;
    NameColour name_colour = NameColour::Normal;
    int name_writes = 0;
    std::map<int, int> pictures;
    int temperature_invalidations = 0;
    bool ended = false;
    int end_result = 0;

    // WindowServices
    void SetTimer(int id, int period_ms) override;
    void KillTimer(int id) override;
    void MessageBox(const std::string& text) override;
    bool AskYesNo(const std::string& text) override;
    ClockTime LocalTime() override;
    ClockTime PickerTime() override { return picker; }
    void SetPickerTime(const ClockTime& time) override { picker = time; }
    void ShowPicker(bool shown) override { picker_shown = shown; }
    void EnablePicker(bool enabled) override { picker_enabled = enabled; }
    void ShowClockIcon(bool shown) override { clock_icon_shown = shown; }
    void ShowName(const std::string& text) override {
        name_text = text;
        ++name_writes;
    }
    void SetNameColour(NameColour colour) override { name_colour = colour; }
    void SetPictureImage(int control, int picture) override { pictures[control] = picture; }
    void InvalidateTemperature() override { ++temperature_invalidations; }
    std::optional<FileChoice> AskOpenFile() override;
    std::optional<FileChoice> AskSaveFile() override;
    void EndDialog(int result) override {
        ended = true;
        end_result = result;
    }

private:
    struct Timer {
        int period = 0;
        int64_t due = 0;
        uint64_t armed = 0;  // order in which deadlines were set
    };
    bool FireNext(int64_t until);

    std::map<int, Timer> timers_;
    uint64_t arm_sequence_ = 0;
};
