#include "usb_transport.h"
#include "text_util.h"

#include <cstring>

namespace morsk {

std::string AccessDeniedHint(const UsbDeviceInfo& device)
{
    return Format("Permission denied: this user may not open the programmer %04x:%04x on bus %03u, "
                  "address %03u. Install the udev rule data/60-morsk-programmer.rules as the README "
                  "section \"Access to the programmer without root\" shows, then plug the "
                  "programmer in again.\n",
                  device.vendorId, device.productId, device.busNumber, device.address);
}

OpenResult UsbTransport::OpenLink()
{
    const OpenResult noneFound = state_.handleHeld ? kOpenHeld : kOpenNoDevice;
    if (!state_.backend)
        return noneFound;
    UsbBackend& usb = *state_.backend;
    if (!state_.libraryInitialised) {
        // Marked only once it worked, so that the next open tries again.
        const int rc = usb.Init();
        if (rc != 0) {
            Diagnose(Format("Warning: cannot initialise the USB library: %s\n", UsbErrorText(rc).c_str()));
            return noneFound;
        }
        state_.libraryInitialised = true;
    }
    std::vector<UsbBus> buses;
    if (const int rc = usb.ScanBuses(buses); rc != 0) {
        Diagnose(Format("Warning: cannot list USB devices: %s\n", UsbErrorText(rc).c_str()));
        return noneFound;
    }
    OpenResult result = kOpenNoDevice;
    bool seen = false;
    for (const UsbBus& bus : buses) {
        for (const UsbDeviceInfo& device : bus) {
            if (!IsProgrammer(device) || !state_.filter.Matches(device))
                continue;
            seen = true;
            // The new handle replaces the old one, which is closed so that
            // a long production run does not use up file descriptors.
            UsbHandle handle = 0;
            const int rc = usb.Open(device, &handle);
            if (state_.handleHeld)
                usb.Close(state_.handle);
            state_.handleHeld = rc == 0;
            state_.handle = rc == 0 ? handle : 0;
            if (state_.handleHeld)
                return kOpenHeld;
            result = kOpenFailed;
            Diagnose(Format("Warning: cannot open USB device: %s\n", UsbErrorText(rc).c_str()));
            if (rc == kUsbErrorAccess)
                Diagnose(AccessDeniedHint(device));
            state_.notifier->ShowMessage("Could not open USB device", "", MessageIcon::None);
        }
        if (state_.handleHeld)
            return kOpenHeld;
    }
    if (!seen && !state_.handleHeld) {
        if (state_.filter.portPath.empty() && state_.filter.bus < 0)
            Diagnose(Format("Warning: no programmer (USB %04x:%04x) found: is it plugged in?\n", kProgrammerVendorId,
                            kProgrammerProductId));
        else
            Diagnose("Warning: no programmer on " + state_.filter.Describe() + "\n");
    }
    return state_.handleHeld ? kOpenHeld : result;
}

OpenResult UsbTransport::EnsureLinkOpen()
{
    const bool heldBefore = state_.handleHeld;
    const OpenResult rc = OpenLink();
    if (rc == kOpenHeld && !heldBefore)
        Connect();
    return rc;
}

int UsbTransport::ControlTransfer(TransferDirection direction, uint8_t request, const uint8_t setup[4],
                                  uint8_t* data, uint16_t length)
{
    if (!state_.backend || !state_.handleHeld)
        return kUsbErrorNoDevice;
    const uint8_t requestType = direction == TransferDirection::In ? kVendorIn : kVendorOut;
    const uint16_t value = static_cast<uint16_t>(setup[0] | (setup[1] << 8));
    const uint16_t index = static_cast<uint16_t>(setup[2] | (setup[3] << 8));
    return state_.backend->ControlTransfer(state_.handle, requestType, request, value, index, data,
                                           length, state_.transferTimeoutMs);
}

void UsbTransport::FramingRequest(uint8_t request, const uint8_t setup[4])
{
    uint8_t answer[4] = {};
    const int rc = ControlTransfer(TransferDirection::In, request, setup, answer, 4);
    if (rc < 0)
        Diagnose(Format("Warning: USB request %u failed: %s\n", request, UsbErrorText(rc).c_str()));
}

int UsbTransport::Connect()
{
    const uint8_t setup[4] = {0x02, 0x00, state_.linkOption, profile_.family};
    FramingRequest(kRequestConnect, setup);
    return 1;
}

int UsbTransport::Disconnect()
{
    const uint8_t setup[4] = {0x02, 0x00, 0x00, 0x00};
    FramingRequest(kRequestDisconnect, setup);
    return 1;
}

int UsbTransport::SelectFamilyMode(uint8_t request)
{
    const uint8_t setup[4] = {};
    FramingRequest(request, setup);
    return 1;
}

int UsbTransport::EnableProgramming()
{
    const uint8_t setup[4] = {0x02, profile_.family, 0x00, 0x00};
    uint8_t answer[4] = {};
    // Only bytes that really arrived count; a library error is a failure.
    return ControlTransfer(TransferDirection::In, kRequestEnable, setup, answer, 4) > 0 ? 1 : 0;
}

int UsbTransport::SpiTransfer(const uint8_t instruction[4], uint8_t reply[4])
{
    uint8_t setup[4];
    std::memcpy(setup, instruction, 4);
    return ControlTransfer(TransferDirection::In, kRequestSpi, setup, reply, 4) == 4 ? 0 : -1;
}

}  // namespace morsk
