// The chip-level commands: programming cycle, erase, signature, fuses and
// the block transfers of flash and EEPROM.
//
// Addresses on the wire. Below 64 KiB every request carries the byte
// offset in setup bytes 0 (bits 0-7) and 1 (bits 8-15) and nothing else of
// the address. Above 64 KiB:
//   - block writes (6, 8): bytes 0-1 carry the low 16 bits only. The
//     firmware keeps a running address: the first-block flag (bit 0 of
//     byte 3) sets it to the offset in bytes 0-1, every block advances it by
//     its length, so a whole transfer lands contiguously however long it is;
//   - block reads (4, 7 with byte 2 != 0x5A): byte 2 carries bits 16-23;
//   - verify read-backs (4, 7 with byte 2 == 0x5A): byte 3 carries bits
//     16-22 in its low seven bits beside the large-chip flag 0x80.
// sim/ implements exactly this contract.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "usb_transport.h"

namespace morsk {

enum class MemoryKind { Flash, Eeprom };

enum FuseSelector : int { kFuseLow = 0, kFuseHigh = 1, kFuseExt = 2 };
inline constexpr FuseSelector kFuseSelectors[] = {kFuseLow, kFuseHigh, kFuseExt};

// "读取错误器件ID:1E 94 03": another chip answered with this signature.
std::string WrongChipLine(const uint8_t signature[3]);
// "器件ID:1E 93 07": the signature read.
std::string ChipIdLine(const uint8_t signature[3]);

class ProgrammerLink {
public:
    ProgrammerLink(LinkState& state, const ChipProfile& profile)
        : transport_(state, profile), state_(state), profile_(profile)
    {
    }

    UsbTransport& transport() { return transport_; }
    LinkState& state() { return state_; }

    int IsLinkAvailable();
    int EnterProgramming();
    int LeaveProgramming();
    int EraseChip();
    int ReadSignature(uint8_t signature[3]);
    // A failed transfer, or an AVR that does not echo the instruction,
    // leaves `value` as it was and returns 0.
    int ReadFuse(FuseSelector selector, uint8_t& value);
    int WriteFuse(FuseSelector selector, uint8_t& value);
    // The AVR lock byte; 0 for other families and failed transfers.
    int ReadLock(uint8_t& value);
    int WriteLock(uint8_t value);
    // Writes the whole span from chip address 0 as one transfer.
    int WriteMemory(MemoryKind kind, std::span<const uint8_t> source, uint32_t pageSize);
    // Fills the whole span from chip address 0.
    int ReadMemory(MemoryKind kind, std::span<uint8_t> destination);
    // 0 when the chip matches the image, 1 on a mismatch or a failed read.
    int CompareMemory(MemoryKind kind, std::span<const uint8_t> image, uint32_t compareBlock,
                      bool largeChip);

private:
    void SetProgress(int percent);
    // At a block boundary: true (and the link state says so) when the user
    // asked to stop.
    bool StopForCancel();
    bool Echoed(const uint8_t sent[4], const uint8_t reply[4]) const;
    // Sends one instruction; false when the transfer failed or an AVR did
    // not echo it. `reply` gets the four bytes that came back.
    bool Instruction(const uint8_t sent[4], uint8_t reply[4]);
    void Wait(unsigned ms);
    int ReadBack(uint8_t request, uint32_t offset, uint32_t length, uint8_t largeChipFlag,
                 std::span<uint8_t> scratch);
    int RangeCompare(uint8_t request, std::span<const uint8_t> image, std::span<uint8_t> scratch,
                     uint32_t block, uint8_t largeChipFlag);

    UsbTransport transport_;
    LinkState& state_;
    const ChipProfile& profile_;
};

}  // namespace morsk
