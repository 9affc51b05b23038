#include "usb_emulation.h"

#include <sys/ioctl.h>
#include <linux/usbdevice_fs.h>
#include <umockdev.h>

#include <cerrno>
#include <cstddef>
#include <cstring>
#include <deque>
#include <stdexcept>

namespace morsk::test {
namespace {

// Device descriptor and one configuration with one vendor interface.
constexpr char kDescriptorsHex[] =
    "12011001ff000008c016dc0500010102000109021200010100803209040000" "00ff000000";

}  // namespace

struct EmulatedProgrammer::Impl {
    EmulatedProgrammer* owner = nullptr;
    UMockdevTestbed* testbed = nullptr;
    UMockdevIoctlBase* handler = nullptr;
    UsbHandle handle = 0;
    uint64_t urbs = 0;
    uint64_t failAt = 0;
    UrbFault fault = UrbFault::None;
    uint64_t unplugAfter = 0;

    struct Pending {
        UMockdevIoctlData* urb;     // the client's usbdevfs_urb
        UMockdevIoctlData* buffer;  // setup packet and data stage
        int status;
        int actual;
        bool done;
    };
    std::deque<Pending> pending;

    static gboolean OnIoctl(UMockdevIoctlBase*, UMockdevIoctlClient* client, gpointer self)
    {
        return static_cast<Impl*>(self)->Handle(client);
    }

    bool Unplugged() const { return unplugAfter && urbs >= unplugAfter; }

    gboolean Handle(UMockdevIoctlClient* client)
    {
        std::lock_guard<std::mutex> lock(owner->mutex_);
        const gulong request = umockdev_ioctl_client_get_request(client);
        UMockdevIoctlData* arg = umockdev_ioctl_client_get_arg(client);
        GError* error = nullptr;
        // Unplugged: every new request fails, as the kernel's does; URBs
        // that completed before can still be reaped.
        const bool reap = request == USBDEVFS_REAPURBNDELAY || request == USBDEVFS_REAPURB;
        if (Unplugged() && !(reap && !pending.empty() && pending.front().done)) {
            umockdev_ioctl_client_complete(client, -1, ENODEV);
            return TRUE;
        }
        switch (request) {
        case USBDEVFS_GET_CAPABILITIES: {
            UMockdevIoctlData* caps = umockdev_ioctl_data_resolve(arg, 0, sizeof(uint32_t), &error);
            if (!caps)
                break;
            const uint32_t none = 0;
            std::memcpy(caps->data, &none, sizeof none);
            umockdev_ioctl_client_complete(client, 0, 0);
            return TRUE;
        }
        case USBDEVFS_SUBMITURB: {
            UMockdevIoctlData* urbData = umockdev_ioctl_data_resolve(arg, 0, sizeof(usbdevfs_urb), &error);
            if (!urbData)
                break;
            auto* urb = reinterpret_cast<usbdevfs_urb*>(urbData->data);
            if (urb->type != USBDEVFS_URB_TYPE_CONTROL || urb->buffer_length < 8) {
                umockdev_ioctl_client_complete(client, -1, EINVAL);
                return TRUE;
            }
            UMockdevIoctlData* buffer = umockdev_ioctl_data_resolve(
                urbData, offsetof(usbdevfs_urb, buffer), static_cast<gsize>(urb->buffer_length), &error);
            if (!buffer)
                break;
            ++urbs;
            Pending p{umockdev_ioctl_data_ref(urbData), umockdev_ioctl_data_ref(buffer), 0, 0, true};
            if (urbs == failAt && fault == UrbFault::Stall) {
                p.status = -EPIPE;
            } else if (urbs == failAt && fault == UrbFault::Hang) {
                p.done = false;  // until libusb gives up and discards it
            } else {
                Transfer(buffer->data, static_cast<size_t>(urb->buffer_length), p);
            }
            pending.push_back(p);
            umockdev_ioctl_client_complete(client, 0, 0);
            return TRUE;
        }
        case USBDEVFS_REAPURBNDELAY:
        case USBDEVFS_REAPURB: {
            if (pending.empty() || !pending.front().done) {
                umockdev_ioctl_client_complete(client, -1, EAGAIN);
                return TRUE;
            }
            // The argument points at the caller's URB pointer.
            UMockdevIoctlData* out = umockdev_ioctl_data_resolve(arg, 0, sizeof(void*), &error);
            if (!out)
                break;
            Pending p = pending.front();
            pending.pop_front();
            auto* urb = reinterpret_cast<usbdevfs_urb*>(p.urb->data);
            urb->status = p.status;
            urb->actual_length = p.actual;
            umockdev_ioctl_data_set_ptr(out, 0, p.urb);
            umockdev_ioctl_data_unref(p.buffer);
            umockdev_ioctl_data_unref(p.urb);
            umockdev_ioctl_client_complete(client, 0, 0);
            return TRUE;
        }
        case USBDEVFS_DISCARDURB:
            for (Pending& p : pending) {
                if (!p.done) {
                    p.done = true;
                    p.status = -ENOENT;
                }
            }
            umockdev_ioctl_client_complete(client, 0, 0);
            return TRUE;
        default:
            umockdev_ioctl_client_complete(client, -1, ENOTTY);
            return TRUE;
        }
        if (error)
            g_error_free(error);
        umockdev_ioctl_client_complete(client, -1, EFAULT);
        return TRUE;
    }

