// A programmer (16c0:05dc) on an emulated USB bus: the kernel's usbdevfs
// as libusb-1.0 sees it, provided by umockdev, answered by the firmware and
// chip model of the virtual programmer. The program under test runs its
// unmodified libusb path against it.
//
// Kept free of Qt: umockdev's headers pull in glib, whose "signals" clash
// with Qt's keyword.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "virtual_programmer.h"

namespace morsk::test {

enum class UrbFault { None, Stall, Hang };

class EmulatedProgrammer {
public:
    // A testbed with one programmer on bus 1 (address 2, port 1-1), or
    // with no device at all.
    explicit EmulatedProgrammer(bool plugged = true);
    ~EmulatedProgrammer();
    EmulatedProgrammer(const EmulatedProgrammer&) = delete;
    EmulatedProgrammer& operator=(const EmulatedProgrammer&) = delete;

    // The model behind the device node; lock while touching it.
    VirtualProgrammer& sim() { return sim_; }
    std::mutex& mutex() { return mutex_; }

    // The control URB number k (counting from 1) stalls or never completes
    // (until libusb discards it); or the device goes away after k URBs.
    void FailUrb(uint64_t k, UrbFault fault);
    void UnplugAfterUrbs(uint64_t k);
    uint64_t urbs() const;

    std::string testbedDir() const;

    struct Impl;  // glib side

private:
    std::unique_ptr<Impl> impl_;
    VirtualProgrammer sim_;
    std::mutex mutex_;
};

}  // namespace morsk::test
