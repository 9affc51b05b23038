#pragma once

#include "usb_backend.h"

struct libusb_context;
struct libusb_device;

namespace morsk {

class LibusbBackend : public UsbBackend {
public:
    LibusbBackend() = default;
    ~LibusbBackend() override;
    LibusbBackend(const LibusbBackend&) = delete;
    LibusbBackend& operator=(const LibusbBackend&) = delete;

    int Init() override;
    std::vector<UsbBus> ScanBuses() override;
    int Open(const UsbDeviceInfo& device, UsbHandle* handle) override;
    void Close(UsbHandle handle) override;
    int ControlTransfer(UsbHandle handle, uint8_t requestType, uint8_t request, uint16_t value,
                        uint16_t index, uint8_t* data, uint16_t length, unsigned timeoutMs) override;
    std::string ErrorText(int code) override;

private:
    void FreeList();
    libusb_context* context_ = nullptr;
    libusb_device** list_ = nullptr;
    long listSize_ = 0;
};

}  // namespace morsk
