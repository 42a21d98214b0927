// One serial port found by port discovery.
#pragma once

#include <string>

struct SSerInfo {
    std::string device_path;    // what the link opens, such as /dev/ttyUSB0
    std::string port_name;      // such as ttyUSB0 or COM3; may be empty
    std::string friendly_name;  // such as USB-SERIAL CH341A (ttyUSB0)
    bool usb = false;           // the port sits on the USB bus
    std::string description;    // such as USB-SERIAL CH341A
};

// The description that marks the roaster's USB-to-serial bridge.
inline const std::string kBridgeDescription = "USB-SERIAL CH341A";
