// The saved roast a running roast follows: its bean temperature and fan
// over the seconds since its recording began, and where following ends,
// at its drop mark or where its heating ended, whichever comes first.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "roast_log.h"

class FollowTarget {
public:
    explicit FollowTarget(const RoastLog& background);

    // The background's bean temperature at `seconds` (none where it has no
    // reading, or past the end of following).
    std::optional<double> BeanAt(double seconds) const;
    // The fan the background ran at `seconds`; none where its file does
    // not say.
    std::optional<int32_t> FanAt(double seconds) const;

    // Following ends at these seconds; `ends_at_drop` tells a drop mark
    // from the end of the background's heating.
    double end_seconds() const { return end_seconds_; }
    bool ends_at_drop() const { return ends_at_drop_; }

    // The background's samples while it heated, up to the end of following.
    const std::vector<RoastSample>& heating() const { return log_.samples; }
    // How far apart the background's samples are a gap.
    double gap_seconds() const { return log_.gap_seconds; }

private:
    RoastLog log_;  // only the heating samples
    double end_seconds_ = 0;
    bool ends_at_drop_ = false;
};
