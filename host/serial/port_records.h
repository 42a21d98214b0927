// Port discovery without the platform: turning what the system reports
// about its serial ports into the records the link chooses from.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ser_info.h"

// One serial port as the system reports it.
struct SystemPort {
    std::string system_location;  // what opens it, such as /dev/ttyUSB0 or \\.\COM3
    std::string port_name;        // such as ttyUSB0 or COM3
    std::string description;      // the system's product or device text; may be empty
    bool has_usb_ids = false;     // vendor and product ids are known: a USB device
    uint16_t vendor_id = 0;
    uint16_t product_id = 0;
};

// The CH340/CH341 USB-to-serial bridge the roaster is built with.
constexpr uint16_t kBridgeVendorId = 0x1a86;
constexpr uint16_t kBridgeProductIds[] = {0x7523, 0x5523};

bool IsRoasterBridge(const SystemPort& port);

// The record of a system port: the bridge as "USB-SERIAL CH341A" with its
// port name in brackets; any other port with what the system reports.
SSerInfo RecordOf(const SystemPort& port);

// The record of a device the user named as the roaster's port.
SSerInfo ForcedRecord(const std::string& device_path);

// Fills missing names: an empty friendly name becomes the port name; an
// empty description becomes the friendly name, without a trailing
// " (...)" part when there is text before it.
void CleanUpPortRecords(std::vector<SSerInfo>& records);

// Empties `out`, then lists the forced device first (when given) and the
// system ports after it (leaving out a system port at the forced device's
// location or under its name), then runs the clean-up pass.
void BuildPortList(const std::vector<SystemPort>& system, const std::optional<std::string>& forced_device,
                   std::vector<SSerInfo>& out);
