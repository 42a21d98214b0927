// Port discovery on the platform: the serial ports QSerialPortInfo finds,
// with the roaster's CH340/CH341 bridge listed as "USB-SERIAL CH341A".
// A device the user named (the --port option) is listed first as the
// bridge while it exists.
#pragma once

#include <optional>
#include <string>

#include "port_lister.h"

class SerialPortLister : public PortLister {
public:
    explicit SerialPortLister(std::optional<std::string> forced_device = std::nullopt)
        : forced_device_(std::move(forced_device)) {}

    void ListSerialPorts(std::vector<SSerInfo>& ports) override;

private:
    std::optional<std::string> forced_device_;
};
