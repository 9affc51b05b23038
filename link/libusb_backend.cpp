#include "libusb_backend.h"

#include <libusb.h>

#include <map>

namespace morsk {

LibusbBackend::~LibusbBackend()
{
    FreeList();
    if (context_)
        libusb_exit(context_);
}

int LibusbBackend::Init()
{
    if (context_)
        return 0;
    return libusb_init(&context_);
}

void LibusbBackend::FreeList()
{
    if (list_)
        libusb_free_device_list(list_, 1);
    list_ = nullptr;
    listSize_ = 0;
}

std::vector<UsbBus> LibusbBackend::ScanBuses()
{
    FreeList();
    std::vector<UsbBus> buses;
    if (!context_)
        return buses;
    const ssize_t n = libusb_get_device_list(context_, &list_);
    if (n < 0) {
        list_ = nullptr;
        return buses;
    }
    listSize_ = n;
    // Bus by bus in ascending bus number, each bus in the library's order.
    std::map<uint8_t, UsbBus> byBus;
    for (ssize_t i = 0; i < n; ++i) {
        libusb_device_descriptor desc{};
        if (libusb_get_device_descriptor(list_[i], &desc) != 0)
            continue;
        byBus[libusb_get_bus_number(list_[i])].push_back(
            {desc.idVendor, desc.idProduct, static_cast<uint64_t>(i)});
    }
    for (auto& [bus, devices] : byBus)
        buses.push_back(std::move(devices));
    return buses;
}

int LibusbBackend::Open(const UsbDeviceInfo& device, UsbHandle* handle)
{
    if (!list_ || device.key >= static_cast<uint64_t>(listSize_))
        return LIBUSB_ERROR_NO_DEVICE;
    libusb_device_handle* h = nullptr;
    const int rc = libusb_open(list_[device.key], &h);
    if (rc != 0)
        return rc;
    *handle = reinterpret_cast<UsbHandle>(h);
    return 0;
}

void LibusbBackend::Close(UsbHandle handle)
{
    if (handle)
        libusb_close(reinterpret_cast<libusb_device_handle*>(handle));
}

int LibusbBackend::ControlTransfer(UsbHandle handle, uint8_t requestType, uint8_t request,
                                   uint16_t value, uint16_t index, uint8_t* data, uint16_t length,
                                   unsigned timeoutMs)
{
    if (!handle)
        return LIBUSB_ERROR_NO_DEVICE;
    return libusb_control_transfer(reinterpret_cast<libusb_device_handle*>(handle), requestType,
                                   request, value, index, data, length, timeoutMs);
}

std::string LibusbBackend::ErrorText(int code)
{
    return libusb_strerror(code);
}

}  // namespace morsk
