#include "virtual_programmer.h"
#include <sstream>
#include <fstream>
#include "wire_protocol.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace morsk {

int VirtualProgrammer::Init()
{
    ++initCalls;
    return initError;
}

int VirtualProgrammer::ScanBuses(std::vector<UsbBus>& buses)
{
    buses.clear();
    if (listError)
        return listError;
    // Bus 1 holds the unrelated devices and then the programmers; bus 2 a
    // further device. A handle held from before is kept only when no
    // programmer shows up on the first bus.
    buses.resize(2);
    uint8_t address = 1;
    for (int i = 0; i < otherDevices; ++i)
        buses[0].push_back({0x1D6B, static_cast<uint16_t>(0x0002 + i), 1000u + static_cast<uint64_t>(i), 1, address++,
                            "1-" + std::to_string(20 + i)});
    if (Present()) {
        // The right vendor with another product is not ours.
        buses[0].push_back({kProgrammerVendorId, 0x05DD, 999, 1, address++, "1-19"});
        for (size_t i = 0; i < programmers.size(); ++i)
            buses[0].push_back({kProgrammerVendorId, kProgrammerProductId, i, 1, address++, PortPath(i)});
    }
    buses[1].push_back({0x046D, 0xC31C, 2000, 2, 1, "2-1"});
    return 0;
}

int VirtualProgrammer::Open(const UsbDeviceInfo& device, UsbHandle* handle)
{
    if (!Present() || device.key >= programmers.size())
        return kUsbErrorNoDevice;
    if (!programmers[device.key])
        return kUsbErrorAccess;
    ++opens;
    *handle = nextHandle_++;
    openHandles_.emplace(*handle, device.key);
    used_.insert(device.key);
    return 0;
}

void VirtualProgrammer::Close(UsbHandle handle)
{
    if (openHandles_.erase(handle))
        ++closes;
}

std::chrono::microseconds VirtualProgrammer::RealTransferTime(uint8_t request, uint16_t length)
{
    // Measured on the hardware: a 200-byte block takes about 50 ms to
    // write and 23 ms to read; a small request about 2 ms.
    using std::chrono::microseconds;
    switch (request) {
    case kRequestWriteFlash:
    case kRequestWriteEeprom: return microseconds(2000 + 240 * length);
    case kRequestReadFlash:
    case kRequestReadEeprom: return microseconds(2000 + 105 * length);
    default: return microseconds(2000);
    }
}

bool VirtualProgrammer::Present() const
{
    return !unplugged_ && !(unplugAfter && transfers >= unplugAfter);
}

void VirtualProgrammer::LookAtSocketFile(size_t programmer)
{
    if (socketFile.empty() || !makeChip)
        return;
    const std::string path = programmer == 0 ? socketFile : socketFile + "." + std::to_string(programmer + 1);
    if (socketFilled_.size() <= programmer)
        socketFilled_.resize(programmer + 1, false);
    std::ifstream in(path, std::ios::binary);
    const bool filled = static_cast<bool>(in);
    if (filled && !socketFilled_[programmer]) {
        std::stringstream text;
        text << in.rdbuf();
        Socket(programmer) = makeChip(text.str());
    } else if (!filled) {
        Socket(programmer).reset();
    }
    socketFilled_[programmer] = filled;
}

std::optional<VirtualChip>& VirtualProgrammer::Socket(size_t i)
{
    if (i == 0)
        return chip;
    if (moreChips_.size() < i)
        moreChips_.resize(i);
    return moreChips_[i - 1];
}

VirtualProgrammer::FirmwareState& VirtualProgrammer::State(size_t programmer)
{
    if (firmware_.size() <= programmer)
        firmware_.resize(programmer + 1);
    return firmware_[programmer];
}

bool VirtualProgrammer::ChipAnswers(size_t programmer)
{
    const std::optional<VirtualChip>& socket = Socket(programmer);
    const FirmwareState& state = State(programmer);
    return socket && state.enabled && !state.chipLockedOut && state.mode == socket->family;
}

