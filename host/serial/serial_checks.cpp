#include "serial_checks.h"

#include "serial_control.h"

namespace serialcheck {

void BufferSize(bool port_open, int bytes) {
    if (port_open) throw SerialError("Operation not valid while the port is open");
    if (bytes <= 0) throw SerialError("Invalid buffer size");
}

void InputLen(int bytes) {
    if (bytes < 0) throw SerialError("Invalid input length");
}

void InputMode(int mode) {
    if (mode != 0 && mode != 1) throw SerialError("Invalid input mode");
}

void Threshold(int bytes) {
    if (bytes < 0) throw SerialError("Invalid receive threshold");
}

void OutBufferCount(bool port_open, int bytes) {
    if (bytes != 0) throw SerialError("OutBufferCount can only be set to 0");
    if (!port_open) throw SerialError("Port is not open");
}

void Output(bool port_open, std::size_t bytes, int out_buffer_size) {
    if (!port_open) throw SerialError("Port is not open");
    if (bytes > static_cast<std::size_t>(out_buffer_size)) throw SerialError("Output buffer overflow");
}

void Input(bool port_open) {
    if (!port_open) throw SerialError("Port is not open");
}

}  // namespace serialcheck
