#include "programmer_ports.h"

namespace morsk {
namespace {

bool Scan(UsbBackend& backend, std::vector<UsbBus>& buses, std::string& error)
{
    if (const int rc = backend.Init(); rc != 0) {
        error = "cannot initialise the USB library: " + UsbErrorText(rc);
        return false;
    }
    if (const int rc = backend.ScanBuses(buses); rc != 0) {
        error = "cannot list USB devices: " + UsbErrorText(rc);
        return false;
    }
    return true;
}

}  // namespace

bool ListProgrammers(UsbBackend& backend, std::vector<ProgrammerPort>& out, std::string& error)
{
    out.clear();
    std::vector<UsbBus> buses;
    if (!Scan(backend, buses, error))
        return false;
    for (const UsbBus& bus : buses) {
        for (const UsbDeviceInfo& device : bus) {
            if (!IsProgrammer(device))
                continue;
            UsbHandle handle = 0;
            const int rc = backend.Open(device, &handle);
            if (rc == 0)
                backend.Close(handle);
            out.push_back({device, rc == 0, rc});
        }
    }
    return true;
}

bool FindProgrammer(UsbBackend& backend, const DeviceFilter& filter, UsbDeviceInfo& out)
{
    std::vector<UsbBus> buses;
    std::string error;
    if (!Scan(backend, buses, error))
        return false;
    for (const UsbBus& bus : buses)
        for (const UsbDeviceInfo& device : bus)
            if (IsProgrammer(device) && filter.Matches(device)) {
                out = device;
                return true;
            }
    return false;
}

}  // namespace morsk
