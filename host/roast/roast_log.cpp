#include "roast_log.h"

#include <algorithm>

#include "controller_state.h"

std::string RoastLog::Get(const std::string& key) const {
    for (const RoastHeaderLine& line : header)
        if (line.key == key) return line.value;
    return {};
}

bool RoastLog::Has(const std::string& key) const {
    return std::any_of(header.begin(), header.end(), [&](const RoastHeaderLine& l) { return l.key == key; });
}

void RoastLog::Set(const std::string& key, const std::string& value) {
    for (RoastHeaderLine& line : header) {
        if (line.key == key) {
            line.value = value;
            return;
        }
    }
    header.push_back({key, value});
}

void RoastLog::Remove(const std::string& key) {
    header.erase(std::remove_if(header.begin(), header.end(), [&](const RoastHeaderLine& l) { return l.key == key; }),
                 header.end());
}

bool IsCoolingPhase(int32_t run_phase) { return run_phase == kCool || run_phase == kManualCool; }
