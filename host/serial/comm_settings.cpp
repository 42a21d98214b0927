#include "comm_settings.h"

#include <cctype>
#include <sstream>
#include <vector>

namespace {
std::vector<std::string> SplitFields(const std::string& text) {
    std::vector<std::string> fields;
    std::stringstream in(text);
    std::string field;
    while (std::getline(in, field, ',')) fields.push_back(field);
    if (!text.empty() && text.back() == ',') fields.emplace_back();
    return fields;
}

bool AllDigits(const std::string& s) {
    if (s.empty() || s.size() > 7) return false;
    for (char ch : s)
        if (!std::isdigit(static_cast<unsigned char>(ch))) return false;
    return true;
}
}  // namespace

std::optional<CommSettings> ParseCommSettings(const std::string& text) {
    const std::vector<std::string> f = SplitFields(text);
    if (f.size() != 4 || !AllDigits(f[0]) || f[1].size() != 1) return std::nullopt;

    CommSettings s;
    s.baud = std::stoi(f[0]);
    if (s.baud <= 0) return std::nullopt;
    switch (std::tolower(static_cast<unsigned char>(f[1][0]))) {
    case 'n': s.parity = CommSettings::Parity::None; break;
    case 'e': s.parity = CommSettings::Parity::Even; break;
    case 'o': s.parity = CommSettings::Parity::Odd; break;
    case 'm': s.parity = CommSettings::Parity::Mark; break;
    case 's': s.parity = CommSettings::Parity::Space; break;
    default: return std::nullopt;
    }
    if (f[2].size() != 1 || f[2][0] < '5' || f[2][0] > '8') return std::nullopt;
    s.data_bits = f[2][0] - '0';
    if (f[3] == "1")
        s.stop_bits = CommSettings::StopBits::One;
    else if (f[3] == "1.5")
        s.stop_bits = CommSettings::StopBits::OneAndHalf;
    else if (f[3] == "2")
        s.stop_bits = CommSettings::StopBits::Two;
    else
        return std::nullopt;
    return s;
}
