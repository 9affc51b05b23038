#include "libusb_backend.h"

#include <libusb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>

namespace morsk {

std::unique_ptr<UsbBackend> MakeLibusbBackend()
{
    return std::make_unique<LibusbBackend>();
}

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
    const int rc = libusb_init(&context_);
    if (rc != 0)
        context_ = nullptr;
    return rc;
}

void LibusbBackend::FreeList()
{
    if (list_)
        libusb_free_device_list(list_, 1);
    list_ = nullptr;
    listSize_ = 0;
}

int LibusbBackend::ScanBuses(std::vector<UsbBus>& buses)
{
    FreeList();
    buses.clear();
    if (!context_)
        return LIBUSB_ERROR_OTHER;
    const ssize_t n = libusb_get_device_list(context_, &list_);
    if (n < 0) {
        list_ = nullptr;
        return static_cast<int>(n);
    }
    listSize_ = n;
    // Bus by bus in ascending bus number, each bus in the library's order.
    std::map<uint8_t, UsbBus> byBus;
    for (ssize_t i = 0; i < n; ++i) {
        libusb_device_descriptor desc{};
        if (libusb_get_device_descriptor(list_[i], &desc) != 0)
            continue;
        const uint8_t bus = libusb_get_bus_number(list_[i]);
        std::string path = std::to_string(bus);
        uint8_t ports[8];
        const int depth = libusb_get_port_numbers(list_[i], ports, sizeof ports);
        for (int k = 0; k < depth; ++k) {
            path += k == 0 ? '-' : '.';
            path += std::to_string(ports[k]);
        }
        byBus[bus].push_back({desc.idVendor, desc.idProduct, static_cast<uint64_t>(i), bus,
                              libusb_get_device_address(list_[i]), path});
    }
    for (auto& [bus, devices] : byBus)
        buses.push_back(std::move(devices));
    return 0;
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

}  // namespace morsk
