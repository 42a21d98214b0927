#include "console_events.h"

#include <algorithm>

#include "console.h"

ConsoleEvents::ConsoleEvents(const Console& console)
    : console_(console), celsius_(console.state.show_celsius != 0) {}

void ConsoleEvents::Add(ConsoleListener& listener) { listeners_.push_back(&listener); }

void ConsoleEvents::Remove(ConsoleListener& listener) {
    std::replace(listeners_.begin(), listeners_.end(), &listener, static_cast<ConsoleListener*>(nullptr));
    if (telling_ == 0) listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), nullptr), listeners_.end());
}

template <typename F>
void ConsoleEvents::TellAll(F&& tell) {
    ++telling_;
    // By index: a listener may add or remove listeners while it is told.
    for (std::size_t i = 0; i < listeners_.size(); ++i)
        if (listeners_[i]) tell(*listeners_[i]);
    if (--telling_ == 0)
        listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), nullptr), listeners_.end());
}

void ConsoleEvents::Reading(int32_t raw) {
    TellAll([&](ConsoleListener& l) { l.OnReading(raw, console_); });
}

void ConsoleEvents::Handled() {
    TellAll([&](ConsoleListener& l) { l.OnHandled(console_); });
    const bool celsius = console_.state.show_celsius != 0;
    if (celsius == celsius_) return;
    celsius_ = celsius;
    TellAll([&](ConsoleListener& l) { l.OnUnitChanged(celsius); });
}

void ConsoleEvents::UserInput() {
    TellAll([&](ConsoleListener& l) { l.OnUserInput(console_); });
}