    // One control transfer through the virtual programmer's firmware.
    void Transfer(uint8_t* bytes, size_t size, Pending& p)
    {
        VirtualProgrammer& sim = owner->sim_;
        if (!handle) {
            std::vector<UsbBus> buses;
            sim.Init();
            sim.ScanBuses(buses);
            for (const UsbBus& bus : buses)
                for (const UsbDeviceInfo& d : bus)
                    if (IsProgrammer(d) && !handle && sim.Open(d, &handle) != 0)
                        handle = 0;
        }
        const uint8_t requestType = bytes[0];
        const uint8_t request = bytes[1];
        const uint16_t value = static_cast<uint16_t>(bytes[2] | bytes[3] << 8);
        const uint16_t index = static_cast<uint16_t>(bytes[4] | bytes[5] << 8);
        const uint16_t length = static_cast<uint16_t>(bytes[6] | bytes[7] << 8);
        if (8u + length > size) {
            p.status = -EOVERFLOW;
            return;
        }
        const int rc = sim.ControlTransfer(handle, requestType, request, value, index, bytes + 8, length, 0);
        if (rc < 0) {
            p.status = rc == kUsbErrorPipe ? -EPIPE : -EPROTO;
            return;
        }
        p.actual = rc;
    }
};

EmulatedProgrammer::EmulatedProgrammer(bool plugged) : impl_(std::make_unique<Impl>())
{
    impl_->owner = this;
    sim_.record = true;
    impl_->testbed = umockdev_testbed_new();
    if (!umockdev_in_mock_environment())
        throw std::runtime_error("not under umockdev: the preload library is not loaded");
    if (!plugged)
        return;
    impl_->handler = umockdev_ioctl_base_new();
    g_signal_connect(impl_->handler, "handle-ioctl", G_CALLBACK(&Impl::OnIoctl), impl_.get());
    GError* error = nullptr;
    if (!umockdev_testbed_attach_ioctl(impl_->testbed, "/dev/bus/usb/001/002", impl_->handler, &error))
        throw std::runtime_error(error ? error->message : "attach_ioctl failed");
    const std::string device = std::string(
        "P: /devices/pci0000:00/0000:00:14.0/usb1/1-1\n"
        "N: bus/usb/001/002\n"
        "E: DEVNAME=/dev/bus/usb/001/002\n"
        "E: DEVTYPE=usb_device\n"
        "E: DRIVER=usb\n"
        "E: BUSNUM=001\n"
        "E: DEVNUM=002\n"
        "E: PRODUCT=16c0/5dc/100\n"
        "E: SUBSYSTEM=usb\n"
        "A: busnum=1\\n\n"
        "A: devnum=2\\n\n"
        "A: speed=12\\n\n"
        "A: idVendor=16c0\\n\n"
        "A: idProduct=05dc\\n\n"
        "A: bConfigurationValue=1\\n\n"
        "A: bNumConfigurations=1\\n\n"
        "H: descriptors=") + kDescriptorsHex + "\n";
    if (!umockdev_testbed_add_from_string(impl_->testbed, device.c_str(), &error))
        throw std::runtime_error(error ? error->message : "add_from_string failed");
}

EmulatedProgrammer::~EmulatedProgrammer()
{
    for (Impl::Pending& p : impl_->pending) {
        umockdev_ioctl_data_unref(p.buffer);
        umockdev_ioctl_data_unref(p.urb);
    }
    if (impl_->handler)
        g_object_unref(impl_->handler);
    g_object_unref(impl_->testbed);
}

void EmulatedProgrammer::FailUrb(uint64_t k, UrbFault fault)
{
    std::lock_guard<std::mutex> lock(mutex_);
    impl_->failAt = k;
    impl_->fault = fault;
}

void EmulatedProgrammer::UnplugAfterUrbs(uint64_t k)
{
    std::lock_guard<std::mutex> lock(mutex_);
    impl_->unplugAfter = k;
}

uint64_t EmulatedProgrammer::urbs() const
{
    return impl_->urbs;
}

std::string EmulatedProgrammer::testbedDir() const
{
    gchar* dir = umockdev_testbed_get_root_dir(impl_->testbed);
    std::string out = dir;
    g_free(dir);
    return out;
}

}  // namespace morsk::test
