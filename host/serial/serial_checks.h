// The checks a serial control makes before it changes a property or
// writes, shared by the real control (CMscomm1) and the simulated roaster's
// loopback, so both refuse the same things with the same words. Each
// throws SerialError.
#pragma once

#include <cstddef>

namespace serialcheck {
// In- and output buffer sizes: set while the port is closed, above 0.
void BufferSize(bool port_open, int bytes);
void InputLen(int bytes);
void InputMode(int mode);
void Threshold(int bytes);
// OutBufferCount: only 0 (discard), on an open port.
void OutBufferCount(bool port_open, int bytes);
// A write: on an open port, no larger than the output buffer.
void Output(bool port_open, std::size_t bytes, int out_buffer_size);
// Reading: on an open port.
void Input(bool port_open);
}  // namespace serialcheck
