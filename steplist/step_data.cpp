#include "step_data.h"

#include <vector>

namespace {
// Guards every chain walk against a chain that was corrupted into a cycle;
// far above any list the program builds (at most 22 steps).
constexpr uint32_t kWalkLimit = 100000;

void RaiseIndicesAfter(StepNode* node) {
    for (StepNode* p = node ? node->next : nullptr; p; p = p->next) ++p->index;
}

void LowerIndicesFrom(StepNode* node) {
    for (StepNode* p = node; p; p = p->next) --p->index;
}
}  // namespace

CStep_Data::CStep_Data(DiagnosticSink* sink) : sink_(sink ? sink : &StandardErrorSink()) {
    head = NewNode(1, 5, 59, 3, StepWaiting);
    count = 1;
}

CStep_Data::~CStep_Data() { Clear(); }

void CStep_Data::Report(ListDiagnostic diagnostic) const {
    sink_->ShowDiagnostic(DiagnosticText(diagnostic));
}

StepNode* CStep_Data::NewNode(uint32_t index, int32_t fan, int32_t time, int32_t heat, uint32_t status) {
    return new StepNode{index, fan, time, heat, status, nullptr};
}

uint32_t CStep_Data::Renumber() {
    uint32_t walked = 0;
    for (StepNode* p = head; p && walked < kWalkLimit; p = p->next) p->index = ++walked;
    if (walked > count) {
        Report(ListDiagnostic::AddressError);
        return 0;
    }
    count = walked;
    return walked;
}

void CStep_Data::ToArray(StepNode** out) const {
    StepNode* p = head;
    for (uint32_t i = 0; i < count && p; ++i, p = p->next) out[i] = p;
}

bool CStep_Data::GetStep(uint32_t index, StepNode& out) const {
    uint32_t looked = 0;
    for (const StepNode* p = head; p && looked <= index; p = p->next, ++looked) {
        if (p->index == index) {
            out.index = p->index;
            out.fan = p->fan;
            out.time = p->time;
            out.heat = p->heat;
            out.status = p->status;
            return true;
        }
    }
    return false;
}

bool CStep_Data::UpdateStep(uint32_t index, int32_t fan, int32_t time, int32_t heat, uint32_t status) {
    uint32_t looked = 0;
    for (StepNode* p = head; p && looked <= index; p = p->next, ++looked) {
        if (p->index == index) {
            if (fan != KEEP_VALUE) p->fan = fan;
            if (time != KEEP_VALUE) p->time = time;
            if (heat != KEEP_VALUE) p->heat = heat;
            if (status != static_cast<uint32_t>(KEEP_VALUE)) p->status = status;
            return true;
        }
    }
    return false;
}

StepNode* CStep_Data::WalkToPredecessor(uint32_t position) const {
    StepNode* p = head;
    for (uint32_t i = 1;; ++i) {
        if (!p) {
            Report(ListDiagnostic::InsertLookupError);
            return nullptr;
        }
        if (i == position - 1) return p;
        if (i >= count) {
            Report(ListDiagnostic::InsertWalkTooFar);
            return nullptr;
        }
        p = p->next;
    }
}

StepNode* CStep_Data::InsertStep(uint32_t position, int32_t fan, int32_t time, int32_t heat, uint32_t status) {
    if (position <= 1) {
        StepNode* node = NewNode(1, fan, time, heat, status);
        node->next = head;
        head = node;
        RaiseIndicesAfter(node);
        ++count;
        return node;
    }
    if (position - 1 > count) {
        Report(ListDiagnostic::InsertOutOfBounds);
        return nullptr;
    }
    StepNode* before = WalkToPredecessor(position);
    if (!before) return nullptr;
    StepNode* node = NewNode(position, fan, time, heat, status);
    node->next = before->next;
    before->next = node;
    RaiseIndicesAfter(node);
    ++count;
    return node;
}

void CStep_Data::DeleteStep(uint32_t position) {
    if (position == 0 || position > count) {
        Report(ListDiagnostic::DeleteOutOfBounds);
        return;
    }
    if (count <= 1) {
        Report(ListDiagnostic::CannotDeleteOnly);
        return;
    }
    StepNode* victim = nullptr;
    if (position == 1) {
        victim = head;
        if (!victim) {
            Report(ListDiagnostic::InsertLookupError);
            return;
        }
        head = victim->next;
    } else {
        StepNode* before = WalkToPredecessor(position);
        if (!before) return;
        victim = before->next;
        if (!victim) {
            Report(ListDiagnostic::InsertLookupError);
            return;
        }
        before->next = victim->next;
    }
    LowerIndicesFrom(victim->next);
    delete victim;
    --count;
}

void CStep_Data::Clear() {
    StepNode* p = head;
    for (uint32_t walked = 0; p && walked < kWalkLimit; ++walked) {
        StepNode* next = p->next;
        delete p;
        p = next;
    }
    head = nullptr;
    count = 0;
}

void CStep_Data::CopyFrom(const StepNode* first) {
    if (!first) return;
    // Take the values before clearing: the source may be this list's chain.
    std::vector<StepNode> source;
    for (const StepNode* p = first; p && source.size() < kWalkLimit; p = p->next) source.push_back(*p);

    Clear();
    head = NewNode(1, 5, 59, 3, StepWaiting);
    count = 1;
    if (source.front().index > 1) {
        Report(ListDiagnostic::InsertOutOfBounds);
    } else {
        const StepNode& s = source.front();
        UpdateStep(1, s.fan, s.time, s.heat, s.status);
    }
    for (size_t i = 1; i < source.size(); ++i) {
        const StepNode& r = source[i];
        InsertStep(r.index, r.fan, r.time, r.heat, r.status);
    }
}

void CStep_Data::SetDefaultProfile() {
    Clear();
    head = NewNode(1, 5, 59, 3, StepWaiting);
    count = 1;
    InsertStep(2, 5, 30, 0, CoolWaiting);
}
