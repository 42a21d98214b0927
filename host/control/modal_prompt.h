// A Yes/No prompt of the roast logic.
//
// The prompt is modal, but its nested event loop keeps the control tick and
// the receive handling running, so the controller state may change while it
// is open. Asking therefore locks the editor (it cannot delete or append
// steps meanwhile) and sets prompt_open, which keeps UnlockEditor from
// releasing that lock. prompt_open is cleared when the prompt goes out of
// scope, after the caller has acted on the answer, whichever way it returns.
// Callers re-check the state after a Yes before they change anything.
#pragma once

#include <string>

#include "console.h"

class ModalPrompt {
public:
    explicit ModalPrompt(Console& console) : c_(console) {}
    ~ModalPrompt() { c_.state.prompt_open = 0; }

    ModalPrompt(const ModalPrompt&) = delete;
    ModalPrompt& operator=(const ModalPrompt&) = delete;

    // True for Yes.
    bool Ask(const std::string& text) {
        c_.editor.SetLock(1);
        c_.state.prompt_open = 1;
        return c_.window.AskYesNo(text);
    }

private:
    Console& c_;
};

// The question before a step is added with room for more: "%d" is the
// number of steps that can still be added.
inline std::string InsertStepQuestion(int32_t steps) {
    return "Are you sure insert a new STEP ? You can also insert " + std::to_string(static_cast<int32_t>(kMaxProfileSteps) - steps) +
           " STEP.";
}
