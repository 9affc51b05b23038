// The real bus through libusb-1.0. Only the two programs and the
// end-to-end tests (which run it inside an emulated bus) link it; the
// unit tests cannot reach a programmer because they do not have it.
#pragma once

#include <functional>
#include <memory>

#include "usb_backend.h"

struct libusb_context;
struct libusb_device;

namespace morsk {

class LibusbBackend final : public UsbBackend {
public:
    LibusbBackend() = default;
    ~LibusbBackend() override;
    LibusbBackend(const LibusbBackend&) = delete;
    LibusbBackend& operator=(const LibusbBackend&) = delete;

    int Init() override;
    int ScanBuses(std::vector<UsbBus>& buses) override;
    int Open(const UsbDeviceInfo& device, UsbHandle* handle) override;
    void Close(UsbHandle handle) override;
    int ControlTransfer(UsbHandle handle, uint8_t requestType, uint8_t request, uint16_t value,
                        uint16_t index, uint8_t* data, uint16_t length, unsigned timeoutMs) override;

private:
    void FreeList();
    libusb_context* context_ = nullptr;
    libusb_device** list_ = nullptr;
    long listSize_ = 0;
};

// For ProgrammerOptions::realBackend.
std::unique_ptr<UsbBackend> MakeLibusbBackend();

}  // namespace morsk
