// STEP_PART: one row of the PROGRAM window's step list. It shows a step's
// number, a selection check box, FAN and TIME with their spinners, HEAT as a
// drop-down list and a status text that shows progress while a program
// runs, and enables only what the step's status lets the user change.
//
// The object and its window are separate, as a dialog object and its window
// are: the row table holds the objects, and each object owns the window it
// created (template 3003) unless a parent window destroyed it first.
#pragma once

#include <QPointer>
#include <QString>
#include <cstdint>

#include "editor_state.h"
#include "num_edit.h"
#include "step_node.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QWidget;
class UpDownControl;

class STEP_PART {
public:
    STEP_PART();
    ~STEP_PART();
    STEP_PART(const STEP_PART&) = delete;
    STEP_PART& operator=(const STEP_PART&) = delete;

    // Bounds and formats of the TIME and FAN fields, set before Create.
    void ConfigureFields(const NumEditLimits& time, const NumEditLimits& fan);
    // Creates the row window as a child of `parent`; `dots` animate the
    // progress texts.
    void Create(QWidget* parent, float scale, DotCounters& dots);
    bool Exists() const { return !window_.isNull(); }
    QFrame* Window() const { return window_; }

    // Loads the row from a step and enables its controls by the status.
    void SetStep(uint32_t index, int32_t fan, int32_t time, int32_t heat, uint32_t status);
    // Takes the committed values of the FAN and TIME fields.
    void Commit();

    // Data exchange: the check box, number label, heat word and status text
    // read into the members, or written from them to the controls.
    void ReadControls();
    void WriteControls();

    // Selects the row and ticks its check box (Select).
    void SetSelected(bool selected);
    bool CheckEnabled() const;
    bool TimeEnabled() const;

    // Controls; valid while the window exists.
    QCheckBox* m_check = nullptr;
    CNumEdit* m_timeEdit = nullptr;
    QComboBox* m_heatList = nullptr;
    CNumEdit* m_fanEdit = nullptr;
    UpDownControl* m_timeSpin = nullptr;
    UpDownControl* m_fanSpin = nullptr;
    QLabel* m_numberLabel = nullptr;
    QLabel* m_statusLabel = nullptr;

    QString m_heatText;    // heat word exchanged with the HEAT list
    QString m_numberText;  // "%d." or "end"
    QString m_statusText;  // status or progress text
    int32_t m_selected = 0;
    int32_t m_fan = 0;
    int32_t m_heat = 0;  // 0 COOL (no heat), 1 LOW, 2 MID, 3 HIGH
    uint32_t m_status = 0;
    float m_time = 0.0f;  // minutes
    QString m_timeText;
    int32_t m_highlight = 0;  // 1 while the status text is drawn red
    float m_elapsed = 0.0f;   // minutes shown in the RUN and COOL texts

private:
    void ApplyStatus();
    void ShowHighlight();
    void OnHeatChosen();
    void OnFanStep(int delta);
    void OnTimeStep(int delta);

    NumEditLimits timeLimits_;
    NumEditLimits fanLimits_;
    DotCounters ownDots_;
    DotCounters* dots_ = &ownDots_;
    QPointer<QFrame> window_;
};
