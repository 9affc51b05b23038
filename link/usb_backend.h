// The one seam to a USB bus. LibusbBackend drives real hardware; the
// virtual programmer of sim/ stands in for it everywhere else.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace morsk {

inline constexpr uint16_t kProgrammerVendorId = 0x16C0;
inline constexpr uint16_t kProgrammerProductId = 0x05DC;

struct UsbDeviceInfo {
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint64_t key = 0;  // the backend's own reference to the device
    uint8_t busNumber = 0;
    uint8_t address = 0;
    // "1-2.3": the bus and the port numbers from the root, as the kernel
    // names them; it stays when the device is plugged into the same socket.
    std::string portPath;
};

inline bool IsProgrammer(const UsbDeviceInfo& device)
{
    return device.vendorId == kProgrammerVendorId && device.productId == kProgrammerProductId;
}

// One bus with its devices, in the order the library lists them.
using UsbBus = std::vector<UsbDeviceInfo>;

using UsbHandle = uint64_t;  // 0 is never a valid handle

class UsbBackend {
public:
    virtual ~UsbBackend() = default;
    // Called until it succeeds, before the first scan. 0 or a library error.
    virtual int Init() = 0;
    // 0 and the buses, or a negative library error code (buses then empty).
    virtual int ScanBuses(std::vector<UsbBus>& buses) = 0;
    // 0 and a handle, or a negative library error code.
    virtual int Open(const UsbDeviceInfo& device, UsbHandle* handle) = 0;
    virtual void Close(UsbHandle handle) = 0;
    // Bytes moved, or a negative library error code.
    virtual int ControlTransfer(UsbHandle handle, uint8_t requestType, uint8_t request,
                                uint16_t value, uint16_t index, uint8_t* data, uint16_t length,
                                unsigned timeoutMs) = 0;
};

// Library error codes that the backends report (the values of libusb-1.0).
enum UsbError : int {
    kUsbErrorIo = -1,
    kUsbErrorAccess = -3,
    kUsbErrorNoDevice = -4,
    kUsbErrorTimeout = -7,
    kUsbErrorPipe = -9,
    kUsbErrorNoMemory = -11,
    kUsbErrorOther = -99,
};

// The library's own text for an error code: the one place where codes
// become words, for every backend.
std::string UsbErrorText(int code);

}  // namespace morsk