int VirtualProgrammer::ControlTransfer(UsbHandle handle, uint8_t requestType, uint8_t request,
                                       uint16_t value, uint16_t index, uint8_t* data,
                                       uint16_t length, unsigned /*timeoutMs*/)
{
    const auto open = openHandles_.find(handle);
    if (open == openHandles_.end() || !Present())
        return kUsbErrorNoDevice;
    const size_t programmer = open->second;
    ++transfers;
    if (record) {
        SetupPacket packet{requestType, request, value, index, length, {}};
        if (recordData && !(requestType & kDirectionIn))
            packet.data.assign(data, data + length);
        packets.push_back(std::move(packet));
    }
    if (realtime)
        std::this_thread::sleep_for(RealTransferTime(request, length));

    int result;
    if (transfers == faultAt && fault == TransferFault::Error) {
        result = kUsbErrorIo;
    } else if (transfers == faultAt && fault == TransferFault::Timeout) {
        result = kUsbErrorTimeout;
    } else if (requestType != kVendorOut && requestType != kVendorIn) {
        result = kUsbErrorPipe;
    } else {
        result = Firmware(programmer, request, value, index, data, length);
        if (transfers == faultAt && fault == TransferFault::Short && result > 0)
            result -= 1;
    }
    return result;
}

int VirtualProgrammer::Firmware(size_t programmer, uint8_t request, uint16_t value, uint16_t index,
                                uint8_t* data, uint16_t length)
{
    FirmwareState& state = State(programmer);
    std::optional<VirtualChip>& chip = Socket(programmer);
    // The framing requests answer four bytes that nobody reads.
    const auto Answer = [data, length] {
        const uint16_t n = std::min<uint16_t>(length, 4);
        std::fill_n(data, n, 0);
        return static_cast<int>(n);
    };
    const uint8_t b2 = static_cast<uint8_t>(index);
    const uint8_t b3 = static_cast<uint8_t>(index >> 8);
    switch (request) {
    case kRequestConnect:  // family in wIndex high byte
        LookAtSocketFile(programmer);
        state.family = b3;
        state.enabled = false;
        return Answer();
    case kRequestDisconnect:
        state.enabled = false;
        return Answer();
    case kRequestModeAvr:
    case kRequestModeAt89:
    case kRequestModeNordic:
        state.mode = request - kRequestModeAvr;
        return Answer();
    case kRequestEnable:  // family in wValue high byte
        if (enableRefused)
            return 0;
        state.enabled = true;
        // New fuses take effect when the chip comes out of reset, which a
        // new programming cycle does.
        state.chipLockedOut = chip && chip->LockedOut();
        return Answer();
    case kRequestSpi: {
        if (length < 4)
            return kUsbErrorPipe;
        const uint8_t in[4] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8), b2, b3};
        if (ChipAnswers(programmer))
            chip->Serial(in, data);
        else
            std::fill_n(data, 4, 0xFF);  // nothing drives the data line
        return 4;
    }
    case kRequestReadFlash:
    case kRequestReadEeprom: {
        // A verify read-back carries the marker in byte 2 and address bits
        // 16-22 beside the large-chip flag in byte 3; a plain read carries
        // bits 16-23 in byte 2.
        const uint32_t address = b2 == kVerifyMarker ? value | (static_cast<uint32_t>(b3 & kHighAddressBits) << 16)
                                            : value | (static_cast<uint32_t>(b2) << 16);
        if (!ChipAnswers(programmer))
            std::fill_n(data, length, 0xFF);
        else if (request == kRequestReadFlash)
            chip->ReadFlash(address, data, length);
        else
            chip->ReadEeprom(address, data, length);
        return length;
    }
    case kRequestWriteFlash:
    case kRequestWriteEeprom: {
        uint32_t& running = request == kRequestWriteFlash ? state.flashRunning : state.eepromRunning;
        if (b3 & kFirstBlock)
            running = value;
        if (ChipAnswers(programmer)) {
            if (request == kRequestWriteFlash)
                chip->WriteFlash(running, data, length);
            else
                chip->WriteEeprom(running, data, length);
        }
        running += length;
        return length;
    }
    default:
        return kUsbErrorPipe;  // the firmware stalls unknown requests
    }
}

}  // namespace morsk
