#include "device_filter.h"

#include <cctype>
#include <cstdio>

namespace morsk {
namespace {

bool AllDigits(const std::string& s)
{
    if (s.empty() || s.size() > 3)
        return false;
    for (char c : s)
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return false;
    return true;
}

}  // namespace

bool DeviceFilter::Parse(const std::string& text, DeviceFilter& out)
{
    out = {};
    const size_t colon = text.find(':');
    if (colon != std::string::npos) {
        const std::string bus = text.substr(0, colon);
        const std::string address = text.substr(colon + 1);
        if (!AllDigits(bus) || !AllDigits(address))
            return false;
        out.bus = std::stoi(bus);
        out.address = std::stoi(address);
        return out.bus <= 255 && out.address <= 255;
    }
    // BUS-PORT[.PORT...], numbers only.
    const size_t dash = text.find('-');
    if (dash == std::string::npos || !AllDigits(text.substr(0, dash)))
        return false;
    std::string rest = text.substr(dash + 1);
    size_t from = 0;
    while (true) {
        const size_t dot = rest.find('.', from);
        if (!AllDigits(rest.substr(from, dot == std::string::npos ? std::string::npos : dot - from)))
            return false;
        if (dot == std::string::npos)
            break;
        from = dot + 1;
    }
    out.portPath = text;
    return true;
}

bool DeviceFilter::Matches(const UsbDeviceInfo& device) const
{
    if (!portPath.empty())
        return device.portPath == portPath;
    if (bus >= 0)
        return device.busNumber == bus && device.address == address;
    return true;
}

std::string DeviceFilter::Describe() const
{
    if (!portPath.empty())
        return "port " + portPath;
    if (bus >= 0) {
        char text[32];
        std::snprintf(text, sizeof text, "bus %03d, address %03d", bus, address);
        return text;
    }
    return "any port";
}

}  // namespace morsk
