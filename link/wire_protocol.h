// The programmer's wire protocol, one vocabulary for the link that speaks
// it and the virtual programmer that answers it: vendor control requests
// with a 4-byte setup block (wValue lo/hi, wIndex lo/hi), the block layout
// of the memory transfers, and the chips' 4-byte serial instructions.
#pragma once

#include <cstdint>

namespace morsk {

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

// bmRequestType of a vendor request to the device; bit 7 set: data in.
inline constexpr uint8_t kVendorOut = 0x40;
inline constexpr uint8_t kVendorIn = 0xC0;
inline constexpr uint8_t kDirectionIn = 0x80;

// Memory moves in blocks of at most this many bytes.
inline constexpr uint16_t kBlockBytes = 200;
// Block writes: setup byte 3 flags the first and the last block.
inline constexpr uint8_t kFirstBlock = 0x01;
inline constexpr uint8_t kLastBlock = 0x02;
// Verify read-backs: setup byte 2 carries the marker, byte 3 the large-chip
// flag beside address bits 16-22.
inline constexpr uint8_t kVerifyMarker = 0x5A;
inline constexpr uint8_t kLargeChipFlag = 0x80;
inline constexpr uint8_t kHighAddressBits = 0x7F;
inline constexpr uint32_t kLargeChipFlash = 131072;

// Serial instructions: the first byte names the instruction.
inline constexpr uint8_t kSpiAtmelErase[4] = {0xAC, 0x80, 0x4F, 0x00};  // AVR and AT89 chip erase
inline constexpr uint8_t kSpiNordicErase[4] = {0x62, 0x01, 0x10, 0x11};
inline constexpr uint8_t kSpiAvrSignature = 0x30;   // 30 00 i 00: signature byte i in reply byte 3
inline constexpr uint8_t kSpiAt89Signature = 0x28;  // 28 i 00 00
// AVR fuse bytes, low, high, extended: read 50 00 / 58 08 / 50 08, write
// AC A0 / AC A8 / AC A4 with the value in byte 3.
inline constexpr uint8_t kSpiFuseRead[3][2] = {{0x50, 0x00}, {0x58, 0x08}, {0x50, 0x08}};
inline constexpr uint8_t kSpiWrite = 0xAC;
inline constexpr uint8_t kSpiFuseWrite[3] = {0xA0, 0xA8, 0xA4};
// AVR lock byte: read 58 00, write AC E0 with the value in byte 3. Lock
// bits are only ever programmed (1 to 0); a chip erase clears them.
inline constexpr uint8_t kSpiLockRead[2] = {0x58, 0x00};
inline constexpr uint8_t kSpiLockWrite = 0xE0;
// LB1 (bit 0) programmed: the memories can no longer be written; LB2 too:
// nor read back.
inline constexpr uint8_t kLockBitLb1 = 0x01;
inline constexpr uint8_t kLockBitLb2 = 0x02;
// The second byte of the erase instruction, masked: 0x80 is chip erase.
inline constexpr uint8_t kSpiEraseMask = 0xE0;

}  // namespace morsk
