#pragma once

#include "usb_backend.h"

struct libusb_context;
struct libusb_device;

namespace morsk {

class LibusbBackend final : public UsbBackend {
public:
    // Aborts when the environment says MORSK_USB=none (the test suites set
    // it so that no test can ever reach a programmer on this machine's bus),
    // or MORSK_USB=umockdev outside an emulated bus.
    LibusbBackend();
    ~LibusbBackend() override;
    LibusbBackend(const LibusbBackend&) = delete;
    LibusbBackend& operator=(const LibusbBackend&) = delete;

    int Init() override;
    int ScanBuses(std::vector<UsbBus>& buses) override;
    int Open(const UsbDeviceInfo& device, UsbHandle* handle) override;
    void Close(UsbHandle handle) override;
    int ControlTransfer(UsbHandle handle, uint8_t requestType, uint8_t request, uint16_t value,
                        uint16_t index, uint8_t* data, uint16_t length, unsigned timeoutMs) override;

    // How many were ever constructed in this process.
    static int Constructed();

private:
    void FreeList();
    libusb_context* context_ = nullptr;
    libusb_device** list_ = nullptr;
    long listSize_ = 0;
};

// True when the environment forbids the real bus.
bool RealUsbForbidden();

}  // namespace morsk
