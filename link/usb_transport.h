// Finds and opens the programmer (16c0:05dc) and carries every exchange
// with it as one vendor control transfer.
#pragma once

#include <cstdint>
#include <string>

#include "chip_profile.h"
#include "link_state.h"
#include "wire_protocol.h"

namespace morsk {

enum OpenResult : int { kOpenHeld = 0, kOpenNoDevice = 1, kOpenFailed = 2 };

// The data stage's direction; the value is bit 7 of the request type.
enum class TransferDirection : uint8_t { Out = 0, In = 1 };

// Said after the open warning when the user may not open the device.
std::string AccessDeniedHint(const UsbDeviceInfo& device);

class UsbTransport {
public:
    UsbTransport(LinkState& state, const ChipProfile& profile) : state_(state), profile_(profile) {}

    OpenResult OpenLink();
    OpenResult EnsureLinkOpen();
    // setup = wValue lo/hi, wIndex lo/hi.
    int ControlTransfer(TransferDirection direction, uint8_t request, const uint8_t setup[4],
                        uint8_t* data, uint16_t length);
    int Connect();
    int Disconnect();
    int SelectFamilyMode(uint8_t request);
    int EnableProgramming();
    // 0 when exactly 4 bytes came back, -1 otherwise.
    int SpiTransfer(const uint8_t instruction[4], uint8_t reply[4]);

private:
    // A framing request whose answer nobody reads; a failure still goes to
    // the diagnostics, so a user can see why the next step failed.
    void FramingRequest(uint8_t request, const uint8_t setup[4]);
    void Diagnose(const std::string& text) { state_.diagnostics->Write(text); }

    LinkState& state_;
    const ChipProfile& profile_;
};

}  // namespace morsk
