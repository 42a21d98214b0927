#include "serial_port_lister.h"

#include <QFileInfo>
#include <QSerialPortInfo>

#include "port_records.h"

void SerialPortLister::ListSerialPorts(std::vector<SSerInfo>& ports) {
    std::vector<SystemPort> system;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        SystemPort port;
        port.system_location = info.systemLocation().toStdString();
        port.port_name = info.portName().toStdString();
        port.description = info.description().toStdString();
        port.has_usb_ids = info.hasVendorIdentifier() && info.hasProductIdentifier();
        port.vendor_id = info.vendorIdentifier();
        port.product_id = info.productIdentifier();
        system.push_back(std::move(port));
    }
    std::optional<std::string> forced;
    if (forced_device_) {
        // A device node on Linux; on Windows a COM port exists only as a
        // listed port, named by its port name or its location.
        bool exists = QFileInfo::exists(QString::fromStdString(*forced_device_));
        for (const SystemPort& port : system)
            exists = exists || port.system_location == *forced_device_ || port.port_name == *forced_device_;
        if (exists) forced = forced_device_;
    }
    BuildPortList(system, forced, ports);
}
