// The texts a failed port listing reports. The Windows listing methods use
// them (the device-interface method and the registry method); %lx stands
// for the system's error code in lower-case hexadecimal.
#pragma once

#include <string>

namespace port_list_error {
inline const char* const kOsVersion = "Could not get OS version. (err=%lx)";
inline const char* const kClassDevs = "SetupDiGetClassDevs failed. (err=%lx)";
inline const char* const kEnumInterfaces = "SetupDiEnumDeviceInterfaces failed. (err=%lx)";
inline const char* const kInterfaceDetail = "SetupDiGetDeviceInterfaceDetail failed. (err=%lx)";
inline const char* const kEnumKey = "Could not read from HKLM\\Enum";
inline const char* const kEnumSubkey = "Could not read from HKLM\\Enum\\";  // + bus [+ "\" + device]
inline const char* const kInstanceKey = "Could not read from HKLM\\Enum\\...\\";  // + instance
}  // namespace port_list_error

// `text` with its %lx replaced by `code` in lower-case hexadecimal.
std::string FormatPortListError(const char* text, unsigned long code);
