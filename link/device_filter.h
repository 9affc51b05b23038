// One programmer among several on the bus.
#pragma once

#include <string>

#include "usb_backend.h"

namespace morsk {

// One programmer among several: by port path ("1-2.3") or by bus and
// address ("1:7"). Empty matches every device.
struct DeviceFilter {
    std::string portPath;
    int bus = -1;
    int address = -1;

    // "1-2.3" or "BUS:ADDR"; false for anything else.
    static bool Parse(const std::string& text, DeviceFilter& out);
    bool Matches(const UsbDeviceInfo& device) const;
    std::string Describe() const;
};

}  // namespace morsk
