// The programmers attached to this PC, for choosing one of several.
#pragma once

#include <string>
#include <vector>

#include "device_filter.h"
#include "usb_backend.h"

namespace morsk {

struct ProgrammerPort {
    UsbDeviceInfo device;
    bool canOpen = false;
    int openError = 0;  // the library's code when it could not be opened
};

// Every programmer in bus order, each opened once and closed again to see
// whether this user may use it. False, with the reason, when the bus cannot
// be read.
bool ListProgrammers(UsbBackend& backend, std::vector<ProgrammerPort>& out, std::string& error);

// The first programmer the filter lets through, as the link would take it.
bool FindProgrammer(UsbBackend& backend, const DeviceFilter& filter, UsbDeviceInfo& out);

}  // namespace morsk
