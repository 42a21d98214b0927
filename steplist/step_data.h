// CStep_Data: a roast profile as a singly linked list of StepNode records.
//
// Between operations the chain from `head` holds exactly `count` records
// whose `index` fields run 1, 2, ..., count. Operations that find the list
// inconsistent or a position out of reach report one of the six list
// diagnostics to the list's sink and leave the list as it was.
#pragma once

#include <cstdint>

#include "list_diagnostics.h"
#include "step_node.h"

class CStep_Data {
public:
    // A new list already holds one step: fan 5, time 59, heat 3, waiting.
    explicit CStep_Data(DiagnosticSink* sink = nullptr);
    virtual ~CStep_Data();

    CStep_Data(const CStep_Data&) = delete;
    CStep_Data& operator=(const CStep_Data&) = delete;

    // Numbers the steps 1..n and returns n. Returns 0 for an empty chain, and
    // 0 with diagnostic 1 (count unchanged) when the chain is longer than
    // `count`.
    uint32_t Renumber();

    // Fills out[0..count-1] with the records in chain order.
    void ToArray(StepNode** out) const;

    // Copies index, fan, time, heat and status of the step carrying `index`
    // into `out`. False (and `out` untouched) when no record carries it.
    bool GetStep(uint32_t index, StepNode& out) const;

    // Writes each value that is not KEEP_VALUE into the step carrying
    // `index`. False when no record carries it.
    bool UpdateStep(uint32_t index, int32_t fan, int32_t time, int32_t heat, uint32_t status);

    // Inserts a step at `position` (0 and 1 both mean first; count + 1
    // appends). Returns the new record, or nullptr after a diagnostic.
    StepNode* InsertStep(uint32_t position, int32_t fan, int32_t time, int32_t heat, uint32_t status);

    // Removes the step at `position`; the only step is never removed.
    void DeleteStep(uint32_t position);

    // Releases every record; the list is empty until the next insertion.
    void Clear();

    // Rebuilds this list as a copy of the chain starting at `first`, which
    // must be numbered from 1. The source may be this list's own chain.
    // A null source leaves the list unchanged.
    void CopyFrom(const StepNode* first);

    // The default profile: step 1 fan 5, time 59, heat 3, waiting; then the
    // cooling step fan 5, time 30, heat 0.
    void SetDefaultProfile();

    DiagnosticSink& Sink() const { return *sink_; }
    void Report(ListDiagnostic diagnostic) const;

    StepNode* head = nullptr;
    uint32_t count = 0;

private:
    static StepNode* NewNode(uint32_t index, int32_t fan, int32_t time, int32_t heat, uint32_t status);
    // The record at `position` - 1 for an insertion or deletion, or nullptr
    // after reporting diagnostic 3 or 4.
    StepNode* WalkToPredecessor(uint32_t position) const;

    DiagnosticSink* sink_;
};
