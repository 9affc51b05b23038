// The programmer without hardware: an emulation of its firmware behind the
// UsbBackend seam, with a virtual chip in the socket and faults on demand.
#pragma once

#include <chrono>
#include <functional>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "usb_backend.h"
#include "virtual_chip.h"

namespace morsk {

struct SetupPacket {
    uint8_t requestType = 0;
    uint8_t request = 0;
    uint16_t value = 0;
    uint16_t index = 0;
    uint16_t length = 0;
    std::vector<uint8_t> data;  // the data stage of an out request

    uint8_t Setup(int i) const
    {
        const uint16_t word = i < 2 ? value : index;
        return static_cast<uint8_t>(i % 2 ? word >> 8 : word);
    }
};

enum class TransferFault { None, Short, Error, Timeout };

class VirtualProgrammer final : public UsbBackend {
public:
    VirtualProgrammer() = default;

    // --- the world around the programmer -------------------------------
    // Matching devices on the bus, in scan order; false = cannot be opened.
    // Empty means no programmer is plugged in. Programmer i sits on bus 1
    // at port path PortPath(i).
    std::vector<bool> programmers = {true};
    // Unrelated devices that sit on the bus before the programmer.
    int otherDevices = 2;

    // The chip in the socket of programmer 0; nullopt is an empty socket.
    std::optional<VirtualChip> chip;
    // The socket of programmer i (0 is `chip`); each programmer has its own.
    std::optional<VirtualChip>& Socket(size_t i);
    static std::string PortPath(size_t i) { return "1-" + std::to_string(i + 1); }
    // A socket that a person or a script fills while the program runs:
    // while `socketFile` exists programmer 0 holds a chip (programmer i
    // looks at socketFile + "." + (i + 1)), and each time the file appears a
    // new chip goes in, made by `makeChip` from the file's text. Looked at
    // at the start of every programming cycle.
    std::string socketFile;
    std::function<std::optional<VirtualChip>(const std::string& text)> makeChip;
    // Whether programmer i was ever opened.
    bool Used(size_t i) const { return used_.count(i) != 0; }

    // --- faults --------------------------------------------------------
    // Library errors for initialisation and for listing the devices.
    int initError = 0;
    int listError = 0;
    // Transfer number `faultAt` (counting from 1) fails in the given way.
    uint64_t faultAt = 0;
    TransferFault fault = TransferFault::None;
    // After this many transfers the programmer is pulled out (0: never).
    uint64_t unplugAfter = 0;
    void Unplug() { unplugged_ = true; }
    // Request 5 answers with no bytes (the programmer refuses to enable).
    bool enableRefused = false;

    // --- what happened -------------------------------------------------
    // Recorded only when asked for, so that a long demonstration does not
    // grow without bound.
    std::vector<SetupPacket> packets;
    bool record = false;
    bool recordData = true;  // with record: keep the data stage of out requests

    uint64_t transfers = 0;
    int opens = 0;
    int closes = 0;
    int initCalls = 0;
    size_t OpenHandles() const { return openHandles_.size(); }
    // The firmware state of programmer 0.
    bool enabled() const { return firmware_.empty() ? false : firmware_[0].enabled; }
    int family() const { return firmware_.empty() ? -1 : firmware_[0].family; }

    // --- timing --------------------------------------------------------
    // Take as long per transfer as the real programmer does.
    bool realtime = false;
    static std::chrono::microseconds RealTransferTime(uint8_t request, uint16_t length);

    // --- UsbBackend ----------------------------------------------------
    int Init() override;
    int ScanBuses(std::vector<UsbBus>& buses) override;
    int Open(const UsbDeviceInfo& device, UsbHandle* handle) override;
    void Close(UsbHandle handle) override;
    int ControlTransfer(UsbHandle handle, uint8_t requestType, uint8_t request, uint16_t value,
                        uint16_t index, uint8_t* data, uint16_t length, unsigned timeoutMs) override;

private:
    struct FirmwareState {
        int family = -1;  // from connect
        int mode = -1;    // from request 12, 13 or 14
        bool enabled = false;
        // The chip's fuses cut it off when this cycle was enabled.
        bool chipLockedOut = false;
        uint32_t flashRunning = 0;
        uint32_t eepromRunning = 0;
    };
    int Firmware(size_t programmer, uint8_t request, uint16_t value, uint16_t index, uint8_t* data,
                 uint16_t length);
    bool ChipAnswers(size_t programmer);
    void LookAtSocketFile(size_t programmer);
    std::vector<bool> socketFilled_;
    bool Present() const;
    FirmwareState& State(size_t programmer);

    bool unplugged_ = false;
    std::map<UsbHandle, size_t> openHandles_;  // handle -> programmer
    std::set<size_t> used_;
    UsbHandle nextHandle_ = 1;
    std::vector<FirmwareState> firmware_;
    std::vector<std::optional<VirtualChip>> moreChips_;
};

}  // namespace morsk
