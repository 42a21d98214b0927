#include "port_list_errors.h"

#include <cstdio>

std::string FormatPortListError(const char* text, unsigned long code) {
    std::string out(text);
    const auto at = out.find("%lx");
    if (at == std::string::npos) return out;
    char hex[2 * sizeof(unsigned long) + 1];
    std::snprintf(hex, sizeof hex, "%lx", code);
    out.replace(at, 3, hex);
    return out;
}
