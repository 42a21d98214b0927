// Helpers for the step editor's tests: a host window that records the
// editor's messages, prompts answered from a script, and step lists built
// from values.
#pragma once

#include <QEvent>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <deque>
#include <functional>
#include <vector>

#include "editor_message.h"
#include "editor_prompts.h"
#include "step_data.h"

// A host window that records the codes of the registered message and can
// act while handling one, as the program's handler does.
class RecordingHost : public QWidget {
public:
    std::vector<int> codes;
    std::function<void(int)> onMessage;

    bool event(QEvent* event) override {
        if (event->type() == EditorMessageType()) {
            const int code = static_cast<EditorMessageEvent*>(event)->lparam;
            codes.push_back(code);
            if (onMessage) onMessage(code);
            return true;
        }
        return QWidget::event(event);
    }
};

// Messages are recorded; questions are answered from `answers` (No when it
// runs out), and `whileOpen` runs while a question is open.
class ScriptedPrompts : public EditorPrompts {
public:
    QStringList messages;
    QStringList questions;
    std::deque<bool> answers;
    std::function<void()> whileOpen;

    void ShowMessage(QWidget*, const QString& text) override { messages << text; }
    bool AskYesNo(QWidget*, const QString& text) override {
        questions << text;
        if (whileOpen) whileOpen();
        if (answers.empty()) return false;
        const bool yes = answers.front();
        answers.pop_front();
        return yes;
    }
};

struct StepValues {
    int32_t fan;
    int32_t time;
    int32_t heat;
    uint32_t status;
};

// A step list holding exactly `steps`, numbered from 1.
inline void FillList(CStep_Data& list, const std::vector<StepValues>& steps) {
    list.Clear();
    uint32_t position = 1;
    for (const StepValues& s : steps) list.InsertStep(position++, s.fan, s.time, s.heat, s.status);
}

// `count` steps: waiting heating steps (fan 5, heat 3, times 11, 12, ...)
// and a waiting cooling step.
inline std::vector<StepValues> PendingProfile(int count) {
    std::vector<StepValues> steps;
    for (int i = 1; i < count; ++i) steps.push_back({5, 10 + i, 3, StepWaiting});
    steps.push_back({5, 30, 0, CoolWaiting});
    return steps;
}

// The steps of a chain as values.
inline std::vector<StepValues> Values(const StepNode* head) {
    std::vector<StepValues> out;
    for (const StepNode* p = head; p; p = p->next) out.push_back({p->fan, p->time, p->heat, p->status});
    return out;
}

inline bool operator==(const StepValues& a, const StepValues& b) {
    return a.fan == b.fan && a.time == b.time && a.heat == b.heat && a.status == b.status;
}
