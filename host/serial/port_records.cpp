#include "port_records.h"

#include <algorithm>

namespace {
std::string LastPathPart(const std::string& path) {
    // /dev/pts/3 names itself pts/3, as QSerialPortInfo does; other paths
    // are named by their last component.
    const std::string dev = "/dev/";
    if (path.compare(0, dev.size(), dev) == 0) return path.substr(dev.size());
    const auto slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

SSerInfo BridgeRecord(const std::string& device_path, const std::string& port_name, bool usb) {
    return SSerInfo{device_path, port_name, kBridgeDescription + " (" + port_name + ")", usb, kBridgeDescription};
}
}  // namespace

bool IsRoasterBridge(const SystemPort& port) {
    if (!port.has_usb_ids || port.vendor_id != kBridgeVendorId) return false;
    return std::find(std::begin(kBridgeProductIds), std::end(kBridgeProductIds), port.product_id) !=
           std::end(kBridgeProductIds);
}

SSerInfo RecordOf(const SystemPort& port) {
    if (IsRoasterBridge(port)) return BridgeRecord(port.system_location, port.port_name, true);
    SSerInfo record;
    record.device_path = port.system_location;
    record.port_name = port.port_name;
    if (!port.description.empty()) record.friendly_name = port.description + " (" + port.port_name + ")";
    record.usb = port.has_usb_ids;
    record.description = port.description;
    return record;
}

SSerInfo ForcedRecord(const std::string& device_path) {
    return BridgeRecord(device_path, LastPathPart(device_path), false);
}

void CleanUpPortRecords(std::vector<SSerInfo>& records) {
    for (SSerInfo& r : records) {
        if (r.friendly_name.empty()) r.friendly_name = r.port_name;
        if (!r.description.empty()) continue;
        r.description = r.friendly_name;
        const auto open = r.description.find(" (");
        const auto close = r.description.find(')');
        if (open != std::string::npos && open > 0 && close == r.description.size() - 1)
            r.description.erase(open);
    }
}

void BuildPortList(const std::vector<SystemPort>& system, const std::optional<std::string>& forced_device,
                   std::vector<SSerInfo>& out) {
    out.clear();
    if (forced_device) out.push_back(ForcedRecord(*forced_device));
    for (const SystemPort& port : system) {
        if (forced_device && (port.system_location == *forced_device || port.port_name == *forced_device)) continue;
        out.push_back(RecordOf(port));
    }
    CleanUpPortRecords(out);
}
