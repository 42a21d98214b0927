#include "roast_clock.h"

#include <cstdio>
#include <cstdlib>

std::string IsoDateTime(const LocalDateTime& t) {
    const int offset = std::abs(t.utc_offset_minutes);
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d%c%02d:%02d", t.year, t.month, t.day, t.hour,
                  t.minute, t.second, t.utc_offset_minutes < 0 ? '-' : '+', offset / 60, offset % 60);
    return text;
}
