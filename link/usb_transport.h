// Finds and opens the programmer (16c0:05dc) and carries every exchange
// with it as one vendor control transfer.
#pragma once

#include <cstdint>

#include "chip_profile.h"
#include "link_state.h"

namespace morsk {

inline constexpr uint16_t kProgrammerVendorId = 0x16C0;
inline constexpr uint16_t kProgrammerProductId = 0x05DC;
inline constexpr unsigned kTransferTimeoutMs = 5000;

enum ProgrammerRequest : uint8_t {
    kRequestConnect = 1,
    kRequestDisconnect = 2,
    kRequestSpi = 3,
    kRequestReadFlash = 4,
    kRequestEnable = 5,
    kRequestWriteFlash = 6,
    kRequestReadEeprom = 7,
    kRequestWriteEeprom = 8,
    kRequestModeAvr = 12,
    kRequestModeAt89 = 13,
    kRequestModeNordic = 14,
};

enum OpenResult { kOpenHeld = 0, kOpenNoDevice = 1, kOpenFailed = 2 };

// Said after the open warning, so that a user without access knows why.
inline constexpr char kUdevHint[] =
    "Hint: to use the programmer without root, install the udev rule: "
    "sudo cp 60-morsk-programmer.rules /etc/udev/rules.d/ && "
    "sudo udevadm control --reload-rules, then plug the programmer in again.\n";

class UsbTransport {
public:
    UsbTransport(LinkState& state, const ChipProfile& profile) : state_(state), profile_(profile) {}
    virtual ~UsbTransport() = default;

    int OpenLink();
    int EnsureLinkOpen();
    // direction 0 host-to-device, 1 device-to-host; setup = wValue lo/hi,
    // wIndex lo/hi.
    int ControlTransfer(int direction, uint8_t request, const uint8_t setup[4], uint8_t* data,
                        uint16_t length);
    int Connect();
    int Disconnect();
    int SelectFamilyMode(uint8_t request);
    int EnableProgramming();
    // 0 when exactly 4 bytes came back, -1 otherwise.
    int SpiTransfer(const uint8_t instruction[4], uint8_t reply[4]);

protected:
    LinkState& state_;
    const ChipProfile& profile_;
};

}  // namespace morsk
