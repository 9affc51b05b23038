// The one seam to a USB bus. LibusbBackend drives real hardware; the
// virtual programmer of sim/ stands in for it everywhere else.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace morsk {

struct UsbDeviceInfo {
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint64_t key = 0;  // the backend's own reference to the device
};

// One bus with its devices, in the order the library lists them.
using UsbBus = std::vector<UsbDeviceInfo>;

using UsbHandle = uint64_t;  // 0 is never a valid handle

class UsbBackend {
public:
    virtual ~UsbBackend() = default;
    // Called once per process before the first scan.
    virtual int Init() = 0;
    virtual std::vector<UsbBus> ScanBuses() = 0;
    // 0 and a handle, or a negative library error code.
    virtual int Open(const UsbDeviceInfo& device, UsbHandle* handle) = 0;
    virtual void Close(UsbHandle handle) = 0;
    // Bytes moved, or a negative library error code.
    virtual int ControlTransfer(UsbHandle handle, uint8_t requestType, uint8_t request,
                                uint16_t value, uint16_t index, uint8_t* data, uint16_t length,
                                unsigned timeoutMs) = 0;
    virtual std::string ErrorText(int code) = 0;
};

// Library error codes that the backends report (the values of libusb-1.0).
enum UsbError : int {
    kUsbErrorIo = -1,
    kUsbErrorAccess = -3,
    kUsbErrorNoDevice = -4,
    kUsbErrorTimeout = -7,
    kUsbErrorPipe = -9,
};

}  // namespace morsk
