#include "usb_transport.h"
#include "text_util.h"

#include <chrono>
#include <cstring>
#include <thread>

namespace morsk {

void SleepMilliseconds(unsigned ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

int UsbTransport::OpenLink()
{
    if (!state_.backend)
        return state_.handleHeld ? kOpenHeld : kOpenNoDevice;
    UsbBackend& usb = *state_.backend;
    if (!state_.libraryInitialised) {
        state_.libraryInitialised = true;
        usb.Init();
    }
    const std::vector<UsbBus> buses = usb.ScanBuses();
    int result = kOpenNoDevice;
    for (const UsbBus& bus : buses) {
        for (const UsbDeviceInfo& device : bus) {
            if (device.vendorId != kProgrammerVendorId || device.productId != kProgrammerProductId)
                continue;
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
            state_.diagnostics->Write(
                Format("Warning: cannot open USB device: %s\n", usb.ErrorText(rc).c_str()));
            state_.diagnostics->Write(kUdevHint);
            state_.notifier->ShowMessage("Could not open USB device", "", MessageIcon::None);
        }
        if (state_.handleHeld)
            return kOpenHeld;
    }
    return state_.handleHeld ? kOpenHeld : result;
}

int UsbTransport::EnsureLinkOpen()
{
    const bool heldBefore = state_.handleHeld;
    const int rc = OpenLink();
    if (rc == kOpenHeld && !heldBefore)
        Connect();
    return rc;
}

int UsbTransport::ControlTransfer(int direction, uint8_t request, const uint8_t setup[4],
                                  uint8_t* data, uint16_t length)
{
    if (!state_.backend || !state_.handleHeld)
        return kUsbErrorNoDevice;
    const uint8_t requestType = static_cast<uint8_t>(0x40 | (direction << 7));
    const uint16_t value = static_cast<uint16_t>(setup[0] | (setup[1] << 8));
    const uint16_t index = static_cast<uint16_t>(setup[2] | (setup[3] << 8));
    return state_.backend->ControlTransfer(state_.handle, requestType, request, value, index, data,
                                           length, kTransferTimeoutMs);
}

int UsbTransport::Connect()
{
    const uint8_t setup[4] = {0x02, 0x00, state_.linkOption, profile_.family};
    uint8_t answer[4] = {};
    ControlTransfer(1, kRequestConnect, setup, answer, 4);
    return 1;
}

int UsbTransport::Disconnect()
{
    const uint8_t setup[4] = {0x02, 0x00, 0x00, 0x00};
    uint8_t answer[4] = {};
    ControlTransfer(1, kRequestDisconnect, setup, answer, 4);
    return 1;
}

int UsbTransport::SelectFamilyMode(uint8_t request)
{
    const uint8_t setup[4] = {};
    uint8_t answer[4] = {};
    ControlTransfer(1, request, setup, answer, 4);
    return 1;
}

int UsbTransport::EnableProgramming()
{
    const uint8_t setup[4] = {0x02, profile_.family, 0x00, 0x00};
    uint8_t answer[4] = {};
    // Only bytes that really arrived count; a library error is a failure.
    return ControlTransfer(1, kRequestEnable, setup, answer, 4) > 0 ? 1 : 0;
}

int UsbTransport::SpiTransfer(const uint8_t instruction[4], uint8_t reply[4])
{
    uint8_t setup[4];
    std::memcpy(setup, instruction, 4);
    return ControlTransfer(1, kRequestSpi, setup, reply, 4) == 4 ? 0 : -1;
}

}  // namespace morsk
