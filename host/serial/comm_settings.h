// The serial control's settings string, such as "9600,n,8,1": baud rate,
// parity (n, e, o, m, s), data bits (5..8) and stop bits (1, 1.5, 2).
#pragma once

#include <optional>
#include <string>

struct CommSettings {
    enum class Parity { None, Even, Odd, Mark, Space };
    enum class StopBits { One, OneAndHalf, Two };

    int baud = 9600;
    Parity parity = Parity::None;
    int data_bits = 8;
    StopBits stop_bits = StopBits::One;
};

// Empty when the text is not a valid settings string.
std::optional<CommSettings> ParseCommSettings(const std::string& text);
