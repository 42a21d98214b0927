#include "fake_window.h"

#include <gtest/gtest.h>

void FakeWindow::SetTimer(int id, int period_ms) {
    timers_[id] = Timer{period_ms, now_ms + period_ms, ++arm_sequence_};
}

void FakeWindow::KillTimer(int id) { timers_.erase(id); }

int FakeWindow::TimerPeriod(int id) const {
    auto it = timers_.find(id);
    return it == timers_.end() ? 0 : it->second.period;
}

bool FakeWindow::FireNext(int64_t until) {
    auto next = timers_.end();
    for (auto it = timers_.begin(); it != timers_.end(); ++it) {
        if (it->second.due > until) continue;
        if (next == timers_.end() || it->second.due < next->second.due ||
            (it->second.due == next->second.due && it->second.armed < next->second.armed))
            next = it;
    }
    if (events) {
        const std::optional<int64_t> due = events->NextDueMs();
        if (due && *due <= until && (next == timers_.end() || *due < next->second.due)) {
            if (*due > now_ms) now_ms = *due;
            events->RunDue(now_ms);
            return true;
        }
    }
    if (next == timers_.end()) return false;
    const int id = next->first;
    now_ms = next->second.due;
    next->second.due += next->second.period;
    next->second.armed = ++arm_sequence_;
    if (record_fired) fired.push_back(id);
    if (on_timer) on_timer(id);
    return true;
}

void FakeWindow::Advance(int64_t ms) {
    const int64_t until = now_ms + ms;
    while (FireNext(until)) {
    }
    if (now_ms < until) now_ms = until;
}

bool FakeWindow::AdvanceUntil(const std::function<bool()>& done, int64_t limit_ms) {
    const int64_t until = now_ms + limit_ms;
    if (done()) return true;
    while (FireNext(until)) {
        if (done()) return true;
    }
    now_ms = until;
    return done();
}

void FakeWindow::MessageBox(const std::string& text) {
    messages.push_back(text);
    if (on_message) on_message(text);
}

bool FakeWindow::AskYesNo(const std::string& text) {
    prompts.push_back(text);
    if (answers.empty()) {
        ADD_FAILURE() << "unexpected prompt: " << text;
        return false;
    }
    PromptAnswer answer = answers.front();
    answers.pop_front();
    if (answer.open_ms > 0) Advance(answer.open_ms);
    if (answer.while_open) answer.while_open();
    return answer.yes;
}

ClockTime FakeWindow::LocalTime() {
    const int64_t start = clock_at_start.hour * 3600 + clock_at_start.minute * 60 + clock_at_start.second;
    const int64_t secs = (start + now_ms / 1000) % 86400;
    return ClockTime{static_cast<int>(secs / 3600), static_cast<int>(secs / 60 % 60), static_cast<int>(secs % 60)};
}

std::optional<FileChoice> FakeWindow::AskOpenFile() {
    ++open_dialogs;
    if (open_choices.empty()) {
        ADD_FAILURE() << "unexpected open dialog";
        return std::nullopt;
    }
    auto choice = open_choices.front();
    open_choices.pop_front();
    return choice;
}

std::optional<FileChoice> FakeWindow::AskSaveFile() {
    ++save_dialogs;
    if (save_choices.empty()) {
        ADD_FAILURE() << "unexpected save dialog";
        return std::nullopt;
    }
    auto choice = save_choices.front();
    save_choices.pop_front();
    return choice;
}
